#!/usr/bin/env bash
# Zelmora.exe as shipped: at most 200 KB, and no time stamp in its header, so that the same source gives the
# same bytes.
set -euo pipefail

exe="$1"
limit=$((200 * 1024))
size=$(stat -c %s "$exe")
stamp=$(i686-w64-mingw32-objdump -p "$exe" | awk -F'\t+' '/^Time\/Date/ {print $2}')
status=0
if [ "$size" -gt "$limit" ]; then
    echo "$(basename "$exe"): $size bytes, more than $limit" >&2
    status=1
fi
if [ "$stamp" != "Thu Jan  1 00:00:00 1970" ]; then
    echo "$(basename "$exe"): time stamp $stamp in the header" >&2
    status=1
fi
[ "$status" -eq 0 ] && echo "$(basename "$exe"): $size bytes, no time stamp"
exit "$status"
