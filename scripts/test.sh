#!/usr/bin/env bash
# Runs every test suite: the portable code natively with sanitizers, the JNI code against a real JVM, and the
# Windows unit and end-to-end tests under Wine in a throw-away prefix.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" test
jobs="$(nproc)"

native="$root/build/native"
cmake -S "$root" -B "$native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$native" -j"$jobs"

# The 64-bit launcher and its 32-bit companion, each tree with its tests; the hand-off tests of each tree start the
# other tree's launcher.
windows="$root/build/windows"
windows32="$root/build/windows32"
. "$root/scripts/wine-session.sh"
choose_wine
cmake -S "$root" -B "$windows" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORU_PAIR_BUILD="$windows32" -DKORU_WINE="$KORU_WINE" >/dev/null
cmake -S "$root" -B "$windows32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORU_PAIR_BUILD="$windows" -DKORU_WINE="$KORU_WINE" >/dev/null
cmake --build "$windows" -j"$jobs"
cmake --build "$windows32" -j"$jobs"

status=0
echo "== formatting (clang-format, .clang-format at the root)"
unformatted=()
while IFS= read -r file; do
    clang-format --dry-run --Werror "$root/$file" >/dev/null 2>&1 || unformatted+=("$file")
done < <(git -C "$root" ls-files 'src/*.cpp' 'src/*.h' 'src/*.c' 'tests/*.cpp' 'tests/*.h' 'tests/*.c')
if [ ${#unformatted[@]} -gt 0 ]; then
    printf 'not formatted: %s\n' "${unformatted[@]}"
    status=1
fi

echo "== native tests"
(cd "$native" && ctest --output-on-failure) || status=1

echo "== Windows tests under Wine"
start_wine_session
if [ "$KORU_RUNS_32BIT" != 1 ]; then
    # The hand-off test starts the 32-bit launcher, which cannot run here (see below).
    echo "NOT RUN: CompanionStart.* (the hand-off to the 32-bit launcher)"
    export GTEST_FILTER='-CompanionStart.*'
fi
# The Windows suites share the registry and the display, so they run one after the other.
(cd "$windows" && ctest --output-on-failure) || status=1
echo "== Windows tests of the 32-bit companion under Wine"
if [ "$KORU_RUNS_32BIT" = 1 ]; then
    (cd "$windows32" && ctest --output-on-failure) || status=1
else
    # The checks of the built files still run; the tests that start its programs cannot.
    echo "NOT RUN: this machine's kernel runs no 32-bit code, so Wine cannot start the 32-bit tree's test programs"
    (cd "$windows32" && ctest --output-on-failure -E '^(unit|e2e)$') || status=1
fi
end_wine_session
exit $status
