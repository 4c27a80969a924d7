#!/bin/sh
# Installs, only when missing, what building, running and testing Quellon needs
# on Debian 12 or 13: the 32-bit MinGW-w64 cross compiler, CMake with make,
# GoogleTest's sources, 32-bit Wine, Xvfb, xdotool, ImageMagick, strace,
# procps and Python with the PE and disassembly libraries; on a machine
# whose kernel runs no 32-bit x86 code, also what emulating it takes (see
# scripts/i386.sh). A package mirror caught in the middle of a sync is coped
# with (scripts/apt.sh); what is still missing afterwards is named, and the
# script fails.
#
#   scripts/deps.sh [--emulation | --standin]
#
# --standin also installs what the 64-bit stand-in build needs; --emulation
# what the emulated way and the stand-in need, on any machine (the
# benchmark times the start in those ways too).
set -eu
here=$(cd "$(dirname "$0")" && pwd)

. "$here/apt.sh"

need() { # need <command-or-path> <package>
    case "$1" in
    /*) [ -e "$1" ] || missing="$missing $2" ;;
    *) command -v "$1" >/dev/null 2>&1 || missing="$missing $2" ;;
    esac
}

code=0
"$here/runs-i386.sh" || code=$?

find_missing() { # sets $missing to the packages of what is not there
    missing=""
    need i686-w64-mingw32-g++ g++-mingw-w64-i686
    need i686-w64-mingw32-windres binutils-mingw-w64-i686
    need i686-w64-mingw32-widl mingw-w64-tools
    need cmake cmake
    # CMake's build program, which cmake only recommends.
    need make make
    need /usr/src/googletest/googletest/CMakeLists.txt googletest
    need Xvfb xvfb
    need xdotool xdotool
    need import imagemagick
    # The end-to-end walkthrough slows Wine's server down with strace and
    # finds that server with pgrep.
    need strace strace
    need pgrep procps
    need wine wine
    # The 32-bit loader and DLLs run 32-bit programs, natively or emulated.
    need /usr/lib/i386-linux-gnu/wine/i386-unix wine32:i386
    emulation=""
    standin=""
    if [ "$code" -ne 0 ] || [ "${QUELLON_EMULATE:-0}" = 1 ] || [ "${1:-}" = --emulation ]; then
        emulation=yes
    fi
    if [ "${QUELLON_STANDIN:-0}" = 1 ] || [ "${1:-}" = --emulation ] || [ "${1:-}" = --standin ]; then
        standin=yes
    fi
    if [ -n "$emulation" ]; then
        # Where the kernel runs no 32-bit code: qemu's user-mode emulator
        # for the 32-bit programs, 64-bit Wine for the 64-bit prefixes they
        # run in, and the host's compiler with the C library's headers for
        # the libraries of scripts/emulator.
        need qemu-i386-static qemu-user-static
        need /usr/lib/wine/wine64 wine64
        need gcc gcc
        need /usr/include/stdlib.h libc6-dev
    fi
    if [ -n "$standin" ]; then
        # The 64-bit stand-in build (scripts/build-standin.sh asks for it
        # where emulation cannot be set up) and the 64-bit Wine it runs in.
        [ -n "$emulation" ] || need /usr/lib/wine/wine64 wine64
        need x86_64-w64-mingw32-g++-win32 g++-mingw-w64-x86-64-win32
    fi
    need clang-format clang-format
    # Debian's own Python (a python3 earlier on the PATH may be another),
    # with the libraries that read the program file as a PE file and
    # disassemble its i386 code (tests/check-program.py).
    need /usr/bin/python3 python3
    need /usr/lib/python3/dist-packages/pefile.py python3-pefile
    need /usr/lib/python3/dist-packages/capstone/__init__.py python3-capstone
    need /usr/share/wine/fonts/marlett.ttf fonts-wine
    # The commit's time, which every date in the program and the release
    # takes (git), the release's floppy image (mtools) and CD image
    # (xorriso), and the library that reads the CD image back
    # (tests/check-release.py).
    need git git
    need mformat mtools
    need xorriso xorriso
    need /usr/lib/python3/dist-packages/pycdlib/__init__.py python3-pycdlib
}

find_missing "${1:-}"
if [ -z "$missing" ]; then
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
elif command -v sudo >/dev/null 2>&1 && { sudo -n true 2>/dev/null || [ -t 0 ]; }; then
    SUDO="sudo" # asks for the password on the terminal if it needs one
else
    echo "Quellon needs these Debian packages:$missing" >&2
    echo "Install them as root with:" >&2
    echo "  dpkg --add-architecture i386 && apt-get update && apt-get install -y --no-install-recommends$missing" >&2
    exit 1
fi

echo "Installing:$missing" >&2
case "$missing" in
*i386*)
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $SUDO dpkg --add-architecture i386
    fi
    ;;
esac
# shellcheck disable=SC2086
apt_install $missing || exit 1

find_missing "${1:-}"
if [ -n "$missing" ]; then
    echo "apt-get ended without error, but these packages are still not installed:$missing" >&2
    echo "Install them by hand, as root: apt-get install --no-install-recommends$missing" >&2
    exit 1
fi
