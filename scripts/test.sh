#!/bin/sh
# Builds Quellon and runs every test under Wine, in fresh prefixes of the
# tests' own. Without a display (or on CI) the tests get a virtual one.
#
# The tests run the 32-bit build: natively where the kernel runs 32-bit
# code, elsewhere emulated by qemu in 64-bit prefixes (scripts/i386.sh
# chooses). Only where neither can be had, or with QUELLON_STANDIN=1, they
# run in the 64-bit stand-in build (build/x64): the same program and tests
# built as 64-bit Windows programs. The checks of the program file itself
# examine the 32-bit build/Quellon.exe in every case.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"

. "$root/scripts/i386.sh"
choose_i386
dir="$root/build"
if [ "$I386_WAY" = standin ]; then
    dir=$STANDIN_DIR
fi

. "$root/scripts/xvfb.sh"
trap stop_xvfb EXIT INT TERM
if [ -z "${DISPLAY:-}" ] || [ "${CI:-}" = "true" ]; then
    start_xvfb
fi

cd "$dir"
ctest --output-on-failure "$@"
