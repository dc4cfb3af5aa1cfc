#!/usr/bin/env bash
# Times the start-up of Zelmora.exe against an empty window under Wine on a private display, then measuring
# and deleting a picture cache: ours against du and rm, and the Win32 provider against Wine's cmd dir and rd. Needs
# both builds (`make bench` makes them first). The last line printed holds the measure-then-delete ratios.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
native="$root/build/native/bench/zelmora_bench"
win32="$root/build/win32-tests/bench/zelmora_bench_win32.exe"
for program in "$native" "$win32"; do
    if [ ! -f "$program" ]; then
        echo "bench: $program is missing; build both presets first (make bench does)" >&2
        exit 1
    fi
done

# Inside the build folder, which Wine sees through its Z: drive.
work=$(mktemp -d "$root/build/bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
(
    cd "$root/build/win32"
    "$root/tools/with-xvfb.sh" "$root/tools/wine-run.sh" bench/zelmora_startup_bench.exe "Z:$PWD/Zelmora.exe" \
        "Z:$PWD/bench/floor_window.exe" "Z:$PWD/bench/startup_steps.exe" 2>/dev/null
)
echo
"$native" "$work" "$root/tools/wine-run.sh" "$win32"
