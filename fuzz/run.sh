#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build/fuzz and runs each on its seed corpus for FUZZ_SECONDS
# (30 by default). New inputs go to build/fuzz/corpus, crashes to build/fuzz/artifacts; any crash fails.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"
seconds="${FUZZ_SECONDS:-30}"

cmake -S "$root/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "${JOBS:-2}" >/dev/null

mkdir -p "$build/artifacts"
for fuzzer in "$build"/*_fuzzer; do
    target=$(basename "$fuzzer" _fuzzer)
    mkdir -p "$build/corpus/$target"
    echo "fuzz: $target for ${seconds} s"
    "$fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$target-" "$build/corpus/$target" "$root/fuzz/corpus/$target" \
        2>"$build/$target.log" || { tail -n 40 "$build/$target.log"; exit 1; }
    grep -E "stat::number_of_executed_units|stat::new_units_added" "$build/$target.log" | sed 's/^/    /'
done
