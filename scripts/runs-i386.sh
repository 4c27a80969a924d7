#!/bin/sh
# Exits 0 when this machine's kernel runs 32-bit x86 Linux programs, which
# Wine's 32-bit loader is, and 1 when it does not (some virtual machines
# offer only 64-bit user space). QUELLON_STANDIN=1 answers 1 regardless.
set -eu
[ "${QUELLON_STANDIN:-0}" != 1 ] || exit 1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# The smallest such program: it asks the kernel to end it with code 0.
printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$tmp/t.s"
as --32 -o "$tmp/t.o" "$tmp/t.s" && ld -m elf_i386 -o "$tmp/t" "$tmp/t.o" || exit 1
"$tmp/t" 2>/dev/null || exit 1
