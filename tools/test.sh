#!/usr/bin/env bash
# make test: every stage in turn, then the time each took. A stage that fails ends the run, after the times.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
make=(make --no-print-directory)
stages=()
seconds=()

report() {
    local total=0
    echo
    echo "Stage times:"
    for i in "${!stages[@]}"; do
        printf '  %-16s %5d s\n' "${stages[$i]}" "${seconds[$i]}"
        total=$((total + seconds[i]))
    done
    printf '  %-16s %5d s\n' total "$total"
}

stage() {
    local name=$1 start=$SECONDS status=0
    shift
    "$@" || status=$?
    stages+=("$name")
    seconds+=($((SECONDS - start)))
    if [ "$status" -ne 0 ]; then
        report
        echo "make test: the stage \"$name\" failed" >&2
        exit "$status"
    fi
}

stage install "${make[@]}" setup
stage native "${make[@]}" test-native
stage sanitizers "${make[@]}" test-sanitize
stage "Windows build" "${make[@]}" win32
stage "Wine unit" ctest --preset win32-tests -L unit
stage "end to end" ctest --preset win32-tests -L e2e
stage "Wine 10 fetch" tools/wine10.sh --fetch
stage "Wine 10" ctest --preset win32-tests -L wine10
stage fuzz "${make[@]}" test-fuzz
report
