# Shared parts of the end-to-end tests: they run the real Quellon.exe in
# the test prefix and look at it from outside, with the Windows-side probe
# (qprobe.exe), Wine's own reg, and screenshots of the virtual display.
set -eu
: "${QUELLON_BUILD:?}" "${QUELLON_PREFIX:?}" "${QUELLON_SOURCE:?}"

KEY='HKLM\Software\Corvanel Software\Quellon'
WIN_DIR="$QUELLON_PREFIX/drive_c/windows"
SHOTS="$QUELLON_BUILD/screenshots"
mkdir -p "$SHOTS"

wr() { "$QUELLON_SOURCE/scripts/wine-run.sh" "$QUELLON_PREFIX" "$@"; }
probe() { wr "$QUELLON_BUILD/tests/qprobe.exe" "$@" | tr -d '\r'; }
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Quellon's settings removed; with "quiet", the first-run warning is marked
# as shown.
reset_settings() {
    wr reg delete "$KEY" /f >/dev/null 2>&1 || true
    if [ "${1:-}" = quiet ]; then
        wr reg add "$KEY\\Newbie" /v Start /d 0 /f >/dev/null
    fi
}

# reg_value <section> <name>: the stored text, empty when absent.
reg_value() {
    wr reg query "$KEY\\$1" /v "$2" 2>/dev/null | tr -d '\r' |
        awk -v n="$2" '$1 == n && $2 == "REG_SZ" { sub(/^[ \t]*[^ \t]+[ \t]+REG_SZ[ \t]+/, ""); print }'
}

# Starts Quellon.exe in the background; QUELLON_PID is the process to wait for.
start_quellon() {
    wr "$QUELLON_BUILD/Quellon.exe" "$@" &
    QUELLON_PID=$!
}

# wait_quellon: waits for Quellon to end and fails on a non-zero exit code.
wait_quellon() {
    code=0
    wait "$QUELLON_PID" || code=$?
    [ "$code" -eq 0 ] || fail "Quellon exited with code $code"
}

screenshot() { import -window root "$SHOTS/$1.png"; }
