#!/usr/bin/python3
"""Checks of a 32-bit Windows program file, read as the PE file it is (with
Debian's python3-pefile for the headers and imports and python3-capstone for
the i386 instructions), never through a tool's printed text:

  check-program.py header <program.exe>
      an i386 Windows GUI program for subsystem and OS version 4.0, without
      the DllCharacteristics flags of later Windows (dynamic base, NX
      compatible) that the loader of the Windows 95 family predates; a file
      of at most 200 KiB.
  check-program.py imports <program.exe> <allowed-list>
      every imported DLL and function is on the list (DLL and function per
      line, '#' starts a comment), and no wide-character function (a name
      ending in W) of the Win32 DLLs is imported, listed or not.
  check-program.py cpu <program.exe> [<linker map>]
      every instruction is one the i386 has (the least CPU that runs
      Windows 95), and none is an x87 instruction: a 386DX or 486SX often
      has no maths coprocessor. Given the linker's map, the constructor and
      destructor tables, which the linker puts at the end of the code
      section, are not taken for code.
  check-program.py list-imports <program.exe>
      prints the imports as "dll function" lines.

Each check prints what fails, one line each, and exits 1 then; on success it
prints one line of what it found. Exit 2: the file or a tool is missing.
"""

import os
import re
import sys

try:
    import pefile
except ImportError:
    sys.exit("check-program.py needs Debian's python3-pefile (apt-get install python3-pefile)")


def fail_usage(message):
    print(message, file=sys.stderr)
    sys.exit(2)


def load(path):
    if not os.path.isfile(path):
        fail_usage("no such program: %s" % path)
    try:
        return pefile.PE(path, fast_load=True)
    except pefile.PEFormatError as error:
        fail_usage("not a PE file: %s (%s)" % (path, error))


# --- header -----------------------------------------------------------------

IMAGE_FILE_MACHINE_I386 = 0x014C
PE32_MAGIC = 0x010B
IMAGE_SUBSYSTEM_WINDOWS_GUI = 2
MAX_SIZE = 200 * 1024


def check_header(path):
    pe = load(path)
    opt = pe.OPTIONAL_HEADER
    problems = []

    def expect(name, actual, wanted, shown="%d"):
        if actual != wanted:
            problems.append(("%s is " + shown + ", not " + shown) % (name, actual, wanted))

    expect("Machine", pe.FILE_HEADER.Machine, IMAGE_FILE_MACHINE_I386, "0x%04x")
    expect("Magic", opt.Magic, PE32_MAGIC, "0x%03x")
    expect("Subsystem", opt.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI)
    expect("MajorSubsystemVersion", opt.MajorSubsystemVersion, 4)
    expect("MinorSubsystemVersion", opt.MinorSubsystemVersion, 0)
    expect("MajorOperatingSystemVersion", opt.MajorOperatingSystemVersion, 4)
    expect("MinorOperatingSystemVersion", opt.MinorOperatingSystemVersion, 0)
    expect("DllCharacteristics", opt.DllCharacteristics, 0, "0x%04x")
    size = os.path.getsize(path)
    if size > MAX_SIZE:
        problems.append("the file has %d bytes, more than 200 KiB" % size)
    for line in problems:
        print(line)
    if problems:
        return 1
    print("i386 GUI program for Windows 4.0, DllCharacteristics 0, %d bytes" % size)
    return 0


# --- imports ----------------------------------------------------------------

WIN32_DLLS = ("kernel32", "user32", "gdi32", "advapi32", "shell32", "comctl32")


def read_imports(path):
    """The imports as (dll, function) pairs, DLL names in lower case without
    ".dll"; an import by ordinal is "#<ordinal>"."""
    pe = load(path)
    pe.parse_data_directories(directories=[
        pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_IMPORT"],
        pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT"],
    ])
    imports = set()
    for attr in ("DIRECTORY_ENTRY_IMPORT", "DIRECTORY_ENTRY_DELAY_IMPORT"):
        for entry in getattr(pe, attr, []):
            dll = entry.dll.decode("ascii", "replace").lower()
            if dll.endswith(".dll"):
                dll = dll[:-4]
            for imp in entry.imports:
                name = imp.name.decode("ascii", "replace") if imp.name else "#%d" % imp.ordinal
                imports.add((dll, name))
    return sorted(imports)


def read_list(path):
    if not os.path.isfile(path):
        fail_usage("no such list: %s" % path)
    allowed = set()
    with open(path, encoding="ascii") as f:
        for line in f:
            words = line.split("#", 1)[0].split()
            if len(words) >= 2:
                allowed.add((words[0].lower(), words[1]))
    return allowed


def check_imports(path, list_path):
    imports = read_imports(path)
    allowed = read_list(list_path)
    if not imports:
        fail_usage("no imports read from %s" % path)
    allowed_dlls = {dll for dll, _ in allowed}
    dlls = sorted({dll for dll, _ in imports})
    status = 0
    for dll in dlls:
        if dll not in allowed_dlls:
            print("DLL not allowed: %s" % dll)
            status = 1
    for dll, name in imports:
        if (dll, name) not in allowed:
            print("import not on the list: %s %s" % (dll, name))
            status = 1
    for dll, name in imports:
        if dll in WIN32_DLLS and name.endswith("W"):
            print("wide-character import: %s %s" % (dll, name))
            status = 1
    if status == 0:
        print("%d imports from %d DLLs, all on the list" % (len(imports), len(dlls)))
    return status


# --- instructions -----------------------------------------------------------

# The integer instructions of the i386, as capstone names them (Intel
# syntax), prefixes apart. Anything else in the code is a later CPU's: the
# i486's (bswap, xadd, cmpxchg, invd, wbinvd, invlpg), the Pentium's and
# later ones' (cmpxchg8b, cpuid, rdtsc, rdmsr, conditional moves, the long
# nop, ud2, MMX, SSE and the rest).
I386 = set("""
aaa aad aam aas adc add and arpl bound bsf bsr bt btc btr bts call cbw cdq
clc cld cli clts cmc cmp cmpsb cmpsd cmpsw cwd cwde daa das dec div enter hlt
idiv imul in inc insb insd insw int int1 int3 into iret iretd ja jae jb jbe
jcxz je jecxz jg jge jl jle jmp jne jno jnp jns jo jp js lahf lar lcall lds
lea leave les lfs lgdt lgs lidt ljmp lldt lmsw lodsb lodsd lodsw loop loope
loopne lsl lss ltr mov movsb movsd movsw movsx movzx mul neg nop not or out
outsb outsd outsw pop popal popaw popfd popfw push pushal pushaw pushfd pushfw
rcl rcr ret retf retfw rol ror sahf sal salc sar sbb scasb scasd scasw seta
setae setb setbe sete setg setge setl setle setne setno setnp setns seto setp
sets sgdt shl shld shr shrd sidt sldt smsw stc std sti stosb stosd stosw str
sub test verr verw xchg xlatb xor
""".split())
PREFIXES = {"lock", "rep", "repe", "repne", "repz", "repnz"}
# x87 instructions that only a later CPU's coprocessor has.
LATER_X87 = re.compile(r"^(fcmov|fcomi|fucomi|fisttp|fxsave|fxrstor|femms)")
# Registers of MMX, SSE and later extensions, and the x87 stack.
LATER_REGISTERS = re.compile(r"\b([xyz]?mm[0-9]+|k[0-7])\b")
X87_REGISTERS = re.compile(r"\bst\(?[0-7]?\)?\b")


def classify(mnemonic, operands):
    """None for an i386 integer instruction, else what it is."""
    words = mnemonic.split()
    while len(words) > 1 and words[0] in PREFIXES:
        words.pop(0)
    if len(words) != 1:
        return "not an i386 instruction"  # a prefix of later CPUs (bnd, ...)
    m = words[0]
    if m == ".byte":
        return "no instruction"
    if m.startswith("f") or m == "wait":
        return "not an i386 instruction" if LATER_X87.match(m) else "an x87 instruction"
    if LATER_REGISTERS.search(operands):
        return "not an i386 instruction"
    if X87_REGISTERS.search(operands):
        return "an x87 instruction"
    if m not in I386:
        return "not an i386 instruction"
    if m == "nop" and operands:
        return "not an i386 instruction"  # the long nop of the Pentium Pro
    return None


def code_end_from_map(map_path):
    """The address of __CTOR_LIST__ in the linker's map."""
    with open(map_path, encoding="latin-1") as f:
        for line in f:
            words = line.split()
            if len(words) >= 3 and words[1] == "__CTOR_LIST__" and words[2] == "=":
                return int(words[0], 16)
    fail_usage("no __CTOR_LIST__ in %s" % map_path)


def check_cpu(path, map_path=None):
    try:
        import capstone
    except ImportError:
        fail_usage("check-program.py needs Debian's python3-capstone (apt-get install python3-capstone)")
    pe = load(path)
    if pe.FILE_HEADER.Machine != IMAGE_FILE_MACHINE_I386:
        fail_usage("not an i386 program: %s" % path)
    stop = code_end_from_map(map_path) if map_path else None
    md = capstone.Cs(capstone.CS_ARCH_X86, capstone.CS_MODE_32)
    md.skipdata = True
    base = pe.OPTIONAL_HEADER.ImageBase
    count = 0
    status = 0
    for section in pe.sections:
        if not section.Characteristics & pefile.SECTION_CHARACTERISTICS["IMAGE_SCN_CNT_CODE"]:
            continue
        start = base + section.VirtualAddress
        data = section.get_data()[: min(section.Misc_VirtualSize, section.SizeOfRawData)]
        if stop is not None and start <= stop < start + len(data):
            data = data[: stop - start]
        for insn in md.disasm(data, start):
            count += 1
            what = classify(insn.mnemonic, insn.op_str)
            if what:
                text = (insn.mnemonic + " " + insn.op_str).strip()
                print("%s at 0x%x: %s" % (what, insn.address, text))
                status = 1
    if count == 0:
        fail_usage("no instructions read from %s" % path)
    if status == 0:
        print("%d instructions, all of the i386, none of them x87" % count)
    return status


def main(argv):
    if len(argv) >= 3 and argv[1] == "header" and len(argv) == 3:
        return check_header(argv[2])
    if len(argv) == 4 and argv[1] == "imports":
        return check_imports(argv[2], argv[3])
    if len(argv) in (3, 4) and argv[1] == "cpu":
        return check_cpu(argv[2], argv[3] if len(argv) == 4 else None)
    if len(argv) == 3 and argv[1] == "list-imports":
        for dll, name in read_imports(argv[2]):
            print(dll, name)
        return 0
    fail_usage(__doc__.split("\n\n")[1])


if __name__ == "__main__":
    sys.exit(main(sys.argv))
