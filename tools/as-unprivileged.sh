#!/usr/bin/env bash
# Runs a command as the unprivileged user zelmora-e2e (made when missing), with a Wine prefix of its own under
# build/ and on the same display: Wine run as root ignores file permissions, this user meets them as a standard
# Windows user does.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
user=zelmora-e2e
as_root=()
if [ "$(id -u)" -ne 0 ]; then as_root=(sudo); fi

if ! id -u "$user" >/dev/null 2>&1; then
    "${as_root[@]}" useradd --create-home --shell /usr/sbin/nologin "$user"
fi
home=$(getent passwd "$user" | cut -d: -f6)
prefix="$root/build/wineprefix-$user"
"${as_root[@]}" mkdir -p "$prefix"
"${as_root[@]}" chown "$user:" "$prefix"

exec "${as_root[@]}" runuser -u "$user" -- env -i PATH="$PATH" HOME="$home" USER="$user" LOGNAME="$user" \
    DISPLAY="${DISPLAY:-}" WINEPREFIX="$prefix" ZELMORA_EXE="${ZELMORA_EXE:-}" "$@"
