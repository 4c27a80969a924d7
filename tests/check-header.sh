#!/bin/sh
# Checks the header of the 32-bit program file: an i386 Windows GUI
# program for subsystem and OS version 4.0, without the DllCharacteristics
# flags of later Windows (dynamic base, NX compatible) that the loader of
# the Windows 95 family predates; and a file of at most 200 KiB. Prints each
# field that differs and exits 1 then.
#
#   tests/check-header.sh <program.exe>
set -eu
export LC_ALL=C
exe=$1
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
[ -f "$exe" ] || { echo "no such program: $exe" >&2; exit 2; }

status=0
header=$("$objdump" -p "$exe")
expect() { # expect <field> <value>
    actual=$(echo "$header" | awk -v f="$1" '$1 == f { print $2; exit }')
    if [ "$actual" != "$2" ]; then
        echo "$1 is ${actual:-missing}, not $2"
        status=1
    fi
}
expect Magic 010b
expect Subsystem 00000002
expect MajorSubsystemVersion 4
expect MinorSubsystemVersion 0
expect MajorOSystemVersion 4
expect MinorOSystemVersion 0
expect DllCharacteristics 00000000
echo "$header" | grep -q 'file format pei-i386' || { echo "not an i386 program"; status=1; }
size=$(wc -c <"$exe")
if [ "$size" -gt 204800 ]; then
    echo "the file has $size bytes, more than 200 KiB"
    status=1
fi
[ "$status" -ne 0 ] || echo "i386 GUI program for Windows 4.0, DllCharacteristics 0, $size bytes"
exit $status
