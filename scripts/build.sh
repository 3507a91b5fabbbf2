#!/usr/bin/env bash
# Builds the release launcher and assembles the ready-to-ship dist/ folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" build

build="$root/build/release"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=MinSizeRel -DKORU_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target koru koruc koru_dist -j"$(nproc)"
echo "dist/ is ready:"
ls -l "$root/dist"
