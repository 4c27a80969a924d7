#!/bin/sh
# The real Quellon.exe as Windows 95, 98 and Me give it Tool Help
# (qninex.dll, loaded into it by the probe): the kernel's own entry first,
# identifiers near 2^32, and 16-bit Windows programs and the host of an
# MS-DOS session named by the kernel's module. They are listed under their
# own files, F8 and F9 end them, and F8 on the kernel's row harms nothing.
# Helpers in the folder 16BIT stand for the 16-bit programs.
# It runs beside the robustness tests, which also try the program on
# platforms that Wine is not:
# Lane: robustness
. "$(dirname "$0")/lib.sh"

reset_settings quiet
wreg add "$KEY\\Settings" /v Fav0 /d write.exe /f >/dev/null
dir="$QUELLON_PREFIX/drive_c/quellon-e2e/16bit"
mkdir -p "$dir"
for name in SOL.EXE WRITE.EXE WINOA386.MOD; do
    cp "$QUELLON_BUILD/tests/qhelper.exe" "$dir/$name"
done
HELPERS=""
start16() {
    pid=$(probe start "C:\\quellon-e2e\\16bit\\$2") || fail "$2 did not start"
    HELPERS="$HELPERS $pid"
    eval "$1=$pid"
}
trap 'for pid in $HELPERS; do wr taskkill /f /pid "$pid" >/dev/null 2>&1 </dev/null || true; done; cleanup' EXIT
start16 sol SOL.EXE
start16 write WRITE.EXE
start16 write2 WRITE.EXE
start16 dos WINOA386.MOD
dll=$(install_program "$QUELLON_BUILD/tests/qninex.dll" quellon-e2e)

start_quellon
probe wait Quellon 20000 || fail "no Quellon window"
probe rows Quellon 1 20000 >/dev/null || fail "the list stayed empty"
probe inject Quellon 'C:\quellon-e2e\qninex.dll' || fail "qninex.dll did not load into Quellon"
send_key Quellon F5

# row <name> <pid>: the row of that name shows the family's identifier of
# the process and its own file.
row_of() {
    expected=$(printf '%s\t%X\t' "$1" $(($2 ^ 0xFFEF0000)))
    i=0
    until probe row Quellon "$1" >"$TMP/row" && case "$(cat "$TMP/row")" in "$expected"*) true ;; *) false ;; esac; do
        i=$((i + 1))
        [ "$i" -le 100 ] || fail "no row '$expected...': $(cat "$TMP/row")"
        sleep 0.1
    done
    [ "$(cut -f 5 "$TMP/row")" = "C:\\QUELLON-E2E\\16BIT\\$1" ] || fail "the path of $1: $(cat "$TMP/row")"
}
row_of SOL.EXE "$sol"
row_of WINOA386.MOD "$dos"
probe row Quellon KERNEL32.DLL >"$TMP/row" || fail "no row of the kernel"
[ "$(cat "$TMP/row")" = "$(printf 'KERNEL32.DLL\tFFEF4BCD\t8\t1\tC:\\WINDOWS\\SYSTEM\\KERNEL32.DLL')" ] ||
    fail "the kernel's row: $(cat "$TMP/row")"
[ "$(probe paths Quellon | grep -c 'KERNEL32.DLL$')" -eq 1 ] || fail "more than one kernel row"
[ "$(probe paths Quellon | grep -c 'WRITE.EXE$')" -eq 1 ] || fail "two rows of WRITE.EXE"
screenshot windows95

# F8 on the kernel's row: nothing ends, Quellon runs on.
send_key Quellon k e r n e l 3 2
[ "$(probe selected Quellon)" = "$(probe find Quellon KERNEL32.DLL)" ] || fail "the kernel's row is not selected"
send_key Quellon F8
sleep 1
probe row Quellon KERNEL32.DLL >/dev/null || fail "F8 took the kernel's row away"
kill -0 "$QUELLON_PID" || fail "Quellon ended"

# F8 on the 16-bit program's row.
send_key Quellon s o l
[ "$(probe selected Quellon)" = "$(probe find Quellon SOL.EXE)" ] || fail "SOL.EXE's row is not selected"
send_key Quellon F8
probe wait-exit "$sol" 10000 || fail "F8 did not end SOL.EXE"

# F9 with its name ends the instance that the row shows.
shown=$(probe row Quellon WRITE.EXE | cut -f 2)
send_key Quellon F9
i=0
until ! probe alive "$write" || ! probe alive "$write2"; do
    i=$((i + 1))
    [ "$i" -le 100 ] || fail "F9 did not end WRITE.EXE"
    sleep 0.1
done
if probe alive "$write"; then ended=$write2; else ended=$write; fi
[ "$(printf %X $((ended ^ 0xFFEF0000)))" = "$shown" ] || fail "F9 ended another WRITE.EXE than the row's $shown"
probe alive "$write" || probe alive "$write2" || fail "F9 ended both WRITE.EXE"
probe alive "$dos" || fail "the MS-DOS session's host ended"

probe close Quellon || fail "could not post WM_CLOSE"
wait_quellon
echo "PASS"
