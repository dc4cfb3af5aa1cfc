#!/usr/bin/env bash
# Wine's 32-bit loader run by qemu's user-mode emulator, for kernels that run no 32-bit programs.
#   tools/qemu-loader.sh ensure   register it where needed: no 32-bit programs, or another interpreter registered
#   tools/qemu-loader.sh on       register it anyway, to try the emulated path on a machine that needs none
#   tools/qemu-loader.sh off      remove the entry
#
# Which qemu: Debian 12's qemu-i386 (7.2) keeps one descriptor table for all the threads of a process. A new
# thread's TLS entry overwrites the others', and a signal's return reloads them from it, so a Wine process that has
# ended a thread finds no TEB in its next signal handler and dies ("uncaught target signal 11"). Debian 13's (10.0)
# gives each thread its own entries. Its static binary is fetched with apt into tools/qemu, from the machine's own
# Debian mirror, without touching the machine's package sources.
#
# Without Wine's preloader: qemu reserves a program's whole image span, and the preloader's runs from 0x08048000
# to 0x7d405000. That leaves a 32-bit Wine process about 20 MB for Linux's own mappings, too little to map a CJK
# font, and every Chinese text draws as boxes. So the registered interpreter is a script that runs the Wine loader
# itself where the preloader is asked for (WINELOADERNOEXEC keeps the loader from asking again).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
dir="$root/tools/qemu"
qemu="$dir/qemu-i386"
interpreter="$dir/qemu-i386-wine"
binfmt=/proc/sys/fs/binfmt_misc
entry="$binfmt/qemu-i386"
as_root=()
if [ "$(id -u)" -ne 0 ]; then as_root=(sudo); fi

fetch() {
    [ -x "$qemu" ] && return
    rm -rf "$dir"
    mkdir -p "$dir"
    "$root/tools/trixie-apt.sh" "$dir/apt" amd64 update
    (cd "$dir" && "$root/tools/trixie-apt.sh" "$dir/apt" amd64 download qemu-user)
    dpkg-deb --fsys-tarfile "$dir"/qemu-user_*.deb | tar -x -C "$dir" ./usr/bin/qemu-i386
    mv "$dir/usr/bin/qemu-i386" "$qemu"
    rm -rf "$dir/usr" "$dir"/qemu-user_*.deb "$dir/apt"
}

write_interpreter() {
    cat >"$interpreter.new" <<EOF
#!/bin/sh
# binfmt_misc's interpreter for i386 programs (tools/qemu-loader.sh): qemu, and the Wine loader for its preloader.
case "\$1" in
*/wine-preloader) shift; export WINELOADERNOEXEC=1 ;;
esac
exec "$qemu" "\$@"
EOF
    chmod 755 "$interpreter.new"
    mv "$interpreter.new" "$interpreter"
}

registered() {
    [ -e "$entry" ] && awk '$1 == "interpreter" {print $2}' "$entry"
}

register() {
    fetch
    write_interpreter
    [ -e "$binfmt/register" ] || "${as_root[@]}" mount -t binfmt_misc binfmt_misc "$binfmt"
    [ -e "$entry" ] && echo -1 | "${as_root[@]}" tee "$entry" >/dev/null
    # An i386 ELF program or shared object, its path passed to the interpreter.
    local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    echo ":qemu-i386:M::$magic:$mask:$interpreter:F" | "${as_root[@]}" tee "$binfmt/register" >/dev/null
    echo "qemu-loader: 32-bit programs run through $("$qemu" --version | head -n 1)"
}

case "${1:-}" in
ensure)
    current=$(registered || true)
    if [ -n "$current" ] && { [ "$current" != "$interpreter" ] || [ ! -x "$qemu" ]; }; then
        register
    elif [ -z "$current" ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
        register
    fi
    ;;
on) register ;;
off) if [ -e "$entry" ]; then echo -1 | "${as_root[@]}" tee "$entry" >/dev/null; fi ;;
*)
    echo "usage: $0 ensure|on|off" >&2
    exit 2
    ;;
esac
