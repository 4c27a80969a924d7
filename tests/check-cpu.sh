#!/bin/sh
# Checks that every instruction of a 32-bit program is one the i386 has (the
# least CPU that runs Windows 95), and that none is an x87 instruction: a
# 386DX or 486SX often has no maths coprocessor. Prints each instruction
# that a later CPU introduced and each x87 one, with its address, and exits
# 1 then.
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

# Instructions of the i486 (byte swap, exchange-and-add, compare-exchange,
# cache and TLB invalidation), of the Pentium and later: conditional moves
# (Pentium Pro), the time-stamp counter, 8-byte compare-exchange,
# model-specific registers, fast system calls, CPUID, the long NOP, and
# anything of MMX and SSE (their registers, prefetches, fences, saving their
# state). Apart from those, every x87 instruction ("f...", "wait", and
# whatever names an x87 register).
awk -F'\t' '
    function report(what) {
        sub(/:$/, "", $1)
        gsub(/ /, "", $1)
        print what " at 0x" $1 ": " insn
        bad = 1
    }
    /^ *[0-9a-f]+:\t/ {
        insn = $2
        n = split(insn, word, " ")
        # The mnemonic, after any prefixes.
        for (i = 1; i < n && word[i] ~ /^(lock|rep|repz|repe|repnz|repne|data16|data32|addr16|addr32|[cdefgs]s)$/; i++)
            ;
        m = word[i]
        if (m ~ /^(bswap|xadd|cmpxchg|invd|wbinvd|invlpg)/ ||
            m ~ /^(cmov|fcmov)/ || m ~ /^rdtscp?$/ ||
            m ~ /^(rdmsr|wrmsr|rdpmc|rsm|sysenter|sysexit|syscall|sysret|cpuid)$/ ||
            m ~ /^nop[lw]$/ || insn ~ /%x?mm[0-9]/ || insn ~ /%[yz]mm[0-9]/ ||
            m ~ /^(emms|femms|prefetch.*|[slm]fence|clflush.*|fxsave.*|fxrstor.*|ldmxcsr|stmxcsr|movnti|maskmovq)$/) {
            report("not an i386 instruction")
        } else if (m ~ /^f/ || m == "wait" || insn ~ /%st/) {
            report("an x87 instruction")
        } else if (m == "(bad)") {
            report("no instruction")
        }
    }
    END { exit bad }
' "$tmp" && status=0 || status=1
if [ "$status" -eq 0 ]; then
    echo "$count instructions, all of the i386, none of them x87"
fi
exit $status
