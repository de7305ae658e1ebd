#!/usr/bin/env bash
# Checks a built brindlow.exe as a file, without running it:
#   check-pe.sh OBJDUMP EXE 32|64
# - a PE32 (32) or PE32+ (64) image for the matching machine, GUI subsystem;
# - ASLR (dynamic base, with its relocations kept) and DEP (NX compatible), and on 64 bits
#   high-entropy ASLR;
# - imports from Windows system DLLs only: no runtime DLL of the compiler has to travel
#   with the program;
# - an icon, version information and a manifest among its resources.
set -uo pipefail
objdump=$1 exe=$2 bits=$3
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
pass() {
    echo "ok:   $*"
}

[[ -f $exe ]] || { echo "FAIL: $exe does not exist (build it first)"; exit 1; }
headers=$("$objdump" -p "$exe") || { echo "FAIL: $objdump cannot read $exe"; exit 1; }
format=$("$objdump" -f "$exe" | sed -n 's/.*file format //p')

case $bits in
32) want_format=pei-i386 want_magic='010b' ;;
64) want_format=pei-x86-64 want_magic='020b' ;;
*) echo "usage: $0 OBJDUMP EXE 32|64"; exit 2 ;;
esac

[[ $format == "$want_format" ]] && pass "file format $format" || fail "file format '$format', not $want_format"
magic=$(awk '$1 == "Magic" {print $2}' <<<"$headers")
[[ $magic == "$want_magic" ]] && pass "optional header magic $magic" || fail "optional header magic '$magic', not $want_magic"

subsystem=$(awk '$1 == "Subsystem" {print $2}' <<<"$headers")
[[ $subsystem == 00000002 ]] && pass "GUI subsystem" || fail "subsystem '$subsystem', not 00000002 (Windows GUI)"

# The flags follow the DllCharacteristics line, one a line, up to the next field.
flags=$(awk '/^DllCharacteristics/ {on = 1; next} on && /^[ \t]+[A-Z_]+$/ {print $1; next} {on = 0}' <<<"$headers")
want_flags="DYNAMIC_BASE NX_COMPAT"
[[ $bits == 64 ]] && want_flags+=" HIGH_ENTROPY_VA"
for flag in $want_flags; do
    grep -qx "$flag" <<<"$flags" && pass "DllCharacteristics $flag" || fail "DllCharacteristics lacks $flag"
done
relocations=$(awk '/Base Relocation Directory/ {print $3}' <<<"$headers")
[[ -n $relocations && $relocations != 00000000 ]] && pass "relocations kept, so the image can move" ||
    fail "no base relocations: DYNAMIC_BASE without them leaves the image at a fixed address"

# Only DLLs that every Windows has.
system_dll='^(kernel32|user32|gdi32|shell32|ole32|oleaut32|advapi32|comctl32|comdlg32|shlwapi|uxtheme|version|imm32|msvcrt|ucrtbase|ntdll|api-ms-win-[a-z0-9-]+)\.dll$'
imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
[[ -n $imports ]] || fail "no imports found"
while read -r dll; do
    [[ -z $dll ]] && continue
    if [[ ${dll,,} =~ $system_dll ]]; then
        pass "imports $dll"
    else
        fail "imports $dll, which is not a Windows system DLL"
    fi
done <<<"$imports"

# Resource types at the top of the resource tree: 3 icon, 0xe icon group, 0x10 version,
# 0x18 manifest.
types=$(sed -n 's/^[0-9a-f]\{3\}   Entry: ID: 0x\([0-9a-f]*\),.*/\1/p' <<<"$headers")
for want in "000003 icon image" "00000e icon group" "000010 version information" "000018 manifest"; do
    id=${want%% *} what=${want#* }
    grep -qx "$id" <<<"$types" && pass "resource: $what" || fail "no $what resource"
done

if ((failures)); then
    echo "$exe: $failures check(s) failed"
    exit 1
fi
echo "$exe: every check passed"
