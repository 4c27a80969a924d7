#!/bin/sh
# Builds Quellon and starts it under Wine, in the prefix build/wine. The
# prefix persists between runs, as a real machine's settings would; remove
# it to start afresh. Where the kernel runs no 32-bit code, the same 32-bit
# program runs emulated by qemu, in the 64-bit prefix build/wine64; only
# where that cannot be set up does the 64-bit stand-in build start instead
# (scripts/i386.sh chooses, and says so).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
if [ -z "${DISPLAY:-}" ]; then
    echo "Quellon needs a display. Without one, start a virtual display and use it:" >&2
    echo "  Xvfb :7 -screen 0 1024x768x24 &  DISPLAY=:7 $0" >&2
    exit 1
fi
. "$root/scripts/i386.sh"
choose_i386
trap i386_release EXIT
trap 'exit 130' INT TERM
exe="$I386_BUILD/Quellon.exe"
prefix=$(i386_prefix wine)
# A prefix that the tests have booted already is copied rather than booted
# again (that takes minutes where the program runs emulated); the copy
# shows Quellon on this display, without the tests' virtual desktop.
template="$I386_BUILD/test-wine-template-$QUELLON_WINEARCH"
if [ ! -f "$prefix/system.reg" ] && [ -f "$template/system.reg" ]; then
    rm -rf "$prefix"
    cp -a "$template" "$prefix"
    WINEPREFIX="$prefix" WINEARCH="$QUELLON_WINEARCH" WINEDEBUG=-all \
        wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f </dev/null >/dev/null 2>&1 || true
fi
"$root/scripts/wineprefix.sh" "$prefix"
"$root/scripts/wine-run.sh" "$prefix" "$exe" "$@"
