# Sourced by the scripts that need a display: start_xvfb starts Xvfb on a
# display of its own and exports DISPLAY; stop_xvfb stops it again (and does
# nothing if none was started).
#
#   start_xvfb [<folder>]    stop_xvfb [<folder>]
#
# The server chooses the display number itself (-displayfd): it takes the
# first number whose sockets it can really listen on, including the
# abstract socket that is shared beyond this /tmp (a container or chroot
# beside another X server, a second test run at the same moment), and
# writes the number once it listens. A server that does not start is an
# error, with the server's own message.
#
# Without a folder the server's files are in a temporary one and the server
# belongs to the caller. With a folder the files are kept there (display:
# the display's name; pid; log) and the server runs in a session of its own,
# on after the caller has ended, until stop_xvfb is given the same folder.
xvfb_pid=""
xvfb_dir=""

start_xvfb() {
    session=""
    if [ -n "${1:-}" ]; then
        xvfb_dir=$1
        session=setsid
        mkdir -p "$xvfb_dir"
    else
        xvfb_dir=$(mktemp -d)
    fi
    : >"$xvfb_dir/number"
    $session Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
        3>"$xvfb_dir/number" >"$xvfb_dir/log" 2>&1 </dev/null &
    xvfb_pid=$!
    echo "$xvfb_pid" >"$xvfb_dir/pid"
    i=0
    # The number is written with a new line once the server listens.
    while [ "$(wc -l <"$xvfb_dir/number")" -eq 0 ]; do
        if ! kill -0 "$xvfb_pid" 2>/dev/null || [ $i -ge 100 ]; then
            echo "Xvfb did not start a display (waited $((i / 10)) s). It said:" >&2
            sed 's/^/  /' "$xvfb_dir/log" >&2
            stop_xvfb
            return 1
        fi
        sleep 0.1
        i=$((i + 1))
    done
    DISPLAY=":$(head -n 1 "$xvfb_dir/number")"
    export DISPLAY
    echo "$DISPLAY" >"$xvfb_dir/display"
}

stop_xvfb() {
    if [ -n "${1:-}" ]; then
        xvfb_dir=$1
        xvfb_pid=$(cat "$xvfb_dir/pid" 2>/dev/null || true)
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=""
    fi
    if [ -n "$xvfb_dir" ]; then
        rm -rf "$xvfb_dir"
        xvfb_dir=""
    fi
}
