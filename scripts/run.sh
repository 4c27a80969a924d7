#!/bin/sh
# Builds Quellon and starts it under Wine, in the prefix build/wine. The
# prefix persists between runs, as a real machine's settings would; remove
# it to start afresh.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
if [ -z "${DISPLAY:-}" ]; then
    echo "Quellon needs a display. Without one, start a virtual display and use it:" >&2
    echo "  Xvfb :7 -screen 0 1024x768x24 &  DISPLAY=:7 $0" >&2
    exit 1
fi
"$root/scripts/wineprefix.sh" "$root/build/wine"
exec "$root/scripts/wine-run.sh" "$root/build/wine" "$root/build/Quellon.exe" "$@"
