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
#       starts Xvfb for the lane (its display is written to <prefix>.display,
#       where scripts/wine-run.sh and the end-to-end tests find it) and
#       makes the prefix afresh from the template, its Wine server kept up.
#   tests/wine-lane.sh stop <prefix>
#       ends the lane's Wine server and its Xvfb.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
what=$1
prefix=$2
shift 2

stop_lane() {
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    if [ -f "$prefix.xvfb" ]; then
        kill "$(cat "$prefix.xvfb")" 2>/dev/null || true
    fi
    rm -f "$prefix.display" "$prefix.xvfb" "$prefix.xvfb-log"
}

case "$what" in
template)
    if [ -f "$prefix-${QUELLON_WINEARCH:-win32}/system.reg" ]; then
        exit 0
    fi
    # Booting needs a display while it runs.
    . "$root/scripts/xvfb.sh"
    trap stop_xvfb EXIT INT TERM
    start_xvfb
    "$root/scripts/wineprefix.sh" --template "$prefix"
    ;;
start)
    template=$1
    shift
    stop_lane
    # The server chooses a display number it can listen on and writes it
    # once it listens; it runs on in a session of its own after this
    # script, until the lane stops.
    : >"$prefix.display"
    setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
        3>"$prefix.display" >"$prefix.xvfb-log" 2>&1 </dev/null &
    echo $! >"$prefix.xvfb"
    i=0
    while [ "$(wc -l <"$prefix.display")" -eq 0 ]; do
        if ! kill -0 "$(cat "$prefix.xvfb")" 2>/dev/null || [ $i -ge 100 ]; then
            echo "Xvfb did not start a display for $prefix. It said:" >&2
            sed 's/^/  /' "$prefix.xvfb-log" >&2
            stop_lane
            exit 1
        fi
        sleep 0.1
        i=$((i + 1))
    done
    echo ":$(head -n 1 "$prefix.display")" >"$prefix.display"
    DISPLAY=$(cat "$prefix.display") "$root/scripts/wineprefix.sh" "$prefix" --from "$template" "$@"
    ;;
stop)
    stop_lane
    ;;
*)
    echo "usage: $0 template|start|stop <prefix> ..." >&2
    exit 2
    ;;
esac
