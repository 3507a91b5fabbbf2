#!/usr/bin/env bash
# Times the Linux branding tool of an existing Windows build (build/windows) on the built launcher, with an icon of
# four sizes, full version information and a settings text, and prints the launcher's size before and after.
# Usage: bench/brand.sh [runs]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
tool="$root/build/windows/host-brand/koru-brand" exe="$root/build/windows/bin/koru.exe"
[ -x "$tool" ] || { echo "build/windows/host-brand/koru-brand is missing: build the Windows tree first" >&2; exit 1; }
runs="${1:-20}" out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
start=$(date +%s%N)
for _ in $(seq "$runs"); do
    "$tool" --icon "$root/tests/fixtures/brand.ico" --settings "$root/tests/fixtures/brand.ini" \
            --file-version 2.1.0.7 --product-name "Example Editor" --company "Example Ltd" \
            --copyright "(c) 2026 Example Ltd" "$exe" "$out/editor.exe"
done
end=$(date +%s%N)
echo "branding: $(( (end - start) / runs / 1000 )) us a run over $runs runs (icon $(stat -c %s "$root/tests/fixtures/brand.ico") bytes)"
echo "launcher: $(stat -c %s "$exe") bytes, branded: $(stat -c %s "$out/editor.exe") bytes"
