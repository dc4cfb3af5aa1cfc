#!/usr/bin/env bash
# Runs a Windows test program under Wine on the Wine session's display (tools/wine-session.sh; Wine 10's with
# ZELMORA_WINE=10), or without one where no session runs (listing its cases needs none). With
# ZELMORA_UNPRIVILEGED=1 it runs as the unprivileged user (tools/as-unprivileged.sh). CTest's emulator for the
# end-to-end cases.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
session="$root/build/wine-session${ZELMORA_WINE:+-wine$ZELMORA_WINE}"
if [ -f "$session" ]; then
    read -r number pid <"$session"
    if kill -0 "$pid" 2>/dev/null; then export DISPLAY=":$number"; fi
fi
if [ "${ZELMORA_UNPRIVILEGED:-}" = 1 ]; then
    exec "$root/tools/as-unprivileged.sh" "$root/tools/wine-run.sh" "$@"
fi
exec "$root/tools/wine-run.sh" "$@"
