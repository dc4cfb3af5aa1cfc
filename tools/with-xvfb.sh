#!/usr/bin/env bash
# Runs a command on a private Xvfb display, started on a free display number and stopped by its PID.
set -euo pipefail

display=""
for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "with-xvfb: no free display" >&2; exit 1; }

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() { kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; }
trap cleanup EXIT

export DISPLAY="$display"
for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
xdpyinfo >/dev/null 2>&1 || { echo "with-xvfb: Xvfb did not answer on $display" >&2; exit 1; }

"$@"
