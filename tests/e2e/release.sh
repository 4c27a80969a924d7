#!/bin/sh
# The release archive holds exactly the built program and a plain-text
# read-me with Windows line ends; unpacked into a folder of its own, the
# program starts, lists the processes and closes normally. (In the 64-bit
# stand-in build the archive is the 32-bit build's, and the stand-in takes
# the packed program's place in the folder to be started there.)
. "$(dirname "$0")/lib.sh"

zip="$QUELLON_PRODUCT/Quellon-1.1-win32.zip"
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

if [ "$QUELLON_STANDIN" = 1 ]; then
    cp "$QUELLON_BUILD/Quellon.exe" "$dir/Quellon.exe"
fi
reset_settings quiet
QUELLON_EXE='C:\quellon-release\Quellon.exe'
start_quellon
probe wait Quellon 20000 || fail "the unpacked program shows no window"
probe rows Quellon 1 20000 >/dev/null || fail "the unpacked program's list stayed empty"
probe find Quellon Quellon.exe >/dev/null || fail "the unpacked program does not list itself"
probe close Quellon || fail "could not post WM_CLOSE"
wait_quellon
echo "PASS"
