#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine. Idempotent: quick when all is present.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

packages=(cmake g++ make googletest libbenchmark-dev
          mingw-w64 g++-mingw-w64-i686-posix
          wine wine32:i386 wine32-preloader:i386 wine64 wine64-preloader
          xvfb xdotool x11-utils imagemagick fonts-wqy-zenhei fonts-arphic-uming fonts-wine liblnk-utils strace
          clang locales)

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

updated=""
install_missing() {
    local missing=()
    for p in "$@"; do
        installed "$p" || missing+=("$p")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "setup: installing ${missing[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $SUDO dpkg --add-architecture i386
    fi
    [ -n "$updated" ] || $SUDO apt-get update -qq
    updated=1
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

install_missing "${packages[@]}"
# libFuzzer's runtime, of the installed clang's version.
install_missing "libclang-rt-$(clang -dumpversion | cut -d. -f1)-dev"

# Wine takes its ANSI code page from the locale: the Simplified Chinese one gives code page 936.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf8$'; then
    $SUDO sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
    $SUDO locale-gen >/dev/null
fi

# Wine runs 32-bit programs through a 32-bit Linux loader. Where the kernel runs none, qemu's user-mode emulator
# runs that loader instead (see qemu-loader.sh for which qemu).
"$root/tools/qemu-loader.sh" ensure
