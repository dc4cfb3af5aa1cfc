#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's private prefix, made once and reused.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No installer prompts; no debugger on a crash (it would wait forever): the crashed process just ends.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}"
export LC_ALL=zh_CN.UTF-8

mkdir -p "$WINEPREFIX"
exec 9>"$WINEPREFIX/.lock"
flock 9
if [ ! -f "$WINEPREFIX/.zelmora-ready" ]; then
    wine wineboot --init >/dev/null 2>&1
    # No crash dialog; the Windows font names map to an installed CJK font so Chinese text renders.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    for face in 宋体 SimSun Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft YaHei UI"; do
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "WenQuanYi Zen Hei" /f >/dev/null 2>&1
    done
    wineserver -w
    touch "$WINEPREFIX/.zelmora-ready"
fi
flock -u 9
exec 9>&-

exec wine "$@"
