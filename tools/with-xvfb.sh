#!/usr/bin/env bash
# Runs a command on a private Xvfb display. Xvfb picks a free display number itself and names it once it
# answers; it is stopped by its PID however the command ends.
set -euo pipefail

ready=$(mktemp -u "${TMPDIR:-/tmp}/with-xvfb.XXXXXX")
mkfifo "$ready"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
xvfb=$!
cleanup() { kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; rm -f "$ready"; }
trap cleanup EXIT
trap 'exit 130' INT TERM

number=""
read -r number <"$ready" || true
[ -n "$number" ] || { echo "with-xvfb: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$number"
"$@"
