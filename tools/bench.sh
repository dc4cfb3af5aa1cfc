#!/usr/bin/env bash
# Times the start-up of Zelmora.exe against an empty window under Wine on a private display, a cycle over 100,000
# pictures while another program sends the window messages, a save of the totals whole and in place, then
# measuring and deleting a picture cache: ours
# against du and rm, and the Win32 provider against Wine's cmd dir and rd. Needs both builds (`make bench` makes
# them first). The last line printed holds the measure-then-delete ratios.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/builds.sh"
native="$native_build/bench/zelmora_bench"
win32="$tests_build/bench/zelmora_bench_win32.exe"
cycle="$tests_build/bench/zelmora_cycle_bench.exe"
settings="$tests_build/bench/zelmora_settings_bench.exe"
require_built bench "$native" "$win32" "$cycle" "$settings" "$product"

# Inside the build folder, which Wine sees through its Z: drive.
work=$(mktemp -d "$root/build/bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
(
    cd "$product_build"
    "$root/tools/with-xvfb.sh" "$root/tools/wine-run.sh" bench/zelmora_startup_bench.exe "Z:$PWD/Zelmora.exe" \
        "Z:$PWD/bench/floor_window.exe" "Z:$PWD/bench/startup_steps.exe" 2>/dev/null
)
echo
ZELMORA_EXE="Z:$product" "$root/tools/with-xvfb.sh" "$root/tools/wine-run.sh" "$cycle"
echo
"$root/tools/wine-run.sh" "$settings" "Z:$work" 200
echo
"$native" "$work" "$root/tools/wine-run.sh" "$win32"
