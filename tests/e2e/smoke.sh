#!/bin/sh
# Quellon starts, imports the legacy INI file on its first run, shows its
# window titled "Quellon" with the process list, and closes through
# WM_CLOSE, saving its column widths.
. "$(dirname "$0")/lib.sh"

reset_settings
printf '[Newbie]\r\nStart=0\r\n[Settings]\r\nFav0=smoke.exe\r\n' >"$WIN_DIR/Quellon.INI"
trap 'rm -f "$WIN_DIR/Quellon.INI"; cleanup' EXIT

start_quellon
probe wait Quellon 20000 || fail "no top-level window titled Quellon"
probe rows Quellon 1 20000 >/dev/null || fail "the process list stayed empty"
sleep 1
screenshot main

[ "$(reg_value Settings Fav0)" = smoke.exe ] || fail "the INI file was not imported"
[ -n "$(reg_value Screen cx)" ] || fail "the window placement was not stored"

probe close Quellon || fail "could not post WM_CLOSE"
wait_quellon
for i in 0 1 2 3 4; do
    [ -n "$(reg_value Grid "col$i")" ] || fail "column width col$i was not saved"
done
echo "PASS"
