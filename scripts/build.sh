#!/usr/bin/env bash
# Builds the release launcher and its 32-bit companion and assembles the ready-to-ship dist/ folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" build

build="$root/build/release"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=MinSizeRel -DKORU_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target koru koruc koru_dist -j"$(nproc)"

# The 32-bit companion launcher, the same sources built for 32-bit Windows, joins dist/ as koru32.exe.
build32="$root/build/release32"
cmake -S "$root" -B "$build32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" \
      -DCMAKE_BUILD_TYPE=MinSizeRel -DKORU_BUILD_TESTS=OFF >/dev/null
cmake --build "$build32" --target koru koru_dist32 -j"$(nproc)"
echo "dist/ is ready:"
ls -l "$root/dist"
