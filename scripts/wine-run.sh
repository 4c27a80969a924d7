#!/bin/sh
# Runs a Windows program of the build in the given Wine prefix, with Wine's
# own messages silenced unless QUELLON_WINEDEBUG asks for them. A prefix of
# a test run's lane has a virtual display of its own (tests/wine-lane.sh),
# named in <prefix>.xvfb/display; the program runs on it.
#
#   scripts/wine-run.sh <prefix> <program.exe> [arguments ...]
set -eu
export WINEPREFIX="$1"
shift
if [ -f "$WINEPREFIX.xvfb/display" ]; then
    DISPLAY=$(cat "$WINEPREFIX.xvfb/display")
    export DISPLAY
fi
export WINEARCH="${QUELLON_WINEARCH:-win32}"
export WINEDEBUG="${QUELLON_WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree=;mshtml="
exec wine "$@"
