#!/bin/sh
# Builds Quellon and starts it under Wine, in the prefix build/wine. The
# prefix persists between runs, as a real machine's settings would; remove
# it to start afresh. Where this machine cannot run 32-bit x86 programs, the
# 64-bit stand-in build is started instead, in the prefix build/wine64.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
if [ -z "${DISPLAY:-}" ]; then
    echo "Quellon needs a display. Without one, start a virtual display and use it:" >&2
    echo "  Xvfb :7 -screen 0 1024x768x24 &  DISPLAY=:7 $0" >&2
    exit 1
fi
exe="$root/build/Quellon.exe"
prefix="$root/build/wine"
if ! "$root/scripts/runs-i386.sh"; then
    echo "This machine cannot run 32-bit x86 programs: starting the 64-bit stand-in build." >&2
    exe="$("$root/scripts/build-standin.sh")/Quellon.exe"
    prefix="$root/build/wine64"
    export PATH="$root/scripts/wine64:$PATH" QUELLON_WINEARCH=win64
fi
"$root/scripts/wineprefix.sh" "$prefix"
exec "$root/scripts/wine-run.sh" "$prefix" "$exe" "$@"
