#!/bin/sh
# Builds Quellon and runs every test under Wine, in fresh prefixes of the
# tests' own. Without a display (or on CI) the tests get a virtual one.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"

. "$root/scripts/xvfb.sh"
trap stop_xvfb EXIT INT TERM
if [ -z "${DISPLAY:-}" ] || [ "${CI:-}" = "true" ]; then
    start_xvfb
fi

cd "$root/build"
ctest --output-on-failure "$@"
