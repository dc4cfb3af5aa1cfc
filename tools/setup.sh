#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine. Idempotent: quick when all is present.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

packages=(cmake g++ make googletest libbenchmark-dev
          mingw-w64 g++-mingw-w64-i686-posix
          wine wine32:i386 wine32-preloader:i386 wine64 wine64-preloader
          xvfb xdotool x11-utils imagemagick fonts-wqy-zenhei fonts-arphic-uming fonts-wine liblnk-utils
          clang libclang-rt-14-dev qemu-user-static locales)

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

missing=()
for p in "${packages[@]}"; do
    installed "$p" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $SUDO dpkg --add-architecture i386
    fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes its ANSI code page from the locale: the Simplified Chinese one gives code page 936.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf8$'; then
    $SUDO sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
    $SUDO locale-gen >/dev/null
fi

# Wine runs 32-bit programs through a 32-bit Linux loader. Where the kernel has 32-bit emulation switched
# off, let qemu's user-mode emulator run that loader instead.
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    binfmt=/proc/sys/fs/binfmt_misc
    [ -e "$binfmt/register" ] || $SUDO mount -t binfmt_misc binfmt_misc "$binfmt"
    if [ ! -e "$binfmt/qemu-i386" ]; then
        magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
        mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
        echo ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386-static:OCF" | $SUDO tee "$binfmt/register" >/dev/null
    fi
    /usr/lib/wine/wine --version >/dev/null
    echo "setup: 32-bit programs run through qemu-i386"
fi
