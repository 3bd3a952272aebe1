#!/usr/bin/env bash
# The .gau as FS9 loads it: a 32-bit Windows library whose export directory
# is named after the file and holds Linkage and ImportTable and nothing else,
# with the C and C++ runtimes linked in (no DLL beside it to ship).
# Usage: gau_exports_test.sh OBJDUMP FILE.gau
set -euo pipefail
objdump=$1
gau=$2

headers=$("$objdump" -p "$gau")
fail() {
    echo "$gau: $*" >&2
    exit 1
}

"$objdump" -f "$gau" | grep -q 'file format pei-i386' || fail "not a 32-bit Windows library"
grep -Eq "^Name[[:space:]]+[0-9a-f]+ $(basename "$gau")\$" <<<"$headers" || fail "export directory not named $(basename "$gau")"
exports=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers" | sed -n 's/^[[:space:]]*\[ *[0-9]*\] //p' | sort | tr '\n' ' ')
[ "$exports" = "ImportTable Linkage " ] || fail "exports '$exports', expected ImportTable and Linkage only"
while read -r dll; do
    case "${dll,,}" in
        kernel32.dll | user32.dll | shlwapi.dll | dsound.dll | msvcrt.dll) ;;
        *) fail "imports $dll, which FS9's folder does not have" ;;
    esac
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
echo "$gau: $(stat -c %s "$gau") bytes; exports ${exports% }"
