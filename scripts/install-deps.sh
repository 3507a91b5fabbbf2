#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, skipping what is already there.
# Usage: install-deps.sh build|test
set -euo pipefail

# The 32-bit companion launcher needs the i686 compiler of the posix thread model too (std::mutex).
packages=(cmake g++ make googletest g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 g++-mingw-w64-i686-posix
          binutils-mingw-w64-i686 openjdk-17-jdk-headless)
if [ "${1:-build}" = test ]; then
    # Wine runs the Windows programs (64-bit and 32-bit ones), Xvfb gives them a display, clang-format checks the
    # layout of the sources, osslsigncode and openssl sign a branded exe.
    packages+=(wine wine64 wine32:i386 xvfb xauth clang-format osslsigncode openssl)
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
# wine32 is an i386 package: Debian installs it only once that architecture is enabled.
if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
