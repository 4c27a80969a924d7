#!/bin/sh
# Builds Quellon and its tests: build/Quellon.exe and build/tests/*.exe.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
if [ ! -f "$root/build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$root/build" -j "$(nproc)"
