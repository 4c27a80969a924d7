#!/bin/sh
# A new user's whole session with the real Quellon.exe, step by step: the
# first start imports the legacy INI file and warns once; the window opens
# at the default rectangle; F5 lists newly started programs; one is
# selected with the keyboard and killed with F8; F2 builds a Favorites list
# of a moved and a typed name; F9 kills both, naming each in the status bar;
# the window is resized and moved, a column narrowed, and the window closed;
# the second start comes back as it was left; F10 with no Favorites only
# complains, F10 with Favorites kills them and closes Quellon. Screenshots
# of each screen are left in build/screenshots (walk-*.png); Quellon runs
# from C:\Program Files\Quellon, as a user has it, and no row of them
# shows a folder of the build machine. Along the way the states a user
# sees are read from the running program as its own message loop leaves
# them: the warning comes at the start-up timer's pace; Kill Selected's
# toolbar button (set in the program's idle time) and menu item (set as the
# menu opens) are available exactly while a row is selected, and the menu
# item's prompt shows in the status bar; each dialog opens with the focus
# where a user types first, an arrow that disables itself hands the focus
# to its list, and a closed dialog gives the focus back.
# The session starts on a machine where Quellon never ran: a prefix of its
# own, copied from the tests' booted template, on the display of the lane.
# It waits on purpose at each kill, and takes minutes on a busy machine:
# Labels: long
: "${QUELLON_PREFIX:?}" "${QUELLON_BUILD:?}" "${QUELLON_SOURCE:?}" "${QUELLON_TEMPLATE:?}"
QUELLON_LANE=$QUELLON_PREFIX
QUELLON_PREFIX=$QUELLON_BUILD/walk-wine
. "$(dirname "$0")/lib.sh"
"$QUELLON_SOURCE/scripts/wineprefix.sh" "$QUELLON_PREFIX" --from "$QUELLON_TEMPLATE" ||
    fail "no prefix made from the template $QUELLON_TEMPLATE"

STATUS_BAR=59393 # the frame's status bar
LIST_VIEW=59648  # the view
IDC_CANDIDATES=1000
IDC_FAVORITES=1001
IDC_ADD=1002
IDC_REMOVE=1003
IDC_MANUALADD=3
IDC_NAME=1004
ID_PROCESS_KILL=32775

HELPERS=""
STRACE_PID=""
finish() {
    [ -z "$STRACE_PID" ] || kill "$STRACE_PID" 2>/dev/null || true
    for pid in $HELPERS; do
        wr taskkill /f /pid "$pid" >/dev/null 2>&1 </dev/null || true
    done
    cleanup
    WINEPREFIX="$QUELLON_PREFIX" wineserver -k 2>/dev/null || true
    rm -rf "$QUELLON_PREFIX"
}
trap finish EXIT

# start_helper <variable> <name>: starts a copy of the helper program; its
# PID goes into the variable.
start_helper() {
    pid=$(probe start "$(place_helper "$2")") || fail "$2 did not start"
    HELPERS="$HELPERS $pid"
    eval "$1=$pid"
}

# The number of dark (text) pixels of a screenshot inside x y cx cy.
dark_pixels() {
    convert "$SHOTS/$1.png" -crop "${4}x${5}+${2}+${3}" +repage -colorspace Gray \
        -threshold 40% -negate -format '%[fx:round(mean*w*h)]' info:
}

# A signature of the pixels of a screenshot inside x y cx cy.
crop_signature() {
    convert "$SHOTS/$1.png" -crop "${4}x${5}+${2}+${3}" +repage -format '%#' info:
}

# kill_item <enabled|disabled>: the Process menu, opened from the keyboard
# as a user opens it, draws its first item "Kill Selected Process" as the
# frame's command states give it when the menu opens: highlighted, its text
# white on the highlight when it is enabled, grey when it is not. The
# message pane shows the item's prompt while it is highlighted, and "Ready"
# again once the menu has closed.
kill_item() {
    send_key Quellon alt+p
    wait_for "alt+P did not open the Process menu" probe menurect
    sleep 0.5
    screenshot "walk-menu-$1"
    set -- "$1" $(probe menurect) $(desktop_origin)
    # The first item: inside the menu's border of 3 pixels, 14 pixels high.
    white=$(convert "$SHOTS/walk-menu-$1.png" -crop "$(($4 - 6))x14+$(($2 + $6 + 3))+$(($3 + $7 + 3))" \
        +repage -alpha off -fill black +opaque white -fill white -opaque white \
        -format '%[fx:round(mean*w*h)]' info:)
    case $1 in
    enabled) [ "$white" -gt 30 ] || fail "Kill Selected Process is not drawn enabled ($white white pixels)" ;;
    *) [ "$white" -eq 0 ] || fail "Kill Selected Process is not drawn greyed ($white white pixels)" ;;
    esac
    pane_reads 0 "[Kill Selected]" || fail "the highlighted item's prompt is not shown: $(probe pane Quellon 0)"
    send_key Quellon Escape Escape
    wait_for "the Process menu did not close" not probe menurect
    wait_for "the message pane does not read Ready again" pane_reads 0 "[Ready]"
}

# shot_pane_text <name> <signature>: takes screenshots until the status
# bar's second pane shows a text whose pixels differ from the signature
# (ten seconds at most).
shot_pane_text() {
    i=0
    while :; do
        screenshot "$1"
        if [ "$(dark_pixels "$1" $pane_x $pane_y $pane_cx $pane_cy)" -gt 20 ] &&
            [ "$(crop_signature "$1" $pane_x $pane_y $pane_cx $pane_cy)" != "$2" ]; then
            return 0
        fi
        i=$((i + 1))
        [ "$i" -le 40 ] || fail "no new text in the status bar's second pane ($1)"
        sleep 0.25
    done
}

# The Favorites editor opened with F2 and closed with OK.
# It opens with the focus on the Candidates list, and when it has closed,
# the focus is back on Quellon's list.
open_favorites() {
    send_key Quellon F2
    probe dialog Favorites 10000 || fail "F2 did not open the Favorites dialog"
    focus_on Favorites dialog $IDC_CANDIDATES "the Favorites dialog opened without the focus on the Candidates"
    sleep 0.5
}
close_favorites_ok() {
    click_rect $(probe ctlrect Favorites 1)
    wait_for "the Favorites dialog did not close" not probe dialog Favorites 0
    focus_on Quellon window $LIST_VIEW "the list did not get the focus back from the Favorites dialog"
}
# move_item <list id> <name> <button id>: clicks a name of a list, then an arrow.
move_item() {
    rect=$(probe lbitem Favorites "$1" "$2") || fail "no '$2' in list $1"
    click_rect $rect
    click_rect $(probe ctlrect Favorites "$3")
}

# --- First start ---------------------------------------------------------
! wreg query "$KEY" >/dev/null 2>&1 || fail "the new prefix already has settings"
printf '[Newbie]\r\nStart=1\r\nSince=1998\r\n' >"$WIN_DIR/Quellon.INI"
watch_start
start_quellon
check_pace message
probe dialog Quellon 20000 || fail "the first start showed no warning"
probe texts Quellon | grep -q 'Quellon is for advanced users.' || fail "not the first-run warning"
! probe rows Quellon 1 0 >/dev/null || fail "the list was filled before the warning was closed"
screenshot walk-1-warning
[ "$(reg_value Newbie Since)" = 1998 ] || fail "the INI file was not imported"
send_key_dialog Quellon Return
probe rows Quellon 1 20000 >/dev/null || fail "the list stayed empty after the warning"
[ "$(reg_value Newbie Start)" = 0 ] || fail "Start is not 0 after the warning"

# The default rectangle: 95 % of the work area in single precision,
# truncated, centred from the screen's origin; stored at once.
set -- $(probe workarea)
expected=$(python3 -c 'import struct, sys
f = struct.unpack("f", struct.pack("f", 0.95))[0]
w, h = int(sys.argv[1]), int(sys.argv[2])
cx, cy = int(w * f), int(h * f)
print((w - cx) // 2, (h - cy) // 2, cx, cy)' "$1" "$2")
[ "$(probe rect Quellon)" = "$expected" ] || fail "window at $(probe rect Quellon), not $expected"
stored="$(reg_value Screen x) $(reg_value Screen y) $(reg_value Screen cx) $(reg_value Screen cy)"
[ "$stored" = "$expected" ] || fail "stored rectangle $stored, not $expected"

# --- F5 lists newly started programs --------------------------------------
start_helper alpha wt_alpha.exe
start_helper bravo wt_bravo.exe
start_helper charlie wt_charlie.exe
! probe find Quellon wt_alpha.exe >/dev/null || fail "wt_alpha.exe listed before F5"
send_key Quellon F5
for name in wt_alpha.exe wt_bravo.exe wt_charlie.exe; do
    wait_for "F5 did not list $name" probe find Quellon "$name"
done
screenshot walk-2-main
paths_on_drive_c

# --- A row selected with the keyboard, killed with F8 ---------------------
# Kill Selected is available exactly while a row is selected: the toolbar
# button as the program's idle time sets it, the menu item as the menu opens.
wait_for "Kill Selected's button is enabled with no row selected" button_is $ID_PROCESS_KILL disabled
kill_item disabled
send_key Quellon w t underscore a
row=$(probe find Quellon wt_alpha.exe)
[ "$(probe selected Quellon)" = "$row" ] || fail "typing did not select wt_alpha.exe's row"
wait_for "Kill Selected's button is disabled with a row selected" button_is $ID_PROCESS_KILL enabled
kill_item enabled
send_key Quellon F5
wait_for "Kill Selected's button is enabled after a refresh" button_is $ID_PROCESS_KILL disabled
send_key Quellon w t underscore a
[ "$(probe selected Quellon)" = "$row" ] || fail "typing did not select wt_alpha.exe's row again"
wait_for "Kill Selected's button is disabled with a row selected again" button_is $ID_PROCESS_KILL enabled
screenshot walk-3-selected
send_key Quellon F8
probe wait-exit "$alpha" 10000 || fail "F8 did not kill wt_alpha.exe"
wait_for "wmic still lists wt_alpha.exe" not process_listed wt_alpha.exe
wait_for "wt_alpha.exe's row stayed" not probe find Quellon wt_alpha.exe
probe alive "$bravo" && probe alive "$charlie" || fail "F8 killed another process"
wait_for "Kill Selected's button is enabled after the kill" button_is $ID_PROCESS_KILL disabled

# --- F2: a Favorites list of a moved and a typed name ---------------------
open_favorites
move_item $IDC_CANDIDATES wt_charlie.exe $IDC_ADD
# The arrow, clicked, had the focus and disabled itself: its list has it.
focus_on Favorites dialog $IDC_CANDIDATES "the focus did not go from the disabled arrow to its list"
click_rect $(probe ctlrect Favorites $IDC_MANUALADD)
probe dialog "Add Process Name" 10000 || fail "no Add Process Name dialog"
focus_on "Add Process Name" dialog $IDC_NAME "Add Process Name opened without the focus on its edit box"
send_text "Add Process Name" wt_delta.exe
send_key_dialog "Add Process Name" Return
wait_for "the Add Process Name dialog stayed" not probe dialog "Add Process Name" 0
focus_on Favorites dialog $IDC_MANUALADD "the Favorites dialog did not get the focus back"
probe lbitem Favorites $IDC_FAVORITES WT_CHARLIE.EXE >/dev/null || fail "WT_CHARLIE.EXE not moved"
probe lbitem Favorites $IDC_FAVORITES WT_DELTA.EXE >/dev/null || fail "WT_DELTA.EXE not added"
screenshot walk-4-favorites
close_favorites_ok
[ "$(reg_value Settings Fav0)" = WT_CHARLIE.EXE ] || fail "Fav0 is not WT_CHARLIE.EXE"
[ "$(reg_value Settings Fav1)" = WT_DELTA.EXE ] || fail "Fav1 is not WT_DELTA.EXE"
[ -z "$(reg_value Settings Fav2)" ] || fail "more than two Favorites stored"

# --- F9 kills both, naming each in the status bar ---------------------------
# A kill is over in a moment. To see the pass at work, the Wine server is
# slowed down where it ends a process: each signal it sends to end a
# thread waits three seconds (strace delays the system call), while Quellon
# waits for the process to end with its status bar drawn.
start_helper delta wt_delta.exe
send_key Quellon F5
wait_for "wt_delta.exe not listed" probe find Quellon wt_delta.exe
set -- $(probe ctlrect Quellon $STATUS_BAR)
pane_x=$(($1 + $3 / 2))
pane_y=$(($2 + 2))
pane_cx=$(($3 / 2 - 20))
pane_cy=$(($4 - 4))
dir=$(stat -c %D "$QUELLON_PREFIX")-$(printf %x "$(stat -c %i "$QUELLON_PREFIX")")
server=""
for pid in $(pgrep -f wineserver); do
    case "$(readlink "/proc/$pid/cwd" 2>/dev/null)" in */server-"$dir") server=$pid ;; esac
done
[ -n "$server" ] || fail "the prefix's Wine server is not running"
focus Quellon
strace -q -e signal=none -p "$server" -e trace=tgkill -e inject=tgkill:delay_enter=3000000 \
    -o "$TMP/strace.log" 2>"$TMP/strace.err" &
STRACE_PID=$!
sleep 1
kill -0 "$STRACE_PID" 2>/dev/null || fail "strace could not attach: $(cat "$TMP/strace.err")"
xdotool key F9
shot_pane_text walk-5-killing-1 ""
first=$(crop_signature walk-5-killing-1 $pane_x $pane_y $pane_cx $pane_cy)
shot_pane_text walk-5-killing-2 "$first"
probe wait-exit "$charlie" 15000 || fail "F9 did not kill wt_charlie.exe"
probe wait-exit "$delta" 15000 || fail "F9 did not kill wt_delta.exe"
wait_for "wmic still lists wt_charlie.exe" not process_listed wt_charlie.exe
wait_for "wmic still lists wt_delta.exe" not process_listed wt_delta.exe
kill "$STRACE_PID"
wait "$STRACE_PID" 2>/dev/null || true
STRACE_PID=""
[ "$(grep -c 'SIGQUIT' "$TMP/strace.log")" -ge 2 ] || fail "the server did not end two processes"
[ "$(probe pane Quellon 1)" = "[     ]" ] || fail "the pane is not five blanks after the pass"
screenshot walk-5-killed
after=$(dark_pixels walk-5-killed $pane_x $pane_y $pane_cx $pane_cy)
[ "$after" -eq 0 ] || fail "the pane is not blank after the pass ($after dark pixels)"
probe alive "$bravo" || fail "F9 killed wt_bravo.exe"

# --- Resized, moved, a column narrowed, closed -------------------------------
set -- $(probe rect Quellon)
drag $(($1 + $3 - 3)) $(($2 + $4 - 3)) -120 -90
set -- $(probe rect Quellon)
drag $(($1 + $3 / 2)) $(($2 + 10)) 40 30
set -- $(probe ctlrect Quellon $LIST_VIEW)
set -- "$1" "$2" $(probe columns Quellon)
drag $(($1 + $3 + 1)) $(($2 + 8)) -50 0
moved=$(probe rect Quellon)
widths=$(probe columns Quellon)
[ "$moved" != "$expected" ] || fail "the window did not move"
[ "${widths%% *}" -lt "${3}" ] || fail "the first column did not narrow"
stored="$(reg_value Screen x) $(reg_value Screen y) $(reg_value Screen cx) $(reg_value Screen cy)"
[ "$stored" = "$moved" ] || fail "stored rectangle $stored, not the window's $moved"
screenshot walk-6-moved
send_key Quellon alt+F4
wait_quellon
stored="$(reg_value Grid col0) $(reg_value Grid col1) $(reg_value Grid col2) $(reg_value Grid col3)"
[ "$stored $(reg_value Grid col4)" = "$widths" ] || fail "stored widths $stored, not $widths"

# --- The second start: no warning, no import, as it was left --------------
printf '[Newbie]\r\nStart=1\r\nSince=2001\r\n' >"$WIN_DIR/Quellon.INI"
start_quellon
probe rows Quellon 1 20000 >/dev/null || fail "the second start did not fill the list"
! probe dialog Quellon 0 || fail "the second start showed a message"
[ "$(reg_value Newbie Since)" = 1998 ] || fail "the INI file was imported again"
[ "$(probe rect Quellon)" = "$moved" ] || fail "second start at $(probe rect Quellon), not $moved"
[ "$(probe columns Quellon)" = "$widths" ] || fail "columns $(probe columns Quellon), not $widths"

# --- F10 with an empty Favorites list stays open -----------------------------
open_favorites
move_item $IDC_FAVORITES WT_CHARLIE.EXE $IDC_REMOVE
focus_on Favorites dialog $IDC_FAVORITES "the focus did not go from the disabled arrow to its list"
move_item $IDC_FAVORITES WT_DELTA.EXE $IDC_REMOVE
close_favorites_ok
[ -z "$(reg_value Settings Fav0)" ] || fail "the emptied list left Fav0"
send_key Quellon F10
probe dialog Quellon 10000 || fail "F10 with no Favorites showed no message"
probe texts Quellon | grep -q 'Favorites List has no Contents - hit F2 to Edit' ||
    fail "not the empty-list message"
screenshot walk-7-empty
send_key_dialog Quellon Return
sleep 1
probe wait Quellon 0 || fail "F10 with no Favorites closed Quellon"
kill -0 "$QUELLON_PID" || fail "Quellon ended"

# --- F10 with a Favorite kills it and closes ---------------------------------
open_favorites
move_item $IDC_CANDIDATES wt_bravo.exe $IDC_ADD
close_favorites_ok
[ "$(reg_value Settings Fav0)" = WT_BRAVO.EXE ] || fail "Fav0 is not WT_BRAVO.EXE"
send_key Quellon F10
wait_quellon
probe wait-exit "$bravo" 5000 || fail "F10 did not kill wt_bravo.exe"
wait_for "wmic still lists wt_bravo.exe" not process_listed wt_bravo.exe
echo "PASS"
