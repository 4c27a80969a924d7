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
. "$root/scripts/standin.sh"
if choose_standin; then
    exe="$STANDIN_DIR/Quellon.exe"
    prefix="$root/build/wine64"
fi
"$root/scripts/wineprefix.sh" "$prefix"
exec "$root/scripts/wine-run.sh" "$prefix" "$exe" "$@"
