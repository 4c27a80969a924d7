#!/usr/bin/python3
"""The checks of the program file and of the sources, shown to reject what
they must: each is run on a file made to fail it and must fail (exit 1)
with the findings below, each of its lines a finding.

  check-selftest.py imports <check-program.py> <qnewer.exe> <allowed-list>
      a program that imports a newer function, a wide-character one, and
      from DLLs outside the allowed set (msvcrt among them);
  check-selftest.py cpu <check-program.py> <folder>
      the programs of the folder made for the i486 (bswap), for the
      Pentium Pro (cmov) and with x87 instructions;
  check-selftest.py header <check-program.py> <qwinxp.exe>
      a program made for Windows XP;
  check-selftest.py comctl <check-comctl.sh> <table> <source>
      a source that uses names newer than comctl32 4.00;
  check-selftest.py release <check-release.py> <release folder> <Quellon.exe>
      a copy of the release whose floppy and CD images hold another
      README.TXT than the archive (one byte changed on each disk).
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile


def run(command):
    """The check's output lines; a check that does not fail is a failure."""
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    print(result.stdout, end="")
    if result.returncode != 1:
        sys.exit("%s: exit code %d, not 1" % (" ".join(command), result.returncode))
    return result.stdout.splitlines()


def expect(lines, patterns, count=None):
    """Every pattern matches a line from its start to its end (re.fullmatch);
    with count, there are exactly that many lines."""
    missing = [p for p in patterns if not any(re.fullmatch(p, line) for line in lines)]
    if missing:
        sys.exit("missing findings: %s" % missing)
    if count is not None and len(lines) != count:
        sys.exit("%d lines, not %d" % (len(lines), count))


def main(case, check, *args):
    if case == "imports":
        program, allowed = args
        expect(run([check, "imports", program, allowed]), [
            "DLL not allowed: version",
            "DLL not allowed: msvcrt",
            "import not on the list: kernel32 GetTickCount64",
            "wide-character import: kernel32 lstrlenW",
        ])
    elif case == "cpu":
        (folder,) = args
        for program, finding in [("qi486", r"not an i386 instruction at 0x[0-9a-f]*: bswap.*"),
                                 ("qpentiumpro", r"not an i386 instruction at 0x[0-9a-f]*: cmov.*"),
                                 ("qx87", r"an x87 instruction at 0x[0-9a-f]*: f.*")]:
            expect(run([check, "cpu", os.path.join(folder, program + ".exe")]), [finding])
    elif case == "header":
        (program,) = args
        expect(run([check, "header", program]), [
            "MajorSubsystemVersion is 5, not 4",
            "MinorSubsystemVersion is 1, not 0",
            "MajorOperatingSystemVersion is 5, not 4",
            "DllCharacteristics is 0x0140, not 0x0000",
        ], count=5)
    elif case == "comctl":
        table, source = args
        expect(run([check, table, source]), [
            "not known to be in comctl32 4.00: LVM_SETEXTENDEDLISTVIEWSTYLE .*",
            "not known to be in comctl32 4.00: LVS_EX_FULLROWSELECT .*",
            "newer than comctl32 4.00, with no note of what 4.00 does: TBSTYLE_FLAT .*",
        ], count=3)
    elif case == "release":
        folder, program = args
        with tempfile.TemporaryDirectory() as copy:
            for name in os.listdir(folder):
                shutil.copy(os.path.join(folder, name), copy)
            name = next(n for n in os.listdir(copy) if n.endswith(".zip"))
            with zipfile.ZipFile(os.path.join(copy, name)) as z:
                readme = z.read("README.TXT")
            for ending in ("-floppy.img", "-cd.iso"):
                path = os.path.join(copy, name.replace("-win32.zip", ending))
                with open(path, "r+b") as f:
                    data = f.read()
                    at = data.index(readme)
                    f.seek(at)
                    f.write(bytes([data[at] ^ 0x20]))
            expect(run([check, copy, program]), [
                r"SHA256SUMS: the hash of .*-floppy\.img does not match",
                r"SHA256SUMS: the hash of .*-cd\.iso does not match",
                "floppy: README.TXT is not the archive's",
                r"CD \(ISO 9660 names\): README.TXT is not the archive's",
                r"CD \(Joliet names\): README.TXT is not the archive's",
            ], count=5)
    else:
        sys.exit("no such case: %s" % case)
    print("%s: the check rejects what it must" % case)


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    main(*sys.argv[1:])
