#!/usr/bin/env python3
"""Builds the release archive: the program and the plain-text read-me,
whose line ends become CR LF, as Windows' Notepad wants them.

    package.py <archive.zip> <Quellon.exe> <README.TXT>
"""
import os
import sys
import time
import zipfile


def main():
    archive, program, readme = sys.argv[1:4]
    with open(readme, "rb") as f:
        text = f.read().replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
    # The entries carry the program's build time, so the archive changes
    # only when the program does.
    stamp = time.localtime(os.path.getmtime(program))[:6]
    partial = archive + ".part"
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED) as z:
        with open(program, "rb") as f:
            z.writestr(zipfile.ZipInfo("Quellon.exe", stamp), f.read(), zipfile.ZIP_DEFLATED)
        z.writestr(zipfile.ZipInfo("README.TXT", stamp), text, zipfile.ZIP_DEFLATED)
    os.replace(partial, archive)


if __name__ == "__main__":
    main()
