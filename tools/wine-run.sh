#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's private prefix, made once and reused. With --prepare it only
# makes the prefix. With ZELMORA_WINE=10, under Wine 10 (tools/wine10.sh), in a prefix of its own.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
if [ "${ZELMORA_WINE:-}" = 10 ] && [ -z "${ZELMORA_WITHIN_WINE10:-}" ]; then
    export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix-wine$ZELMORA_WINE}"
    exec "$root/tools/wine10.sh" --within "$0" "$@"
fi
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No installer prompts; no debugger on a crash (it would wait forever): the crashed process just ends.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}"
export LC_ALL=zh_CN.UTF-8

mkdir -p "$WINEPREFIX"
exec 9>"$WINEPREFIX/.lock"
flock 9
# Named after this script's content: a prefix made by another version of it is set up again.
ready="$WINEPREFIX/.zelmora-ready-$(sha256sum "$0" | cut -c1-16)"
if [ ! -f "$ready" ]; then
    rm -f "$WINEPREFIX"/.zelmora-ready-*
    wine wineboot --init >/dev/null 2>&1
    # Profiles laid out as Windows lays them out: the old names are links into the real folders, so the old fixed
    # paths lead into the user's own profile, whose folder Wine names after the Unix user.
    drive="$WINEPREFIX/drive_c"
    if [ ! -L "$drive/Documents and Settings" ]; then
        rm -rf "$drive/Documents and Settings"
        ln -s users "$drive/Documents and Settings"
    fi
    ln -sfn AppData/Roaming "$drive/users/$(id -un)/Application Data"
    # No crash dialog. The Windows font names map to installed CJK fonts so Chinese text renders as it would
    # on Windows: 宋体 to a Song face drawn from outlines at every size, the dialog faces to a sans one.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    for face in 宋体 SimSun; do
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "AR PL UMing CN" /f >/dev/null 2>&1
    done
    for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft YaHei UI"; do
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "WenQuanYi Zen Hei" /f >/dev/null 2>&1
    done
    # The glyphs of the title bar's buttons; and Zelmora's frame drawn by Wine, as Windows draws it, also where
    # no window manager runs. Wine's own windows (its tray) keep theirs.
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    wine reg add 'HKCU\Software\Wine\AppDefaults\Zelmora.exe\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    # The end-to-end programs' own windows are Wine's too: no window manager runs on the tests' display, and Wine
    # waits two seconds for one each time a window it lets one manage is hidden.
    for program in zelmora_e2e.exe zelmora_e2e_unprivileged.exe; do
        wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$program\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
    done
    wineserver -w
    touch "$ready"
fi
flock -u 9
exec 9>&-

[ "${1:-}" = --prepare ] && exit 0
exec wine "$@"
