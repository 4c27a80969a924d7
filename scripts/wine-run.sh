#!/bin/sh
# Runs a Windows program of the build in the given Wine prefix, with Wine's
# own messages silenced unless QUELLON_WINEDEBUG asks for them.
#
#   scripts/wine-run.sh <prefix> <program.exe> [arguments ...]
set -eu
export WINEPREFIX="$1"
shift
export WINEARCH="${QUELLON_WINEARCH:-win32}"
export WINEDEBUG="${QUELLON_WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree=;mshtml="
exec wine "$@"
