#!/bin/sh
# F2 in the real Quellon.exe opens the Favorites editor; the name of a
# running program is moved to the Favorites with the keyboard, and OK
# stores it as Fav0. Quellon then closes through WM_CLOSE.
. "$(dirname "$0")/lib.sh"

reset_settings quiet
helper=$(probe start "$(place_helper zipsync.exe)") || fail "the helper did not start"
trap 'wr taskkill /f /pid "$helper" >/dev/null 2>&1 </dev/null || true; cleanup' EXIT

start_quellon
probe wait Quellon 20000 || fail "no Quellon window"
probe rows Quellon 1 20000 >/dev/null || fail "the process list stayed empty"

send_key Quellon F2
probe dialog Favorites 10000 || fail "F2 did not open the Favorites dialog"
sleep 0.5
# The Candidates list has the focus: its first name starting with "z" is
# selected, Tab goes on to the "-->" button and space presses it.
send_key Favorites z Tab space
sleep 0.5
screenshot favorites
[ -z "$(reg_value Settings Fav0)" ] || fail "something was stored before OK"

probe press Favorites 1 || fail "no OK button"
i=0
while probe dialog Favorites 0; do
    i=$((i + 1))
    [ $i -lt 50 ] || fail "the Favorites dialog did not close"
    sleep 0.1
done
[ "$(reg_value Settings Fav0)" = ZIPSYNC.EXE ] || fail "Fav0 is not ZIPSYNC.EXE"
[ -z "$(reg_value Settings Fav1)" ] || fail "more than one name was stored"

probe close Quellon || fail "could not post WM_CLOSE"
wait_quellon
echo "PASS"
