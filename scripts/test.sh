#!/bin/sh
# Builds Quellon and runs every test under Wine, in fresh prefixes of the
# tests' own, each on a virtual display of its own (tests/wine-lane.sh):
# the tests never use the current display. The tests of a prefix run one
# after the other, the prefixes' tests side by side (three at a time unless
# CTEST_PARALLEL_LEVEL or a -j argument says otherwise).
#
# The tests run the 32-bit build: natively where the kernel runs 32-bit
# code, elsewhere emulated by qemu in 64-bit prefixes (scripts/i386.sh
# chooses). Only where neither can be had, or with QUELLON_STANDIN=1, they
# run in the 64-bit stand-in build (build/x64): the same program and tests
# built as 64-bit Windows programs. The checks of the program file itself
# examine the 32-bit build/Quellon.exe in every case.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"

. "$root/scripts/i386.sh"
choose_i386
dir=$I386_BUILD

# The booted prefix that the lanes' prefixes are copied from is made while
# the program and the tests build (booting takes minutes where the 32-bit
# programs run emulated); the test that makes it then finds it ready.
mkdir -p "$dir"
template_log="$dir/test-wine-template.log"
"$root/tests/wine-lane.sh" template "$dir/test-wine-template" >"$template_log" 2>&1 &
template_pid=$!
trap 'kill "$template_pid" 2>/dev/null || true; i386_release' EXIT
trap 'exit 130' INT TERM
"$root/scripts/build.sh"
if ! wait "$template_pid"; then
    echo "The tests' Wine prefix could not be booted:" >&2
    cat "$template_log" >&2
    exit 1
fi

cd "$dir"
export CTEST_PARALLEL_LEVEL="${CTEST_PARALLEL_LEVEL:-3}"
ctest --output-on-failure "$@"
