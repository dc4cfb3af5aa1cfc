#!/usr/bin/env bash
# Zelmora.exe as shipped: at most 210 KB, and no time stamp in its header, so that the same source gives the
# same bytes.
set -euo pipefail

exe="$1"
limit=$((210 * 1024))
size=$(stat -c %s "$exe")
# The COFF header's TimeDateStamp: 8 bytes past the "PE\0\0" signature, whose offset is at 0x3c.
field() { od -An -t u4 -j "$1" -N 4 "$exe" | tr -d ' '; }
stamp=$(field $(($(field 60) + 8)))
status=0
if [ "$size" -gt "$limit" ]; then
    echo "$(basename "$exe"): $size bytes, more than $limit" >&2
    status=1
fi
if [ "$stamp" != 0 ]; then
    echo "$(basename "$exe"): time stamp $stamp ($(date -u -d "@$stamp")) in the header" >&2
    status=1
fi
[ "$status" -eq 0 ] && echo "$(basename "$exe"): $size bytes, no time stamp"
exit "$status"
