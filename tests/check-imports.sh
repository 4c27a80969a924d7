#!/bin/sh
# Checks a program's import table against a list of allowed imports (DLL
# and function per line, '#' starts a comment): every imported DLL and
# every imported function must be on the list, and no wide-character
# function (a name ending in W) of the Win32 DLLs may be imported, listed or
# not. Prints each import that fails and exits 1 then.
#
#   tests/check-imports.sh <program.exe> <allowed-list>
set -eu
export LC_ALL=C
exe=$1
list=$2
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}

[ -f "$exe" ] || { echo "no such program: $exe" >&2; exit 2; }
[ -f "$list" ] || { echo "no such list: $list" >&2; exit 2; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The imports as "dll function" lines, DLL names in lower case without
# ".dll". An import by ordinal has no name and shows as "#<ordinal>".
"$objdump" -p "$exe" | tr -d '\r' | awk '
    /^The Import Tables/ { inside = 1; next }
    inside && (/^The / || /^PE File/) { inside = 0 }
    !inside { next }
    /DLL Name:/ { dll = tolower($3); sub(/\.dll$/, "", dll); next }
    dll != "" && /^\t[0-9a-f]+\t/ {
        if (NF >= 3) print dll, $3; else print dll, "#" $2
    }
' | sort -u >"$tmp/imports"

[ -s "$tmp/imports" ] || { echo "no imports read from $exe" >&2; exit 2; }

sed -e 's/#.*//' "$list" | awk 'NF >= 2 { print tolower($1), $2 }' | sort -u >"$tmp/allowed"
awk '{ print $1 }' "$tmp/allowed" | sort -u >"$tmp/dlls"

status=0
for dll in $(awk '{ print $1 }' "$tmp/imports" | sort -u); do
    if ! grep -qx "$dll" "$tmp/dlls"; then
        echo "DLL not allowed: $dll"
        status=1
    fi
done
comm -23 "$tmp/imports" "$tmp/allowed" >"$tmp/extra"
if [ -s "$tmp/extra" ]; then
    sed 's/^/import not on the list: /' "$tmp/extra"
    status=1
fi
awk '$1 ~ /^(kernel32|user32|gdi32|advapi32|shell32|comctl32)$/ && $2 ~ /W$/' \
    "$tmp/imports" >"$tmp/wide"
if [ -s "$tmp/wide" ]; then
    sed 's/^/wide-character import: /' "$tmp/wide"
    status=1
fi
if [ "$status" -eq 0 ]; then
    echo "$(wc -l <"$tmp/imports") imports from $(awk '{ print $1 }' "$tmp/imports" | sort -u | wc -l) DLLs, all on the list"
fi
exit $status
