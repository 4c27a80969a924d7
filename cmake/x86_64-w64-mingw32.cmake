# Cross toolchain for the 64-bit stand-in build: the same sources built as
# 64-bit Windows programs, for machines whose kernel cannot run 32-bit x86
# code (and so neither 32-bit Wine). Quellon itself is the 32-bit build.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
