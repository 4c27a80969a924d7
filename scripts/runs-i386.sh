#!/bin/sh
# Tells how this machine runs 32-bit x86 Linux programs, which Wine's 32-bit
# loader is:
#   exit 0  natively (the 64-bit kernel runs them itself);
#   exit 2  emulated (binfmt_misc hands them to an emulator such as qemu);
#   exit 1  not at all (some virtual machines offer only 64-bit user space).
# A 32-bit program runs in either of the first two cases, so the program
# asks the kernel its machine name: natively a 64-bit kernel answers
# "x86_64", while an emulator of the i386 answers for the i386 ("i686").
set -eu
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cat >"$tmp/t.s" <<'ASM'
.globl _start
_start:
    subl $400, %esp         # room for struct new_utsname (6 x 65 bytes)
    movl $122, %eax         # newuname
    movl %esp, %ebx
    int $0x80
    movl $2, %ebx
    cmpl $0x5f363878, 260(%esp)   # the machine field starts with "x86_"
    jne 1f
    xorl %ebx, %ebx
1:  movl $1, %eax           # exit
    int $0x80
ASM
as --32 -o "$tmp/t.o" "$tmp/t.s" && ld -m elf_i386 -o "$tmp/t" "$tmp/t.o" || exit 1
code=0
"$tmp/t" 2>/dev/null || code=$?
case $code in
0) exit 0 ;;
2) exit 2 ;;
*) exit 1 ;;
esac
