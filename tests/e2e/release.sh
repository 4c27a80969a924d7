#!/bin/sh
# The release archive holds exactly the built program and a plain-text
# read-me with Windows line ends; the program as copied from the release's
# floppy image into a folder of its own starts, lists the processes and
# closes normally. (In the 64-bit stand-in build the release is the 32-bit
# build's, and the stand-in takes the copied program's place in the folder
# to be started there.)
. "$(dirname "$0")/lib.sh"

zip="$QUELLON_PRODUCT/release/Quellon-1.1-win32.zip"
floppy="$QUELLON_PRODUCT/release/Quellon-1.1-floppy.img"
[ -f "$zip" ] || fail "no $zip"
dir="$QUELLON_PREFIX/drive_c/quellon-release"
rm -rf "$dir"
mkdir -p "$dir"
trap 'rm -rf "$dir"; cleanup' EXIT
(cd "$dir" && cmake -E tar xf "$zip") || fail "the archive does not unpack"

[ "$(ls "$dir" | tr '\n' ' ')" = "Quellon.exe README.TXT " ] || fail "the archive holds: $(ls "$dir")"
cmp -s "$dir/Quellon.exe" "$QUELLON_PRODUCT/Quellon.exe" || fail "the packed program is not the built one"
readme="$dir/README.TXT"
[ "$(grep -c "$(printf '\r')\$" "$readme")" -eq "$(wc -l <"$readme")" ] ||
    fail "README.TXT has lines without CR LF"
for text in F2 F5 F8 F9 F10 'HKEY_LOCAL_MACHINE\Software\Corvanel Software\Quellon' \
    'Windows 95, 98 or Me' 'Version /d win98'; do
    grep -qF "$text" "$readme" || fail "README.TXT does not mention $text"
done

rm "$dir/Quellon.exe"
"$QUELLON_SOURCE/tests/check-release.py" extract "$floppy" QUELLON.EXE "$dir/QUELLON.EXE" ||
    fail "no QUELLON.EXE on the floppy image"
if [ "$QUELLON_STANDIN" = 1 ]; then
    cp "$QUELLON_BUILD/Quellon.exe" "$dir/QUELLON.EXE"
fi
reset_settings quiet
QUELLON_EXE='C:\quellon-release\QUELLON.EXE'
start_quellon
probe wait Quellon 20000 || fail "the program from the floppy shows no window"
probe rows Quellon 1 20000 >/dev/null || fail "the list of the program from the floppy stayed empty"
probe find Quellon Quellon.exe >/dev/null || fail "the program from the floppy does not list itself"
probe close Quellon || fail "could not post WM_CLOSE"
wait_quellon
echo "PASS"
