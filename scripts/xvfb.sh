# Sourced by the scripts that need a display: start_xvfb starts Xvfb on a
# display of its own and exports DISPLAY; stop_xvfb stops it again (and does
# nothing if none was started).
#
# The server chooses the display number itself (-displayfd): it takes the
# first number whose sockets it can really listen on, including the
# abstract socket that is shared beyond this /tmp (a container or chroot
# beside another X server, a second test run at the same moment), and
# writes the number once it listens. A server that does not start is an
# error, with the server's own message.
xvfb_pid=""
xvfb_dir=""

start_xvfb() {
    xvfb_dir=$(mktemp -d)
    : >"$xvfb_dir/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
        3>"$xvfb_dir/display" >"$xvfb_dir/log" 2>&1 &
    xvfb_pid=$!
    i=0
    # The number is written with a new line once the server listens.
    while [ "$(wc -l <"$xvfb_dir/display")" -eq 0 ]; do
        if ! kill -0 "$xvfb_pid" 2>/dev/null || [ $i -ge 100 ]; then
            echo "Xvfb did not start a display (waited $((i / 10)) s). It said:" >&2
            sed 's/^/  /' "$xvfb_dir/log" >&2
            stop_xvfb
            return 1
        fi
        sleep 0.1
        i=$((i + 1))
    done
    export DISPLAY=":$(head -n 1 "$xvfb_dir/display")"
}

stop_xvfb() {
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
