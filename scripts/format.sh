#!/bin/sh
# Formats the C and C++ sources with clang-format (settings in .clang-format).
set -eu
cd "$(dirname "$0")/.."
git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format -i
