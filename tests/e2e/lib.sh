# Shared parts of the end-to-end tests: they run the real Quellon.exe in
# the test prefix and look at it from outside, with the Windows-side probe
# (qprobe.exe), Wine's own reg, and screenshots of the virtual display.
set -eu
: "${QUELLON_BUILD:?}" "${QUELLON_PREFIX:?}" "${QUELLON_SOURCE:?}"

# The virtual display of the tests' lane (tests/wine-lane.sh), for the
# programs under Wine and for xdotool and the screenshots alike.
if [ -f "${QUELLON_LANE:-$QUELLON_PREFIX}.xvfb/display" ]; then
    DISPLAY=$(cat "${QUELLON_LANE:-$QUELLON_PREFIX}.xvfb/display")
    export DISPLAY
fi

KEY='HKLM\Software\Corvanel Software\Quellon'
WIN_DIR="$QUELLON_PREFIX/drive_c/windows"
SHOTS="$QUELLON_BUILD/screenshots"
mkdir -p "$SHOTS"

TMP=$(mktemp -d)
QUELLON_PID=""

wr() { "$QUELLON_SOURCE/scripts/wine-run.sh" "$QUELLON_PREFIX" "$@"; }

# wreg <reg arguments>: Wine's reg, in the registry view that Quellon sees
# (scripts/i386.sh: in a 64-bit prefix the emulated 32-bit program's
# HKLM\Software is the 32-bit view).
wreg() { wr reg "$@" ${I386_REG_VIEW:-}; }

# install_program <file> <folder below drive C:>: copies a program of the
# build into the prefix, unless the same file is there already (a running
# program's file is never rewritten), and prints the copy's path on the
# Linux side. Wine names a program started by that path by its place on
# drive C:, as if it had been started from there.
install_program() {
    install_to="$QUELLON_PREFIX/drive_c/$2"
    if ! cmp -s "$1" "$install_to/$(basename "$1")"; then
        mkdir -p "$install_to"
        cp "$1" "$install_to/"
    fi
    echo "$install_to/$(basename "$1")"
}

# probe <command> ...: runs qprobe.exe; its output (without carriage
# returns) and its exit code are the command's. The output goes through a
# file, so that a program it starts cannot hold up the caller. The probe
# runs from the prefix, beside the helpers, as Quellon does: what the list
# shows while it runs is no folder of the build machine.
probe() {
    probe_exe=$(install_program "$QUELLON_BUILD/tests/qprobe.exe" quellon-e2e)
    code=0
    wr "$probe_exe" "$@" >"$TMP/probe.out" 2>&1 </dev/null || code=$?
    tr -d '\r' <"$TMP/probe.out"
    return $code
}

# Whatever way the test ends, Quellon does not outlive it.
cleanup() {
    if [ -n "$QUELLON_PID" ] && kill -0 "$QUELLON_PID" 2>/dev/null; then
        kill -9 "$QUELLON_PID" 2>/dev/null || true
    fi
    rm -rf "$TMP"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# wait_for <what> <command>...: retries the command for up to ten seconds
# until it succeeds; fails with <what> when it does not.
wait_for() {
    what=$1
    shift
    i=0
    until "$@" >/dev/null 2>&1; do
        i=$((i + 1))
        [ "$i" -le 100 ] || fail "$what"
        sleep 0.1
    done
}

# not <command>...: succeeds when the command fails.
not() { ! "$@"; }

# Quellon's settings removed; with "quiet", the first-run warning is marked
# as shown.
reset_settings() {
    wreg delete "$KEY" /f >/dev/null 2>&1 || true
    if [ "${1:-}" = quiet ]; then
        wreg add "$KEY\\Newbie" /v Start /d 0 /f >/dev/null
    fi
}

# reg_value <section> <name>: the stored text, empty when absent.
reg_value() {
    wreg query "$KEY\\$1" /v "$2" 2>/dev/null | tr -d '\r' |
        awk -v n="$2" '$1 == n && $2 == "REG_SZ" { sub(/^[ \t]*[^ \t]+[ \t]+REG_SZ[ \t]+/, ""); print }'
}

# Starts Quellon.exe (QUELLON_EXE, else the built one where a user would
# have it, copied into C:\Program Files\Quellon) in the background;
# QUELLON_PID is the process to wait for. (The script is started directly,
# not through wr, so that the PID is the one of the process that becomes
# Quellon.)
start_quellon() {
    quellon_exe=${QUELLON_EXE:-$(install_program "$QUELLON_BUILD/Quellon.exe" "Program Files/Quellon")}
    "$QUELLON_SOURCE/scripts/wine-run.sh" "$QUELLON_PREFIX" "$quellon_exe" "$@" \
        >"$TMP/quellon.log" 2>&1 </dev/null &
    QUELLON_PID=$!
}

# watch_start: starts a probe that watches for Quellon's window (qprobe
# pace) and waits until it watches, so that a Quellon started next is seen
# from its first moment. watched_start then waits for the probe and sets
# PACE to what it saw: the milliseconds from the window's creation to its
# showing and from its showing to the list's first rows or the first
# message, and which of the two came ("rows" or "message").
watch_start() {
    probe_exe=$(install_program "$QUELLON_BUILD/tests/qprobe.exe" quellon-e2e)
    ready="$QUELLON_PREFIX/drive_c/quellon-e2e/pace.ready"
    rm -f "$ready"
    wr "$probe_exe" pace Quellon 'C:\quellon-e2e\pace.ready' 60000 >"$TMP/pace.out" 2>&1 </dev/null &
    PACE_PID=$!
    i=0
    until [ -f "$ready" ]; do
        i=$((i + 1))
        [ "$i" -le 600 ] || fail "the probe that watches the start did not start"
        sleep 0.1
    done
}
watched_start() {
    wait "$PACE_PID" || fail "the probe saw no start of Quellon: $(tr -d '\r' <"$TMP/pace.out")"
    PACE=$(tr -d '\r' <"$TMP/pace.out")
}

# check_pace <rows|message>: after watch_start and start_quellon, the list's
# first rows (or the first message: the first-run warning) came first, and
# within 1.5 s of the window's showing. They come from the start-up timer,
# 200 ms after the view's first update, which comes just before the showing
# (under 70 ms before it, measured emulated), and then take what the
# refresh or the message box takes: 190 to 260 ms from the showing in all,
# measured on an idle 2-core machine with the program emulated. A timer ten
# times as long could give them no sooner than about 1.9 s after the
# showing; 1.5 s leaves a machine six times slower than that its margin.
check_pace() {
    watched_start
    echo "start: $PACE (ms from the window's creation to its showing, from its showing to the first $1)"
    set -- $PACE "$1"
    [ "$3" = "$4" ] || fail "the start showed $3 first, not $4"
    [ "$2" -lt 1500 ] || fail "the first $4 came $2 ms after the window showed, not within 1500 ms"
}

# The state of Quellon's toolbar button of a command: button_is <id> <state>
# succeeds when it is "enabled" or "disabled" as asked.
button_is() { [ "$(probe button Quellon "$1")" = "$2" ]; }
# pane_reads <n> <[text]>: status-bar pane n of Quellon reads that text
# (in brackets, as the probe prints it).
pane_reads() { [ "$(probe pane Quellon "$1")" = "$2" ]; }

# focus_on <title> <window|dialog> <control id> <what>: the keyboard focus
# in the thread of that window (or dialog) is on that control; fails with
# <what> when it is not there within four seconds.
focus_on() {
    i=0
    while :; do
        if [ "$2" = dialog ]; then got=$(probe focus "$1" dialog); else got=$(probe focus "$1"); fi
        [ "${got%% *}" = "$3" ] && return 0
        i=$((i + 1))
        [ "$i" -le 20 ] || fail "$4 (the focus is on: ${got:-nothing})"
        sleep 0.2
    done
}

# Every row's path is on drive C: of the prefix, none in a folder of the
# build machine (Z:), so that a screenshot shows what a user would see.
paths_on_drive_c() {
    paths=$(probe paths Quellon) || fail "could not read the list's paths"
    [ -n "$paths" ] || fail "the list shows no paths"
    ! printf '%s\n' "$paths" | grep -vi '^c:' || fail "rows outside drive C: (listed above)"
}

# wait_quellon [seconds]: waits (30 s at most) for Quellon to end and fails
# on a non-zero exit code.
wait_quellon() {
    i=0
    while kill -0 "$QUELLON_PID" 2>/dev/null; do
        i=$((i + 1))
        [ "$i" -le $((${1:-30} * 10)) ] || fail "Quellon did not end"
        sleep 0.1
    done
    code=0
    wait "$QUELLON_PID" || code=$?
    QUELLON_PID=""
    [ "$code" -eq 0 ] || fail "Quellon exited with code $code"
}

# process_listed <name>: Wine's own WMI client lists a running process of
# that name. (Wine's tasklist lists nothing.)
process_listed() {
    wr wmic process get name 2>/dev/null </dev/null | iconv -f UTF-16LE -t UTF-8 | tr -d '\r' |
        sed 's/ *$//' | grep -qix "$1"
}

screenshot() { import -window root "$SHOTS/$1.png"; }

# The X window of Wine's virtual desktop, which takes the keyboard for the
# programs inside it.
desktop_window() {
    xdotool search --name 'Wine desktop' | head -n 1
}

# focus <title> [dialog]: brings the window (with "dialog", the dialog) of
# that title inside the virtual desktop to the foreground and puts the X
# input focus on the X window Wine made for it, so that what is typed next
# goes through the X server to it as typed input, modifiers included.
focus() {
    probe activate "$@" >/dev/null || fail "no window titled '$1' to type into"
    xwin=$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$xwin" ] || xwin=$(desktop_window)
    [ -n "$xwin" ] || fail "no X window for '$1'"
    i=0
    while [ "$(xdotool getwindowfocus 2>/dev/null)" != "$xwin" ]; do
        i=$((i + 1))
        [ "$i" -le 50 ] || fail "the keyboard focus does not go to '$1'"
        xdotool windowfocus "$xwin" 2>/dev/null || true
        sleep 0.1
    done
    sleep 0.2
}

# send_key <title> <key>...: types keys (xdotool's names) into the window of
# that title; send_key_dialog does the same for a dialog.
send_key() {
    focus "$1"
    shift
    xdotool key --delay 100 "$@"
}
send_key_dialog() {
    focus "$1" dialog
    shift
    xdotool key --delay 100 "$@"
}
# send_text <dialog title> <text>: types a text into that dialog.
send_text() {
    focus "$1" dialog
    xdotool type --delay 60 "$2"
}

# The X position of the virtual desktop's origin, "X Y".
desktop_origin() {
    eval "$(xdotool getwindowgeometry --shell "$(desktop_window)")"
    echo "$X $Y"
}

# click <x> <y>: a click of the left mouse button at that point of the
# virtual desktop.
click() {
    set -- "$1" "$2" $(desktop_origin)
    xdotool mousemove "$(($1 + $3))" "$(($2 + $4))" click 1
    sleep 0.3
}

# drag <x> <y> <dx> <dy>: the left button pressed at a point of the virtual
# desktop, moved in steps by dx, dy and released.
drag() {
    set -- "$1" "$2" "$3" "$4" $(desktop_origin)
    x=$(($1 + $5))
    y=$(($2 + $6))
    xdotool mousemove "$x" "$y" mousedown 1
    for step in 1 2 3 4; do
        sleep 0.1
        xdotool mousemove "$((x + $3 * step / 4))" "$((y + $4 * step / 4))"
    done
    sleep 0.1
    xdotool mouseup 1
    sleep 0.3
}

# click_rect <x y cx cy>: a click in the middle of a rectangle.
click_rect() {
    click "$(($1 + $3 / 2))" "$(($2 + $4 / 2))"
}

# Copies the helper program to C:\quellon-e2e\<name> and prints the path.
place_helper() {
    mkdir -p "$QUELLON_PREFIX/drive_c/quellon-e2e"
    cp "$QUELLON_BUILD/tests/qhelper.exe" "$QUELLON_PREFIX/drive_c/quellon-e2e/$1"
    printf 'C:\\quellon-e2e\\%s\n' "$1"
}
