#!/bin/sh
# Checks that every instruction of a 32-bit program is one the i486 has
# (the least CPU that runs Windows 98; its x87 instructions included).
# Prints each instruction that a later CPU introduced, with its address,
# and exits 1 then.
#
#   tests/check-cpu.sh <program.exe> [<linker map>]
#
# Given the linker's map, the constructor and destructor tables, which the
# linker puts at the end of the code section, are not taken for code.
set -eu
export LC_ALL=C
exe=$1
map=${2:-}
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
[ -f "$exe" ] || { echo "no such program: $exe" >&2; exit 2; }

stop=""
if [ -n "$map" ]; then
    ctors=$(awk '$2 == "__CTOR_LIST__" && $3 == "=" { print $1; exit }' "$map")
    [ -n "$ctors" ] || { echo "no __CTOR_LIST__ in $map" >&2; exit 2; }
    stop="--stop-address=$ctors"
fi

tmp=$(mktemp)
trap 'rm -f "$tmp"' EXIT
# shellcheck disable=SC2086
"$objdump" -d --no-show-raw-insn $stop "$exe" >"$tmp"
count=$(grep -c '^ *[0-9a-f]*:	' "$tmp" || true)
[ "$count" -gt 0 ] || { echo "no instructions read from $exe" >&2; exit 2; }

# Instructions of the Pentium and later: conditional moves (Pentium Pro),
# the x87 compares that set the flags, the time-stamp counter, 8-byte
# compare-exchange, model-specific registers, fast system calls, CPUID,
# the long NOP, and anything of MMX and SSE (their registers, prefetches,
# fences, saving their state, the SSE3 x87 store).
awk -F'\t' '
    /^ *[0-9a-f]+:\t/ {
        insn = $2
        split(insn, word, " ")
        m = word[1]
        if (m ~ /^(cmov|fcmov)/ || m ~ /^f(u)?comip?$/ || m ~ /^rdtscp?$/ ||
            m ~ /^cmpxchg8b/ || m ~ /^(rdmsr|wrmsr|rdpmc|sysenter|sysexit|syscall|sysret|cpuid)$/ ||
            m ~ /^nop[lw]$/ || insn ~ /%x?mm[0-9]/ || insn ~ /%[yz]mm[0-9]/ ||
            m ~ /^(emms|femms|prefetch.*|[slm]fence|clflush.*|fxsave.*|fxrstor.*|ldmxcsr|stmxcsr|fisttp.*|movnti|maskmovq)$/) {
            sub(/:$/, "", $1)
            gsub(/ /, "", $1)
            print "not an i486 instruction at 0x" $1 ": " insn
            bad = 1
        } else if (m == "(bad)") {
            sub(/:$/, "", $1)
            gsub(/ /, "", $1)
            print "no instruction at 0x" $1
            bad = 1
        }
    }
    END { exit bad }
' "$tmp" && status=0 || status=1
if [ "$status" -eq 0 ]; then
    echo "$count instructions, all of the i486"
fi
exit $status
