#!/usr/bin/env bash
# Configures and builds both architectures: build/x86_64 and build/i686.
# Usage: tools/build.sh [TARGET...]   (no target: everything, tests and benchmarks included)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
for arch in ${XPV_ARCHS:-x86_64 i686}; do
    cmake -S "$top" -B "$top/build/$arch" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-$arch-w64-mingw32.cmake" \
        -DXPV_WINE_ROOT="$top/build/wine" >/dev/null
    cmake --build "$top/build/$arch" ${1:+--target "$@"}
done
if [ $# -gt 0 ]; then exit 0; fi
# One ctest run over both trees: one display, one prefix, one wineserver.
{
    for arch in ${XPV_ARCHS:-x86_64 i686}; do echo "subdirs(\"$arch\")"; done
} >"$top/build/CTestTestfile.cmake"
