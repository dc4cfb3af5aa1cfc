#!/usr/bin/env bash
# Wine 10, Debian 13's, beside the machine's Wine 8. Windows 10 and 11 delete with POSIX semantics
# (FileDispositionInformationEx), which Wine 8 refuses and Wine 10 implements, so the cleaning is tested under both.
#   tools/wine10.sh PROGRAM ARGUMENTS...  runs a Windows program under Wine 10 as wine does, in $WINEPREFIX, on $DISPLAY
#   tools/wine10.sh --within COMMAND...   runs a Linux command that finds Wine 10 where the machine's Wine is
#   tools/wine10.sh --fetch               only fetches Wine 10
#
# Wine 10's i386 packages, with all they depend on, come from Debian 13 on the machine's own mirror (trixie-apt.sh)
# and are unpacked once into build/wine10/root; later runs reuse it. A command runs in a mount namespace of its own
# in which that tree's /usr/lib/i386-linux-gnu, /usr/lib/wine and /usr/share/wine lie over the machine's: every
# 32-bit library and every Wine file is then Wine 10's, at the paths Debian's Wine expects, and every Linux program
# is still the machine's. (Debian's wineserver script runs /usr/lib/wine/wineserver64 by that path: beside the
# machine's own Wine it would start Wine 8's server, which refuses Wine 10's programs.)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
dir="$root/build/wine10"
tree="$dir/root"
packages=(wine32 wine32-preloader fonts-wine)
overlaid=(/usr/lib/i386-linux-gnu /usr/lib/wine /usr/share/wine)

fetch() {
    [ -d "$tree" ] && return
    mkdir -p "$dir"
    exec 9>"$dir/.lock"
    flock 9
    [ -d "$tree" ] && return
    rm -rf "$dir/apt" "$tree.new"
    "$root/tools/trixie-apt.sh" "$dir/apt" i386 update
    "$root/tools/trixie-apt.sh" "$dir/apt" i386 install --download-only -y --no-install-recommends "${packages[@]}"
    mkdir "$tree.new"
    for deb in "$dir"/apt/archives/*.deb; do
        dpkg-deb -x "$deb" "$tree.new"
    done
    # As libwine's install script does: MinGW's zlib, marked as a Wine builtin DLL, among Wine's DLLs.
    local zlib="$tree.new/usr/i686-w64-mingw32/lib/zlib1.dll"
    { head -c 64 "$zlib"; printf 'Wine builtin DLL'; head -c 16 /dev/zero; tail -c +97 "$zlib"; } \
        >"$tree.new/usr/lib/i386-linux-gnu/wine/i386-windows/zlib1.dll"
    rm -rf "$dir/apt"
    mv "$tree.new" "$tree"
    echo "wine10: $(du -sh "$tree" | cut -f1) unpacked into $tree"
}

# The mounts need root; another user becomes root of a user namespace of its own, and owns its files there.
within() {
    local as_root=()
    if [ "$(id -u)" -ne 0 ]; then as_root=(--user --map-root-user); fi
    exec unshare "${as_root[@]}" --mount --propagation private -- "$0" --mounted "$@"
}

case "${1:-}" in
--fetch) fetch ;;
--mounted)
    shift
    for folder in "${overlaid[@]}"; do
        mount --bind "$tree$folder" "$folder"
    done
    export ZELMORA_WITHIN_WINE10=1
    exec "$@"
    ;;
--within)
    shift
    fetch
    within "$@"
    ;;
"")
    echo "usage: $0 PROGRAM ARGUMENTS... | --within COMMAND... | --fetch" >&2
    exit 2
    ;;
*)
    fetch
    within wine "$@"
    ;;
esac
