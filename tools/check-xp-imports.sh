#!/usr/bin/env bash
# Fails unless a 32-bit Windows executable can load on Windows XP SP3: every function it
# imports must be named in xp-exports.txt, and its subsystem and OS versions must be 5.1 or lower.
# Usage: tools/check-xp-imports.sh EXE
# Exit status: 0 loadable, 1 not loadable (offenders listed on stderr), 2 the file could not be checked.
set -euo pipefail

exports_list="$(dirname "$0")/xp-exports.txt"
readonly exports_list
readonly objdump=i686-w64-mingw32-objdump
readonly xp_major=5 xp_minor=1

cannot_check() {
    echo "$(basename "$0"): $*" >&2
    exit 2
}

# Value of a "Key<TAB>value" line of the PE header dump.
header_value() {
    awk -v key="$1" '$1 == key { print $2; exit }' <<<"$dump"
}

# Size (hex) of a data directory entry, e.g. 1 for imports, d for delay-load imports.
directory_size() {
    awk -v entry="$1" '$1 == "Entry" && $2 == entry { print $4; exit }' <<<"$dump"
}

# One "dll function" line per import, with lower-case DLL names; "dll #N" for an import by ordinal N.
imports() {
    awk '
        /^The Import Tables/ { in_table = 1; next }
        in_table && /^[^ \t]/ { in_table = 0 }
        !in_table { next }
        /^[ \t]*DLL Name:/ { dll = tolower($3); members = 0; next }
        /^[ \t]*vma:[ \t]+Hint\/Ord/ { members = 1; next }
        members && NF == 0 { members = 0; next }
        members {
            by_ordinal = length($1) == 8 && $1 ~ /^[89a-fA-F][0-9a-fA-F]*$/
            if (by_ordinal || NF < 3 || $3 == "<none>") print dll, "#" $2
            else print dll, $3
        }
    ' <<<"$dump"
}

# The imports that XP SP3 lacks, each with the reason when it is not just a missing name.
imports_missing_on_xp() {
    awk '
        FNR == NR { if ($1 !~ /^#/ && NF == 2) { exported[$1 " " $2] = 1; listed_dll[$1] = 1 } next }
        NF == 0 { next }
        substr($2, 1, 1) == "#" { print $1, $2, "(imported by ordinal)"; next }
        !($1 in listed_dll) { print $1, $2, "(DLL not in the list)"; next }
        !(($1 " " $2) in exported) { print $1, $2 }
    ' "$exports_list" -
}

# Prints "major.minor" of a header version pair, or stops when the dump lacks it.
header_version() {
    local major minor
    major=$(header_value "Major$1Version")
    minor=$(header_value "Minor$1Version")
    [[ $major =~ ^[0-9]+$ && $minor =~ ^[0-9]+$ ]] || cannot_check "$exe: no $1 version in the PE header"
    echo "$major.$minor"
}

above_xp() {
    local major=${1%.*} minor=${1#*.}
    ((major > xp_major || (major == xp_major && minor > xp_minor)))
}

[[ $# -eq 1 ]] || cannot_check "usage: $(basename "$0") EXE"
readonly exe=$1
name=$(basename "$exe")
readonly name
[[ -f $exe ]] || cannot_check "$exe: no such file"
[[ -r $exports_list ]] || cannot_check "$exports_list: cannot read"
dump=$("$objdump" -p "$exe") || cannot_check "$exe: $objdump cannot read it"

import_size=$(directory_size 1)
delay_import_size=$(directory_size d)
[[ -n $import_size && -n $delay_import_size ]] || cannot_check "$exe: no data directory in the PE header"
((16#$delay_import_size == 0)) || cannot_check "$exe: has delay-load imports, which this check does not read"

import_lines=$(imports)
if ((16#$import_size != 0)) && [[ -z $import_lines ]]; then
    cannot_check "$exe: has an import directory but no imports were read from $objdump"
fi

subsystem=$(header_version Subsystem)
os=$(header_version OSystem)

missing=$(imports_missing_on_xp <<<"$import_lines")
failed=0
if [[ -n $missing ]]; then
    echo "$name: imports not present on Windows XP SP3:" >&2
    echo "  ${missing//$'\n'/$'\n  '}" >&2
    failed=1
fi
if above_xp "$subsystem"; then
    echo "$name: subsystem version $subsystem is above $xp_major.$xp_minor" >&2
    failed=1
fi
if above_xp "$os"; then
    echo "$name: OS version $os is above $xp_major.$xp_minor" >&2
    failed=1
fi
((failed == 0)) || exit 1

import_count=$(grep -c . <<<"$import_lines" || true)
dll_count=$(cut -d' ' -f1 <<<"$import_lines" | sort -u | grep -c . || true)
echo "$name: $import_count imports from $dll_count DLLs, all present on Windows XP SP3; subsystem $subsystem"
