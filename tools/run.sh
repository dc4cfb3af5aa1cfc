#!/usr/bin/env bash
# Starts Zelmora.exe under Wine from a program folder in the build tree, so its Config.ini lands there.
# Without a display it starts a private Xvfb, saves a screenshot after a few seconds and runs until Ctrl+C.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/builds.sh"
require_built run "$product"
folder="$root/build/run"
mkdir -p "$folder"
cp "$product" "$folder/Zelmora.exe"

if [ -z "${ZELMORA_UNDER_XVFB:-}" ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec "$root/tools/wine-run.sh" "$folder/Zelmora.exe"
fi

if [ -z "${ZELMORA_UNDER_XVFB:-}" ]; then
    ZELMORA_UNDER_XVFB=1 exec "$root/tools/with-xvfb.sh" "$0"
fi

"$root/tools/wine-run.sh" "$folder/Zelmora.exe" &
program=$!
trap 'kill "$program" 2>/dev/null; WINEPREFIX="$root/build/wineprefix" wineserver -k 2>/dev/null || true' INT TERM
sleep 12
# Wine's tray window opens where Zelmora's does: it goes to the corner, where a taskbar would show it.
for tray in $(xdotool search --name 'Wine System Tray' 2>/dev/null); do xdotool windowmove "$tray" 900 700; done
sleep 1
import -window root -crop 500x250+0+0 "$folder/zelmora.png"
echo "Zelmora is running on a private display ($DISPLAY); screenshot: $folder/zelmora.png (Ctrl+C ends it)"
wait "$program" || true
