#!/bin/sh
# Shows that two clean builds of the committed state give the same bytes.
# It clones this repository's committed state into two fresh folders and
# builds the program and the release in each, one after the other, the
# second in another time zone and with another umask; then it compares
# Quellon.exe and every file of the release byte for byte and prints their
# SHA-256 hashes. Run by maintainers before a release, and by the
# bare-machine check on each Debian release (it takes two builds' time, too
# long for every test run).
#
#   scripts/check-reproducible.sh
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
"$src/scripts/deps.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/quellon-reproducible.XXXXXX")
trap 'rm -rf "$work"' EXIT

build() { # build <folder> <time zone> <umask>
    git clone -q "$src" "$work/$1"
    (
        cd "$work/$1"
        umask "$3"
        export TZ="$2"
        cmake -S . -B build -DQUELLON_TESTS=OFF >"$work/$1.log" 2>&1 &&
            cmake --build build --target release >>"$work/$1.log" 2>&1
    ) || {
        cat "$work/$1.log" >&2
        echo "The build in $work/$1 failed." >&2
        exit 1
    }
    echo "Built $(git -C "$work/$1" rev-parse --short HEAD) in $work/$1 at $(date -u +%H:%M:%S) UTC." >&2
}

build first UTC 022
build second Pacific/Kiritimati 077

status=0
for file in Quellon.exe $(cd "$work/first/build" && ls release/*); do
    if cmp -s "$work/first/build/$file" "$work/second/build/$file"; then
        (cd "$work/first/build" && sha256sum "$file")
    else
        echo "$file differs between the two builds." >&2
        status=1
    fi
done
[ "$status" -eq 0 ] && echo "The two builds gave the same bytes." >&2
exit "$status"
