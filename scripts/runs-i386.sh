#!/bin/sh
# Tells how this machine runs 32-bit x86 Linux programs, which Wine's 32-bit
# loader is:
#   exit 0  natively (the 64-bit kernel runs them itself);
#   exit 2  emulated (binfmt_misc hands them to an emulator such as qemu);
#   exit 1  not at all (some virtual machines offer only 64-bit user space).
# A 32-bit program runs in either of the first two cases, so the program
# asks the kernel its machine name: natively a 64-bit kernel answers
# "x86_64", while an emulator of the i386 answers for the i386 ("i686").
#
# The program is kept here as its 126 bytes, so that the answer needs no
# assembler or linker (a bare machine has none before scripts/deps.sh has
# run): an ELF header, one loadable segment at 0x08048000 that is the whole
# file, and the code from offset 84.
set -eu
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
{
    printf '\177\105\114\106\001\001\001\000\000\000\000\000\000\000\000\000'
    printf '\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000'
    printf '\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000'
    printf '\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010'
    printf '\000\200\004\010\176\000\000\000\176\000\000\000\005\000\000\000'
    printf '\000\020\000\000'
    printf '\201\354\220\001\000\000' # subl $400, %esp: room for struct new_utsname (6 x 65 bytes)
    printf '\270\172\000\000\000' # movl $122, %eax: newuname
    printf '\211\343' # movl %esp, %ebx
    printf '\315\200' # int $0x80
    printf '\273\002\000\000\000' # movl $2, %ebx
    printf '\201\274\044\004\001\000\000\170\070\066\137' # cmpl $0x5f363878, 260(%esp): the machine field starts with "x86_"
    printf '\165\002' # jne +2
    printf '\061\333' # xorl %ebx, %ebx
    printf '\270\001\000\000\000' # movl $1, %eax: exit
    printf '\315\200' # int $0x80
} >"$tmp/t"
chmod +x "$tmp/t"
code=0
"$tmp/t" 2>/dev/null || code=$?
case $code in
0) exit 0 ;;
2) exit 2 ;;
*) exit 1 ;;
esac
