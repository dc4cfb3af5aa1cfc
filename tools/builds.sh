# Sourced by the scripts that start what the builds made: where the presets put each build, and a check that
# names the make target to run when a program is missing. Plain sh, for make's recipes too.
#   root=<project folder>; . "$root/tools/builds.sh"; require_built bench "$native_build/bench/zelmora_bench" ...
: "${root:?root names the project folder}"
# The folders are named in CMakePresets.json alone.
eval "$(cmake -P "$root/tools/build-folders.cmake")"
native_build=$build_native
product_build=$build_win32
tests_build=$build_win32_tests
product="$product_build/Zelmora.exe"

require_built() {
    target=$1
    shift
    for file in "$@"; do
        if [ ! -f "$file" ]; then
            echo "$file is missing: make $target builds it" >&2
            exit 1
        fi
    done
}
