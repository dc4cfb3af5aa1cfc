#!/usr/bin/env bash
# Soak: CYCLES (1000 by default) cleaning cycles of the built Zelmora.exe under Wine on a private display,
# pictures arriving in its cache and one held open for stretches, with the figures of its process as they go
# and their growth. Needs both Windows builds (`make soak` makes them first).
#   tools/soak.sh [CYCLES]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/builds.sh"
soak="$tests_build/bench/zelmora_soak.exe"
require_built soak "$product" "$soak"

ZELMORA_EXE="Z:$product" "$root/tools/with-xvfb.sh" "$root/tools/wine-run.sh" "$soak" "${1:-1000}"
