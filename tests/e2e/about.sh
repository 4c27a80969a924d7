#!/bin/sh
# The About box of the real Quellon.exe, opened from the Help menu with the
# keyboard: titled "About Quellon", with the focus on OK, showing the
# program's texts and both links drawn in the link colour, and closed again
# with Esc, which gives the focus back to the list.
. "$(dirname "$0")/lib.sh"

reset_settings quiet

# The pixels of a screenshot in pure blue, the colour of a link not yet opened.
blue_pixels() {
    convert "$SHOTS/$1.png" -alpha off -fill black +opaque '#0000FF' -fill white \
        -opaque '#0000FF' -format '%[fx:round(mean*w*h)]' info:
}

# Waits until no dialog of that title is left.
dialog_gone() {
    for _ in $(seq 50); do
        probe dialog "$1" 0 >/dev/null || return 0
        sleep 0.2
    done
    return 1
}

start_quellon
probe wait Quellon 20000 || fail "no top-level window titled Quellon"
probe rows Quellon 1 20000 >/dev/null || fail "the process list stayed empty"
sleep 1
screenshot about-before

# Alt+H opens the Help menu, A its item "About Quellon...".
send_key Quellon alt+h
sleep 0.5
send_key Quellon a
probe dialog "About Quellon" 10000 || fail "the About box did not open from the Help menu"
focus_on "About Quellon" dialog 1 "the About box opened without the focus on OK"
sleep 1
screenshot about

texts=$(probe texts "About Quellon")
for text in "Quellon Version 1.1" "A 32 bit application" "help@corvanel.example" \
    "http://www.corvanel.example/" "Kills processes in a controlled way."; do
    printf '%s\n' "$texts" | grep -qF "$text" || fail "the About box does not show '$text'"
done
before=$(blue_pixels about-before)
after=$(blue_pixels about)
[ "$after" -gt $((before + 100)) ] ||
    fail "the links are not drawn in blue ($before blue pixels before, $after with the box)"

send_key "About Quellon" Escape
dialog_gone "About Quellon" || fail "Esc did not close the About box"
probe wait Quellon 0 >/dev/null || fail "Quellon's window went with the About box"
focus_on Quellon window 59648 "the list did not get the focus back from the About box"

probe close Quellon || fail "could not post WM_CLOSE"
wait_quellon
echo "PASS"
