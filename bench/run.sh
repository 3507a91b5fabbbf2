#!/usr/bin/env bash
# Runs the benchmarks of an existing Windows build (build/windows) under Wine, in a throw-away prefix, and the native
# class-data archive benchmark of build/native against the real JVM when it is built.
# Usage: bench/run.sh [runs] [launcher exe to measure instead of the built one]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$root/build/windows/bin"
if [ ! -x "$bin/runtime_search_bench.exe" ]; then
    echo "build/windows/bin/runtime_search_bench.exe is missing: build the Windows tree first" >&2
    exit 1
fi
if [ -x "$root/build/native/bench/cds_bench" ]; then
    "$root/build/native/bench/cds_bench" "${1:-20}"
fi
. "$root/scripts/wine-session.sh"
. "$root/bench/startup-cpu.sh"
start_wine_session
"$KORU_WINE" "$bin/runtime_search_bench.exe"
"$KORU_WINE" "$bin/archive_name_bench.exe"
"$KORU_WINE" "$bin/startup_bench.exe" "${1:-20}"
startup_cpu "$bin" "${1:-20}" "${2:-}"
"$KORU_WINE" "$bin/forwarded_start_bench.exe" "${1:-20}"
"$KORU_WINE" "$bin/splash_bench.exe" "${1:-20}"
"$root/bench/brand.sh" "${1:-20}"
