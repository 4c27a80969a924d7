#!/usr/bin/env python3
"""Builds the release: the program and its plain-text read-me (whose line
ends become CR LF, as Windows' Notepad wants them) in a zip archive, on a
1.44 MB floppy image (FAT12, made with mtools) and on a CD image (ISO 9660
with Joliet, made with xorriso), and SHA256SUMS of the three.

    package.py <folder> <name> <epoch> <Quellon.exe> <README.TXT>

<name> is the files' common start (Quellon-1.1); <epoch> the time in
seconds since 1970 that every date in them takes (the commit's, or
SOURCE_DATE_EPOCH's): two builds of one commit give the same bytes.
"""
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

# The files on the disks: 8.3 names in upper case, which every system of the
# family reads.
PROGRAM = "QUELLON.EXE"
README = "README.TXT"
LABEL = "QUELLON"


def run(args, epoch):
    env = dict(os.environ, SOURCE_DATE_EPOCH=str(epoch), TZ="UTC", MTOOLS_NO_VFAT="1")
    # mtools reads no configuration that could change the image.
    env["MTOOLSRC"] = os.devnull
    # Their notes (xorriso's of SOURCE_DATE_EPOCH) are shown only with a
    # failure.
    result = subprocess.run(args, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    if result.returncode != 0:
        sys.stderr.write(result.stdout.decode(errors="replace"))
        sys.exit("%s failed (exit code %d)" % (args[0], result.returncode))


def make_zip(path, stamp, program, readme):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in (("Quellon.exe", program), ("README.TXT", readme)):
            info = zipfile.ZipInfo(name, stamp)
            info.create_system = 0  # MS-DOS, whatever system packs it
            info.external_attr = 0x20  # the archive attribute
            z.writestr(info, data, zipfile.ZIP_DEFLATED)


def make_floppy(path, epoch, files):
    # The volume's serial number is the epoch's, not the clock's.
    serial = "%08X" % (epoch & 0xFFFFFFFF)
    run(["mformat", "-C", "-i", path, "-f", "1440", "-v", LABEL, "-N", serial, "::"], epoch)
    run(["mcopy", "-m", "-i", path] + files + ["::"], epoch)


def make_cd(path, epoch, folder):
    # -r: the Rock Ridge names for Unix readers with owner 0 and the same
    # modes whatever the umask of the build (as it is, it would record the
    # staged files' own).
    run(["xorriso", "-as", "mkisofs", "-quiet", "-r", "-iso-level", "1", "-J", "-V", LABEL,
         "-o", path, folder], epoch)


def main():
    out, name, epoch, program_path, readme_path = sys.argv[1:6]
    epoch = int(epoch)
    with open(program_path, "rb") as f:
        program = f.read()
    with open(readme_path, "rb") as f:
        readme = f.read().replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
    os.makedirs(out, exist_ok=True)
    artefacts = [name + "-win32.zip", name + "-floppy.img", name + "-cd.iso"]
    with tempfile.TemporaryDirectory() as tmp:
        disk = os.path.join(tmp, "disk")
        os.mkdir(disk)
        files = []
        for file_name, data in ((PROGRAM, program), (README, readme)):
            files.append(os.path.join(disk, file_name))
            with open(files[-1], "wb") as f:
                f.write(data)
            os.utime(files[-1], (epoch, epoch))
        # The folder's time is the root directory's on the CD.
        os.utime(disk, (epoch, epoch))
        made = [os.path.join(tmp, a) for a in artefacts]
        make_zip(made[0], time.gmtime(epoch)[:6], program, readme)
        make_floppy(made[1], epoch, files)
        make_cd(made[2], epoch, disk)
        sums = ""
        for artefact, path in zip(artefacts, made):
            with open(path, "rb") as f:
                sums += "%s  %s\n" % (hashlib.sha256(f.read()).hexdigest(), artefact)
            shutil.move(path, os.path.join(out, artefact))
    # Written last: the checksums are there only when every artefact is.
    with open(os.path.join(out, "SHA256SUMS.part"), "w") as f:
        f.write(sums)
    os.replace(os.path.join(out, "SHA256SUMS.part"), os.path.join(out, "SHA256SUMS"))


if __name__ == "__main__":
    main()
