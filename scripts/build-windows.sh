#!/usr/bin/env bash
# Cross-builds Brelox.exe with mingw-w64: the 32-bit release build in
# build/windows-i686/Brelox.exe and the 64-bit one (for Wine) in
# build/windows-x86_64/Brelox.exe.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh windows >&2
for arch in i686 x86_64; do
  cmake -S windows -B "build/windows-$arch" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-$arch.cmake" >/dev/null
  cmake --build "build/windows-$arch"
done
ls -l build/windows-*/Brelox.exe
