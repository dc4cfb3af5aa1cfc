#!/usr/bin/env bash
# The Wine tests' session, as CTest fixtures: one Xvfb display for all the cases (tools/wine-test.sh runs them on
# it) with a tray that is never empty, and at the end no program of theirs left running, whatever became of them.
#   tools/wine-session.sh start KEEPER  starts Xvfb on a free display (its number and PID go to build/wine-session)
#                                       and, on it, the Windows program KEEPER, which keeps an icon in Wine's tray
#   tools/wine-session.sh end           ends every program of the test prefixes with their Wine servers, and Xvfb
# With ZELMORA_WINE=10, Wine 10's session (tools/wine-run.sh): a display, prefix and file of its own
# (build/wine-session-wine10), so that both sessions may run at once.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
session="$root/build/wine-session${ZELMORA_WINE:+-wine$ZELMORA_WINE}"
prefix="$root/build/wineprefix${ZELMORA_WINE:+-wine$ZELMORA_WINE}"  # as tools/wine-run.sh names it

stop_xvfb() {
    local number pid
    [ -f "$session" ] || return 0
    read -r number pid <"$session" || true
    [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true
    rm -f "$session"
}

case "${1:-}" in
start)
    stop_xvfb
    # Wine starts what the Startup folders hold as a session begins: a shortcut a case left would start a copy of
    # the program behind the cases' backs.
    find "$prefix/drive_c/users" -name Zelmora.lnk -delete 2>/dev/null || true
    ready=$(mktemp -u "${TMPDIR:-/tmp}/wine-session.XXXXXX")
    mkfifo "$ready"
    setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$ready" </dev/null >/dev/null 2>&1 &
    pid=$!
    number=""
    read -r number <"$ready" || true
    rm -f "$ready"
    [ -n "$number" ] || { echo "wine-session: Xvfb did not start" >&2; exit 1; }
    echo "$number $pid" >"$session"
    echo "wine-session: display :$number"
    # The prefixes are made here, where no case's time limit runs (half a minute or more under qemu): root's, and
    # under Wine 8 the unprivileged user's that the permission cases run in.
    DISPLAY=":$number" "$root/tools/wine-run.sh" --prepare
    if [ -z "${ZELMORA_WINE:-}" ]; then
        DISPLAY=":$number" "$root/tools/as-unprivileged.sh" "$root/tools/wine-run.sh" --prepare
    fi
    DISPLAY=":$number" setsid "$root/tools/wine-run.sh" "$2" </dev/null >/dev/null 2>&1 &
    for _ in $(seq 600); do
        # Explorer's tray: "Wine System Tray" under Wine 8, nameless under Wine 10.
        DISPLAY=":$number" xdotool search --onlyvisible --classname explorer.exe >/dev/null 2>&1 && exit 0
        sleep 0.1
    done
    echo "wine-session: no tray icon from $2" >&2
    exit 1
    ;;
end)
    if [ "${ZELMORA_WINE:-}" = 10 ]; then
        WINEPREFIX="$prefix" "$root/tools/wine10.sh" --within wineserver -k 2>/dev/null || true
    else
        WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
        if id -u zelmora-e2e >/dev/null 2>&1 && [ -d "$root/build/wineprefix-zelmora-e2e" ]; then
            "$root/tools/as-unprivileged.sh" wineserver -k 2>/dev/null || true
        fi
    fi
    stop_xvfb
    ;;
*)
    echo "usage: $0 start|end" >&2
    exit 2
    ;;
esac
