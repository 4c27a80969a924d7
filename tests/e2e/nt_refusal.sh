#!/bin/sh
# With Wine reporting Windows NT to it, Quellon refuses to run: it shows
# "Quellon is not designed for NT or Win2K", never fills its list, and
# closes by its normal path once the message is dismissed.
# It runs beside the robustness tests, which also try the program on
# platforms that Wine is not:
# Lane: robustness
. "$(dirname "$0")/lib.sh"

APPDEF='HKCU\Software\Wine\AppDefaults\Quellon.exe'
wreg add "$APPDEF" /v Version /d nt40 /f >/dev/null
trap 'wreg add "$APPDEF" /v Version /d win98 /f >/dev/null; cleanup' EXIT

reset_settings
start_quellon
probe dialog Quellon 20000 || fail "no message box appeared"
probe texts Quellon | grep -q 'Quellon is not designed for NT or Win2K' ||
    fail "the refusal text is not shown"
screenshot refusal
if probe rows Quellon 1 500 >/dev/null; then
    fail "the process list was filled"
fi
probe press Quellon 1 || fail "could not press OK"
wait_quellon
[ -n "$(reg_value Grid col0)" ] || fail "the close did not go the normal way"
[ -z "$(reg_value Newbie Start)" ] || fail "the first-run warning was handled"
echo "PASS"
