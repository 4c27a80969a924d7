#!/bin/sh
# Builds Quellon and runs every test under Wine, in fresh prefixes of the
# tests' own. Without a display (or on CI) the tests get a virtual one.
#
# Where this machine cannot run 32-bit x86 programs (and so not 32-bit
# Wine), the tests run in the 64-bit stand-in build (build/x64): the same
# program and tests built as 64-bit Windows programs, under 64-bit Wine.
# The checks of the program file itself examine the 32-bit build/Quellon.exe
# in either case.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"

dir="$root/build"
. "$root/scripts/standin.sh"
if choose_standin; then
    dir=$STANDIN_DIR
fi

. "$root/scripts/xvfb.sh"
trap stop_xvfb EXIT INT TERM
if [ -z "${DISPLAY:-}" ] || [ "${CI:-}" = "true" ]; then
    start_xvfb
fi

cd "$dir"
ctest --output-on-failure "$@"
