#!/usr/bin/python3
"""Checks of the release, each file read back as the structure it is (the
zip archive with Python's zipfile, the floppy image's FAT12 file system by
its boot sector, tables and directory, the CD image with Debian's
python3-pycdlib), never through a tool's printed text:

  check-release.py <release folder> <Quellon.exe>
      SHA256SUMS names the zip archive, the floppy image and the CD image,
      with their hashes; the archive holds Quellon.exe, the given program,
      and README.TXT; the floppy is a 1.44 MB FAT12 disk labelled QUELLON,
      the CD an ISO 9660 disc labelled QUELLON with Joliet names, and each
      holds exactly QUELLON.EXE and README.TXT, byte for byte the archive's.
  check-release.py extract <floppy image> <name> <file>
      writes the floppy's file of that name to <file>.

Each finding is printed on a line of its own, and the check exits 1 then;
on success it prints one line of what it found.
"""

import hashlib
import io
import os
import struct
import sys
import zipfile

findings = []


def finding(text):
    findings.append(text)


class Floppy:
    """A FAT12 file system, as DOS reads it from the disk."""

    def __init__(self, data):
        self.data = data
        (self.sector, self.per_cluster, reserved, fats, root_entries, total, media,
         per_fat) = struct.unpack_from("<HBHBHHBH", data, 11)
        self.total, self.media = total, media
        self.serial, self.label, self.kind = struct.unpack_from("<I11s8s", data, 39)
        self.signature = data[510:512]
        self.fat = data[reserved * self.sector:(reserved + per_fat) * self.sector]
        root = (reserved + fats * per_fat) * self.sector
        root_size = root_entries * 32
        self.first_data = root + (root_size + self.sector - 1) // self.sector * self.sector
        self.clusters = (total * self.sector - self.first_data) // (self.sector * self.per_cluster)
        self.entries = []
        for offset in range(root, root + root_size, 32):
            name, attributes = struct.unpack_from("<11sB", data, offset)
            if name[0] == 0:
                break
            if name[0] == 0xE5:
                continue
            cluster, size = struct.unpack_from("<HI", data, offset + 26)
            self.entries.append((name, attributes, cluster, size))

    def next_cluster(self, cluster):
        pair = struct.unpack_from("<H", self.fat, cluster * 3 // 2)[0]
        return pair >> 4 if cluster & 1 else pair & 0xFFF

    def files(self):
        """The root folder's files: {"NAME.EXT": bytes}."""
        result = {}
        for name, attributes, cluster, size in self.entries:
            if attributes & 0x18:  # the volume label, folders
                continue
            text = name[:8].decode("ascii").rstrip()
            if name[8:].strip():
                text += "." + name[8:].decode("ascii").rstrip()
            data = b""
            seen = set()
            cluster_size = self.sector * self.per_cluster
            while 2 <= cluster < 0xFF8 and cluster not in seen and len(data) < size:
                seen.add(cluster)
                start = self.first_data + (cluster - 2) * cluster_size
                data += self.data[start:start + cluster_size]
                cluster = self.next_cluster(cluster)
            result[text] = data[:size]
        return result

    def volume_label(self):
        for name, attributes, _, _ in self.entries:
            if attributes & 0x08 and not attributes & 0x10:
                return name.decode("ascii").rstrip()
        return None


def check_floppy(path, expected):
    with open(path, "rb") as f:
        data = f.read()
    if len(data) != 1474560:
        finding("floppy: %d bytes, not the 1,474,560 of a 1.44 MB disk" % len(data))
        return
    disk = Floppy(data)
    if (disk.sector, disk.total, disk.media, disk.signature) != (512, 2880, 0xF0, b"\x55\xaa"):
        finding("floppy: not the boot sector of a 1.44 MB disk")
    if disk.clusters >= 4085 or disk.kind != b"FAT12   ":
        finding("floppy: not a FAT12 file system (%d clusters, %r)" % (disk.clusters, disk.kind))
    if disk.label != b"QUELLON    " or disk.volume_label() != "QUELLON":
        finding("floppy: the volume label is %r / %r, not QUELLON" % (disk.label, disk.volume_label()))
    compare("floppy", disk.files(), expected)


def check_cd(path, expected):
    try:
        import pycdlib
    except ImportError:
        sys.exit("check-release.py needs Debian's python3-pycdlib (apt-get install python3-pycdlib)")
    disc = pycdlib.PyCdlib()
    disc.open(path)
    try:
        if disc.pvd.volume_identifier.rstrip() != b"QUELLON":
            finding("CD: the volume label is %r, not QUELLON" % disc.pvd.volume_identifier.rstrip())
        for kind, label, names in (("iso_path", "ISO 9660", lambda n: n.decode("ascii")),
                                   ("joliet_path", "Joliet", lambda n: n.decode("utf-16-be"))):
            if kind == "joliet_path" and not disc.has_joliet():
                finding("CD: no Joliet names")
                continue
            files = {}
            for child in disc.list_children(**{kind: "/"}):
                if child.is_dot() or child.is_dotdot():
                    continue
                name = names(child.file_identifier())
                out = io.BytesIO()
                disc.get_file_from_iso_fp(out, **{kind: "/" + name})
                files[name.split(";")[0]] = out.getvalue()
            compare("CD (%s names)" % label, files, expected)
    finally:
        disc.close()


def compare(where, files, expected):
    if sorted(files) != sorted(expected):
        finding("%s: holds %s, not %s" % (where, sorted(files), sorted(expected)))
    for name in expected:
        if name in files and files[name] != expected[name]:
            finding("%s: %s is not the archive's" % (where, name))


def check_release(folder, program_path):
    sums_path = os.path.join(folder, "SHA256SUMS")
    sums = {}
    with open(sums_path) as f:
        for line in f:
            digest, _, name = line.rstrip("\n").partition("  ")
            sums[name] = digest
    kinds = {"-win32.zip": None, "-floppy.img": None, "-cd.iso": None}
    for name, digest in sums.items():
        path = os.path.join(folder, name)
        if not os.path.isfile(path):
            finding("SHA256SUMS: no file %s" % name)
            continue
        with open(path, "rb") as f:
            if hashlib.sha256(f.read()).hexdigest() != digest:
                finding("SHA256SUMS: the hash of %s does not match" % name)
        for ending in kinds:
            if name.endswith(ending):
                kinds[ending] = path
    if None in kinds.values() or len(sums) != 3:
        finding("SHA256SUMS: names %s, not one archive, floppy and CD each" % sorted(sums))
        return
    with zipfile.ZipFile(kinds["-win32.zip"]) as z:
        names = z.namelist()
        if names != ["Quellon.exe", "README.TXT"]:
            finding("zip: holds %s, not Quellon.exe and README.TXT" % names)
            return
        expected = {"QUELLON.EXE": z.read("Quellon.exe"), "README.TXT": z.read("README.TXT")}
    with open(program_path, "rb") as f:
        if expected["QUELLON.EXE"] != f.read():
            finding("zip: Quellon.exe is not the built program")
    check_floppy(kinds["-floppy.img"], expected)
    check_cd(kinds["-cd.iso"], expected)


def main():
    args = sys.argv[1:]
    if len(args) == 4 and args[0] == "extract":
        with open(args[1], "rb") as f:
            files = Floppy(f.read()).files()
        if args[2] not in files:
            sys.exit("no %s on %s" % (args[2], args[1]))
        with open(args[3], "wb") as f:
            f.write(files[args[2]])
        return
    if len(args) != 2:
        sys.exit(__doc__)
    check_release(*args)
    for text in findings:
        print(text)
    if findings:
        sys.exit(1)
    print("release: the archive, the floppy (FAT12) and the CD (ISO 9660, Joliet) hold the same "
          "QUELLON.EXE and README.TXT")


if __name__ == "__main__":
    main()
