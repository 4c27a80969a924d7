#!/bin/sh
# F10 in the real Quellon.exe: the two Favorites stored with Wine's reg are
# running and are killed, and Quellon exits, its column widths saved.
. "$(dirname "$0")/lib.sh"

reset_settings quiet
wreg add "$KEY\\Settings" /v Fav0 /d e2e_two.exe /f >/dev/null
wreg add "$KEY\\Settings" /v Fav1 /d E2E_ONE.EXE /f >/dev/null
one=$(probe start "$(place_helper e2e_one.exe)")
two=$(probe start "$(place_helper e2e_two.exe)")
[ -n "$one" ] && [ -n "$two" ] || fail "the helper processes did not start"
probe alive "$one" && probe alive "$two" || fail "the helper processes are not running"

start_quellon
probe wait Quellon 20000 || fail "no Quellon window"
probe rows Quellon 1 20000 >/dev/null || fail "the list stayed empty"
send_key Quellon F10
wait_quellon

probe wait-exit "$one" 5000 || fail "e2e_one.exe is still running"
probe wait-exit "$two" 5000 || fail "e2e_two.exe is still running"
for name in e2e_one.exe e2e_two.exe; do
    ! process_listed "$name" || fail "$name is still listed by wmic"
done
for i in 0 1 2 3 4; do
    [ -n "$(reg_value Grid "col$i")" ] || fail "column width col$i was not saved"
done
echo "PASS"
