#!/bin/sh
# Times the start of Quellon in each way this machine can run it: from the
# launch of the Wine command until the main window's list shows rows (the
# start-up timer of 200 ms included), measured from the Linux side, the
# same for every way. Prints "start.<way>.median <ms>" and
# "start.<way>.runs <n>" lines for scripts/bench.sh. The ways:
#   native    the 32-bit Quellon.exe in a 32-bit prefix (only where the
#             kernel itself runs 32-bit code);
#   emulated  the 32-bit Quellon.exe in a 64-bit prefix, its loader run by
#             qemu with the libraries of scripts/emulator, as scripts/i386.sh
#             sets it up (qemu is started directly here, which binfmt_misc
#             does the same way);
#   bare      the same without the emulated loader's library (one start:
#             it takes a minute);
#   standin   the 64-bit stand-in build's Quellon.exe in a 64-bit prefix.
# Needs the 32-bit build (scripts/build.sh) and a display. The ways after
# the first need 64-bit Wine, qemu and the 64-bit compiler, which only a
# machine that emulates has installed: the set-up is asked for them
# (scripts/deps.sh --emulation), and a way whose tools are still missing
# is left out with a "start.<way>.left_out <reason>" line.
#
#   scripts/bench-start-ways.sh [repetitions]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
reps=${1:-5}
build="$root/build"
probe="$build/tests/qprobe.exe"
key='HKLM\Software\Corvanel Software\Quellon\Newbie'
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="

. "$root/scripts/i386.sh"
"$root/scripts/deps.sh" --emulation >&2 ||
    echo "The tools of the emulated and stand-in starts could not be installed; those ways are left out." >&2

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

# once <prefix> <registry view> <command...>: one start, in ms.
once() {
    p=$1
    view=$2
    shift 2
    WINEPREFIX=$p wine reg add "$key" /v Start /d 0 /f $view >/dev/null 2>&1 </dev/null
    t0=$(date +%s%N)
    WINEPREFIX=$p "$@" >/dev/null 2>&1 </dev/null &
    started=$!
    WINEPREFIX=$p wine "$probe" rows Quellon 1 300000 >/dev/null 2>&1 </dev/null ||
        echo "no rows within 300 s" >&2
    t1=$(date +%s%N)
    WINEPREFIX=$p wine "$probe" close Quellon >/dev/null 2>&1 </dev/null || true
    wait "$started" || true
    echo $(((t1 - t0) / 1000000))
}

# way <name> <repetitions> <prefix> <registry view> <command...>
way() {
    name=$1
    n=$2
    shift 2
    i=0
    : >"$tmp/$name"
    while [ "$i" -lt "$n" ]; do
        once "$@" >>"$tmp/$name"
        i=$((i + 1))
    done
    echo "start.$name.median $(median <"$tmp/$name")"
    echo "start.$name.runs $n"
}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

code=0
"$root/scripts/runs-i386.sh" || code=$?
if [ "$code" -eq 0 ]; then
    p32="$build/bench-wine"
    QUELLON_WINEARCH=win32 "$root/scripts/wineprefix.sh" "$p32" >&2
    WINEPREFIX=$p32 WINEARCH=win32 way native "$reps" "$p32" "" wine "$build/Quellon.exe"
    WINEPREFIX=$p32 wineserver -k 2>/dev/null || true
fi

left_out() { # left_out <reason> <way...>
    reason=$1
    shift
    for w in "$@"; do
        echo "start.$w.left_out $reason"
    done
}

if [ ! -x /usr/lib/wine/wine64 ]; then
    left_out "64-bit Wine (wine64) is not installed" emulated bare standin
    exit 0
fi
emulate=yes
if ! command -v qemu-i386-static >/dev/null 2>&1; then
    left_out "qemu's user-mode emulator (qemu-user-static) is not installed" emulated bare
    emulate=""
elif ! libs=$(i386_emulator_libraries); then
    left_out "the emulator's libraries could not be built (gcc)" emulated bare
    emulate=""
fi
standin=""
if ! command -v x86_64-w64-mingw32-g++-win32 >/dev/null 2>&1; then
    left_out "the 64-bit MinGW-w64 compiler (g++-mingw-w64-x86-64-win32) is not installed" standin
elif ! standin=$("$root/scripts/build-standin.sh"); then
    left_out "the stand-in build failed" standin
    standin=""
fi

p64="$build/bench-wine64"
(
    export PATH="$root/scripts/wine64:$PATH" QUELLON_WINEARCH=win64 WINEARCH=win64
    [ -z "$emulate" ] || export QUELLON_SERVER_LIBRARY="$libs/server-memory.so"
    "$root/scripts/wineprefix.sh" "$p64" >&2
    WINEPREFIX=$p64 wineserver -k 2>/dev/null || true
    WINEPREFIX=$p64 wineserver -p
    if [ -n "$emulate" ]; then
        way emulated "$reps" "$p64" /reg:32 env WINELOADERNOEXEC=1 \
            qemu-i386-static -E "$(i386_loader_preload "$libs")" /usr/lib/wine/wine "$build/Quellon.exe"
        # Without the library even where the caller emulates with it (the
        # probe that watches the start keeps it).
        way bare 1 "$p64" /reg:32 env -u QEMU_SET_ENV WINELOADERNOEXEC=1 \
            qemu-i386-static /usr/lib/wine/wine "$build/Quellon.exe"
    fi
    if [ -n "$standin" ]; then
        way standin "$reps" "$p64" /reg:64 wine "$standin/Quellon.exe"
    fi
    WINEPREFIX=$p64 wineserver -k 2>/dev/null || true
)
