#!/usr/bin/env bash
# Runs a program that drives the built Zelmora.exe under Wine on a private display and prints its figures: the soak
# (cleaning cycles by the thousand, pictures arriving and one held open) or the stress (one cycle over a very deep
# tree). Needs both Windows builds (`make soak` and `make stress` make them first).
#   tools/drive.sh soak [CYCLES]      tools/drive.sh stress [LEVELS]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/builds.sh"
name=$1
shift
driver="$tests_build/bench/zelmora_$name.exe"
require_built "$name" "$product" "$driver"

ZELMORA_EXE="Z:$product" "$root/tools/with-xvfb.sh" "$root/tools/wine-run.sh" "$driver" "$@"
