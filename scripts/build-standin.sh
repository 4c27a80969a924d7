#!/bin/sh
# Builds the 64-bit stand-in (build/x64): Quellon and its tests as 64-bit
# Windows programs, whose checks of the program file examine the 32-bit
# build in build/. Prints the build folder.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh" --standin >&2
cmake -S "$root" -B "$root/build/x64" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/x86_64-w64-mingw32.cmake" \
    -DQUELLON_PRODUCT_DIR="$root/build" >/dev/null
cmake --build "$root/build/x64" -j "$(nproc)" >&2
echo "$root/build/x64"
