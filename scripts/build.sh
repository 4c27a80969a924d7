#!/bin/sh
# Builds Quellon and its tests: build/Quellon.exe and build/tests/*.exe.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
build="$root/build"
# A configure that failed (for a tool that was missing then) leaves a cache
# without a usable build program and no Makefile; such a folder is
# configured afresh rather than reused.
make_program=""
if [ -f "$build/CMakeCache.txt" ]; then
    make_program=$(sed -n 's/^CMAKE_MAKE_PROGRAM:[A-Z]*=//p' "$build/CMakeCache.txt")
fi
if [ ! -f "$build/Makefile" ] || [ -z "$make_program" ] || [ ! -x "$make_program" ]; then
    rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles" "$build/Makefile"
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" -j "$(nproc)"
