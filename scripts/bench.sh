#!/bin/sh
# Builds Quellon and its benchmark, runs the benchmark under Wine in a prefix
# of its own (build/bench-wine) and writes docs/performance.md. Without a
# display it starts Xvfb for the run. Where this machine cannot run 32-bit
# x86 programs, the benchmark of the 64-bit stand-in build runs, in a 64-bit
# prefix (build/bench-wine64); the footprint is the 32-bit program's.
#
#   scripts/bench.sh [refresh-repetitions [kill-repetitions [start-up-repetitions]]]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
reps_refresh=${1:-21}
reps_kill=${2:-11}
reps_startup=${3:-11}

"$root/scripts/build.sh"

. "$root/scripts/i386.sh"
choose_i386
prefix=$(i386_prefix bench-wine)
bench_exe="$I386_BUILD/bench/quellon_bench.exe"
wine_note="32-bit prefix of its own (\`build/bench-wine\`)"
if [ "$I386_WAY" = standin ]; then
    wine_note="64-bit prefix of its own (\`build/bench-wine64\`), running the
  64-bit stand-in build of the same sources"
elif [ "$I386_WAY" != native ]; then
    wine_note="64-bit prefix of its own (\`build/bench-wine64\`), the 32-bit
  programs emulated by qemu: this machine runs no 32-bit code itself"
fi
out="$root/docs/performance.md"
results=$(mktemp)

. "$root/scripts/xvfb.sh"
cleanup() {
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    stop_xvfb
    rm -f "$results"
    i386_release
}
trap cleanup EXIT
trap 'exit 130' INT TERM

display_note="the current X display (${DISPLAY:-})"
if [ -z "${DISPLAY:-}" ]; then
    start_xvfb
    display_note="Xvfb, 1024 x 768 x 24"
fi

"$root/scripts/wineprefix.sh" "$prefix" quellon_bench.exe=win98

bench() {
    echo "benchmark: $1" >&2
    "$root/scripts/wine-run.sh" "$prefix" "$bench_exe" "$@" </dev/null |
        tr -d '\r' >>"$results"
}
bench refresh "$reps_refresh"
bench kill "$reps_kill"
bench startup "$reps_startup"
echo "benchmark: start in each way" >&2
"$root/scripts/bench-start-ways.sh" 5 >>"$results"

# v <key>: a result, with one decimal; r <key>: with two; i <key>: whole.
v() { awk -v k="$1" '$1 == k { printf "%.1f", $2; found = 1 } END { if (!found) exit 1 }' "$results"; }
r() { awk -v k="$1" '$1 == k { printf "%.2f", $2; found = 1 } END { if (!found) exit 1 }' "$results"; }
i() { awk -v k="$1" '$1 == k { printf "%d", $2; found = 1 } END { if (!found) exit 1 }' "$results"; }
# pct <part-key> <whole-key>
pct() {
    awk -v p="$1" -v w="$2" '$1 == p { a = $2 } $1 == w { b = $2 } END { printf "%.0f", 100 * a / b }' \
        "$results"
}

cpu=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
cores=$(nproc)
mem=$(awk '/^MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo)
os=$(. /etc/os-release && echo "$PRETTY_NAME")
kernel=$(uname -r)
wine_version=$(wine --version)
exe="$root/build/Quellon.exe"
exe_bytes=$(stat -c %s "$exe")
exe_kib=$(awk -v b="$exe_bytes" 'BEGIN { printf "%.0f", b / 1024 }')
stripped=$(mktemp)
i686-w64-mingw32-strip -o "$stripped" "$exe"
stripped_bytes=$(stat -c %s "$stripped")
rm -f "$stripped"
# The imports, read from the program file (tests/check-program.py).
import_lines=$("$root/tests/check-program.py" list-imports "$exe")
imports=$(echo "$import_lines" | awk '{ n[$1 ".dll"]++ } END { for (d in n) printf "%s (%d)\n", d, n[d] }' |
    sort | paste -sd, - | sed 's/,/, /g')
import_count=$(echo "$import_lines" | wc -l)
goal=$(awk '$1 == "refresh.200.ratio" { print ($2 <= 1.10) ? "met" : "not met" }' "$results")
kill_goal=$(awk '$1 == "kill.floor_ratio" { print ($2 <= 1.5) ? "met" : "not met" }' "$results")

# The rows of the ways this machine has, and a line for each way left out.
way_rows=$(
    row() { ! i "start.$1.median" >/dev/null 2>&1 || echo "| $2 | $(i "start.$1.median") |"; }
    row native "The 32-bit program, natively (32-bit prefix)"
    row emulated "The 32-bit program emulated by qemu, with the libraries of \`scripts/emulator\`"
    row bare "The same without the emulated loader's library"
    row standin "The 64-bit stand-in build (64-bit prefix)"
)
left_out=$(awk '$1 ~ /^start\..*\.left_out$/ {
        split($1, k, "."); $1 = ""; sub(/^ /, ""); printf "- Not timed here: the %s start, because %s.\n", k[2], $0 }' "$results")
if ! i start.native.runs >/dev/null 2>&1; then
    left_out="- Not timed here: the native start, because this machine's kernel runs no 32-bit code.
$left_out"
fi
[ -n "$left_out" ] || left_out="Every way was timed."
start_runs=$(awk '$1 ~ /^start\..*\.runs$/ && $2 > n { n = $2 } END { print n + 0 }' "$results")

cat >"$out" <<EOF
# Performance

Measured with \`scripts/bench.sh\` on $(date -u +%Y-%m-%d). Each figure comes
from one run of the benchmark program (\`bench/quellon_bench.cpp\`), which
runs under Wine beside the real code: the real \`CQuellonView\` in a real
main frame, and the real \`Quellon.exe\`. Times are taken with
\`QueryPerformanceCounter\` inside the Windows-side program; each is the
median of its repetitions. The extra processes are copies of the tests'
helper program (\`qhelper.exe\`), each under a name of its own, so that
each is a row of its own. The machine is shared, so absolute times move
from run to run; a refresh and its floor are taken one right after the
other in every repetition, which keeps their ratio steadier than either
time.

## Machine

- CPU: $cpu, $cores cores (shared with other work while measuring)
- Memory: $mem
- System: $os, Linux $kernel
- Wine: $wine_version, $wine_note; reporting Windows 98 to Quellon
- Display: $display_note, no window manager

## Refresh

\`RefreshProcessList\` into the visible list of the main window, beside the
floor that the platform sets for the same work: one process snapshot walked
and one module snapshot per process (its first module read), nothing else.
$(i refresh.repetitions) repetitions per N.

| Extra processes N | Processes | Rows | Refresh (ms) | Floor (ms) | Ratio |
|---:|---:|---:|---:|---:|---:|
| 50 | $(i refresh.50.processes) | $(i refresh.50.rows) | $(v refresh.50.median) | $(v refresh.50.floor) | $(r refresh.50.ratio) |
| 100 | $(i refresh.100.processes) | $(i refresh.100.rows) | $(v refresh.100.median) | $(v refresh.100.floor) | $(r refresh.100.ratio) |
| 200 | $(i refresh.200.processes) | $(i refresh.200.rows) | $(v refresh.200.median) | $(v refresh.200.floor) | $(r refresh.200.ratio) |

The goal, a ratio of at most 1.10 at N = 200, is **$goal**.

Where the time goes, in ms: the real refresh with the calls of the process
platform timed (\`PlatformClock\`, put in place through the same record of
calls that the tests use to shape Tool Help). The process core
(\`TakeProcessSnapshot\`: the snapshot, the executable of every process
entry, the check against the executables listed so far, the priority
classes) is timed on its own too; the rest of the refresh is the list's.

| Step | N = 50 | N = 100 | N = 200 |
|---|---:|---:|---:|
| Process snapshot and its walk | $(v refresh.50.split.snapshot) | $(v refresh.100.split.snapshot) | $(v refresh.200.split.snapshot) |
| Module snapshot per process | $(v refresh.50.split.modules) | $(v refresh.100.split.modules) | $(v refresh.200.split.modules) |
| Opening each process for its priority class | $(v refresh.50.split.open) | $(v refresh.100.split.open) | $(v refresh.200.split.open) |
| The core's own work (executables, the check against those listed, priority classes) | $(v refresh.50.split.own) | $(v refresh.100.split.own) | $(v refresh.200.split.own) |
| The process core in all (\`TakeProcessSnapshot\`) | $(v refresh.50.split.core) | $(v refresh.100.split.core) | $(v refresh.200.split.core) |
| The list: emptying it, the rows' texts and inserts, drawing | $(v refresh.50.split.list) | $(v refresh.100.split.list) | $(v refresh.200.split.list) |
| Whole refresh, timed | $(v refresh.50.split.total) | $(v refresh.100.split.total) | $(v refresh.200.split.total) |

At N = 200 the module snapshots take $(pct refresh.200.split.modules refresh.200.split.total) % of the
refresh and the process snapshot $(pct refresh.200.split.snapshot refresh.200.split.total) %; the core's own work takes
$(pct refresh.200.split.own refresh.200.split.total) %, and the list $(pct refresh.200.split.list refresh.200.split.total) %.

For comparison ($(i refresh.compare.repetitions) repetitions each): the core's rows put into the list with
\`AddProcessRow\`, which reads every row back (\`FindProcessRow\`) before it
inserts one, take $(v refresh.50.compare.scan), $(v refresh.100.compare.scan) and $(v refresh.200.compare.scan) ms at N = 50, 100 and 200;
the refresh keeps the executables it has listed in a hash set instead. The
list is drawn once, when the refresh has filled it; drawn at every
insertion, the same rows take $(v refresh.50.compare.drawn_each_row), $(v refresh.100.compare.drawn_each_row) and $(v refresh.200.compare.drawn_each_row) ms: nearly all of
that is the visible list control redrawing itself at every insertion.

## Kill

A Kill Favorites pass of the view (\`KillFavorites\`) that kills
$(i kill.count) running helper processes of $(i kill.count) different names, all of them on
the Favorites list, beside Wine's own \`taskkill /F\` killing the same
$(i kill.count) by PID in one call (timed from its start until it has ended and all $(i kill.count)
processes have ended). $(i kill.repetitions) repetitions, each with newly started processes.

| Kill Favorites pass (ms) | Its floor (ms) | Ratio to the floor | \`taskkill /F\` (ms) | Ratio to \`taskkill\` |
|---:|---:|---:|---:|---:|
| $(v kill.quellon) | $(v kill.floor) | $(r kill.floor_ratio) | $(v kill.taskkill) | $(r kill.ratio) |

The pass's floor is its own opening refresh ($(v kill.split.refresh) ms) and the bare work of
opening, terminating and waiting for the same $(i kill.count) processes one after
another ($(v kill.direct) ms, done by the benchmark itself). The goal, a ratio to
the floor of at most 1.5, is **$kill_goal**.

Where the pass's time goes, in ms: the real pass with the calls of the
process platform timed, as for the refresh.

| Step | Time (ms) |
|---|---:|
| Tool Help: the pass's opening refresh, and the check before each kill that the process still runs the row's executable | $(v kill.split.snapshots) |
| Opening the processes (priority classes, kills) | $(v kill.split.open) |
| Terminating the processes and waiting for their end | $(v kill.split.end) |
| The program's own work: the Favorites read from the registry, the status pane, row lookups and deletions, drawing | $(v kill.split.own) |
| Whole pass, timed | $(v kill.split.total) |

The pass's refresh alone takes $(v kill.split.refresh) ms: a module snapshot of every
process. Before each kill the pass makes sure that the identifier still
belongs to the row's executable, by the same rule that the refresh lists it
by: a process snapshot that finds the process's entry, and its module
snapshot. Terminating and waiting are a small part.

## Start-up

From launching \`Quellon.exe\` (\`CreateProcess\` from a Windows-side
launcher) until its list shows rows, the start-up timer of 200 ms
included, and the peak working set of the process at that moment
(\`GetProcessMemoryInfo\`). The first-run warning is marked as shown, so no
message box waits. $(i startup.repetitions) starts.

| Start to first filled list (ms) | Peak working set (KiB) | Rows |
|---:|---:|---:|
| $(v startup.time) | $(i startup.peak_kib) | $(i startup.rows) |

## Start-up in each way of running the program

The same start timed from the Linux side in each way this machine can run
Quellon (\`scripts/bench-start-ways.sh\`): from the launch of the Wine
command until the main window's list shows rows, the start-up timer of
200 ms included; the median of $start_runs starts (one without the loader's
library). Where the kernel runs no 32-bit code, the tests and
\`scripts/run.sh\` run the 32-bit \`Quellon.exe\` emulated by qemu in a
64-bit prefix (\`scripts/i386.sh\`).

| Way | Launch to filled list (ms) |
|---|---:|
$way_rows

$left_out

Without the loader's library the emulated start takes most of a minute:
Wine reserves the 32-bit address space with \`MAP_FIXED_NOREPLACE\`
requests, which qemu 7.2 answers with other free ranges instead of
refusing; the first answer lies high up, where Wine keeps it, and from then
on every request for high memory collides and is split down to 64 KiB, some
130,000 calls. The library (\`scripts/emulator/loader-mmap.c\`) gives the
requests the kernel's answer, so only the ranges that really hold something
are split.

## Footprint

\`Quellon.exe\`: $exe_bytes bytes ($exe_kib KiB) as built (at most 200 KiB is
the limit the test \`program_header\` holds it to), a 32-bit GUI program
compiled for the i386 and linked with a start-up of its own against the
Win32 DLLs of Windows 95 only, without a C runtime library, base
relocations or symbol tables ($stripped_bytes bytes after
\`i686-w64-mingw32-strip\`). It was 72,192 bytes while it imported
\`msvcrt.dll\`, and 418,304 bytes built with the compiler's own start-up
code and its statically linked runtime libraries.

Imports: $import_count functions from $(echo "$imports" | tr ',' '\n' | wc -l) DLLs, $imports.

Every import is a function that Windows 95 as it shipped has, from
kernel32, user32, gdi32, comctl32, advapi32 and shell32 only. The list of
allowed imports is \`tests/imports-win95.txt\`; the test \`imports_win95\`
checks the program against it with \`tests/check-program.py\`, which reads
the import table from the file itself, and
\`imports_check_rejects_newer\` checks that the check rejects a program that
imports a newer function, a wide-character function, and DLLs outside that
set (\`msvcrt.dll\` among them). Functions that the Windows 95 family lacks
(\`QueryFullProcessImageNameA\`) and Tool Help, which Windows NT 4.0 lacks,
are looked up at run time, and the common dialogs are loaded only when File
Open or Print Setup runs.
EOF
echo "wrote $out" >&2
