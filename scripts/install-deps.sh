#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, skipping what is already there.
# Usage: install-deps.sh build|test
set -euo pipefail

packages=(cmake g++ make googletest g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 openjdk-17-jdk-headless)
if [ "${1:-build}" = test ]; then
    # Wine runs the Windows programs, Xvfb gives them a display, the i686 compiler builds a 32-bit test image,
    # clang-format checks the layout of the sources, osslsigncode and openssl sign a branded exe.
    packages+=(wine wine64 xvfb xauth gcc-mingw-w64-i686-win32 clang-format osslsigncode openssl)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
