#!/usr/bin/env bash
# Soak: CYCLES (1000 by default) cleaning cycles of build/win32/Zelmora.exe under Wine on a private display,
# pictures arriving in its cache and one held open for stretches, with the figures of its process as they go
# and their growth. Needs both Windows builds (`make soak` makes them first).
#   tools/soak.sh [CYCLES]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
program="$root/build/win32/Zelmora.exe"
soak="$root/build/win32-tests/bench/zelmora_soak.exe"
for file in "$program" "$soak"; do
    if [ ! -f "$file" ]; then
        echo "soak: $file is missing; build both Windows presets first (make soak does)" >&2
        exit 1
    fi
done

ZELMORA_EXE="Z:$program" "$root/tools/with-xvfb.sh" "$root/tools/wine-run.sh" "$soak" "${1:-1000}"
