#!/bin/sh
# Quellon starts, imports the legacy INI file on its first run, shows its
# window titled "Quellon" with the process list (the first rows follow the
# window's showing at the start-up timer's pace), and closes through
# WM_CLOSE, saving its column widths and leaving the framework's recent-file
# list as it found it (read at the start and written back at the close).
. "$(dirname "$0")/lib.sh"

reset_settings
printf '[Newbie]\r\nStart=0\r\n[Settings]\r\nFav0=smoke.exe\r\n' >"$WIN_DIR/Quellon.INI"
MRU='HKCU\Software\Local AppWizard-Generated Applications\Quellon\Recent File List'
trap 'rm -f "$WIN_DIR/Quellon.INI"; wreg delete "$MRU" /f >/dev/null 2>&1 || true; cleanup' EXIT
# Three entries, the third after a gap: the list ends at the gap.
wreg delete "$MRU" /f >/dev/null 2>&1 || true
wreg add "$MRU" /v File1 /d 'C:\Docs\One.txt' /f >/dev/null
wreg add "$MRU" /v File2 /d 'C:\Docs\Two.txt' /f >/dev/null
wreg add "$MRU" /v File4 /d 'C:\Docs\Four.txt' /f >/dev/null
mru=$(wreg query "$MRU" | tr -d '\r')

watch_start
start_quellon
check_pace rows
probe wait Quellon 20000 || fail "no top-level window titled Quellon"
probe rows Quellon 1 20000 >/dev/null || fail "the process list stayed empty"
sleep 1
screenshot main
paths_on_drive_c

[ "$(reg_value Settings Fav0)" = smoke.exe ] || fail "the INI file was not imported"
[ -n "$(reg_value Screen cx)" ] || fail "the window placement was not stored"

probe close Quellon || fail "could not post WM_CLOSE"
wait_quellon
for i in 0 1 2 3 4; do
    [ -n "$(reg_value Grid "col$i")" ] || fail "column width col$i was not saved"
done
[ "$(wreg query "$MRU" | tr -d '\r')" = "$mru" ] ||
    fail "the recent-file list changed: $(wreg query "$MRU" | tr -d '\r')"
echo "PASS"
