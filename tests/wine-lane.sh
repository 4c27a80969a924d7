#!/bin/sh
# A lane of the test run: a Wine prefix of its own with a virtual display of
# its own, in which one group of tests runs, one test after the other,
# while the other lanes run beside it. Tests of different lanes share
# nothing: not the registry, not the processes, not the Wine server, not
# the keyboard focus or the screen that the end-to-end tests type into and
# photograph.
#
#   tests/wine-lane.sh template <template>
#       boots the prefix that every lane is copied from, unless it is there
#       (one for each kind of prefix; see scripts/wineprefix.sh).
#   tests/wine-lane.sh start <prefix> <template> [exe-name=version ...]
#       starts Xvfb for the lane (its files in <prefix>.xvfb, the display's
#       name in <prefix>.xvfb/display, where scripts/wine-run.sh and the
#       end-to-end tests find it) and makes the prefix afresh from the
#       template, its Wine server kept up.
#   tests/wine-lane.sh stop <prefix>
#       ends the lane's Wine server and its Xvfb.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
what=$1
prefix=$2
shift 2

. "$root/scripts/xvfb.sh"
stop_lane() {
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    stop_xvfb "$prefix.xvfb"
}

case "$what" in
template)
    if [ -f "$prefix-${QUELLON_WINEARCH:-win32}/system.reg" ]; then
        exit 0
    fi
    # Booting needs a display while it runs.
    trap stop_xvfb EXIT INT TERM
    start_xvfb
    "$root/scripts/wineprefix.sh" --template "$prefix"
    ;;
start)
    template=$1
    shift
    stop_lane
    # The display stays up after this script, until the lane stops.
    start_xvfb "$prefix.xvfb" || exit 1
    "$root/scripts/wineprefix.sh" "$prefix" --from "$template" "$@"
    ;;
stop)
    stop_lane
    ;;
*)
    echo "usage: $0 template|start|stop <prefix> ..." >&2
    exit 2
    ;;
esac
