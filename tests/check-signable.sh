#!/usr/bin/env bash
# Fails unless the branded exe signs with a throw-away certificate and verifies, and unless the branding tool
# refuses the signed one (branding would break the signature) without writing anything.
# Usage: check-signable.sh <branded exe> <koru-brand>
set -euo pipefail
exe="$1" tool="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=koru test signer" -keyout "$work/key.pem" \
        -out "$work/cert.pem" 2>/dev/null
osslsigncode sign -certs "$work/cert.pem" -key "$work/key.pem" -n "Example Editor" -in "$exe" \
             -out "$work/signed.exe" >/dev/null
osslsigncode verify -CAfile "$work/cert.pem" -in "$work/signed.exe" >"$work/verify.log" 2>&1 ||
    { cat "$work/verify.log"; echo "the signed branded exe does not verify"; exit 1; }

if "$tool" "$work/signed.exe" "$work/again.exe" 2>"$work/refusal.log"; then
    echo "a signed exe was branded"
    exit 1
fi
grep -q "it is signed" "$work/refusal.log" || { echo "a signed exe was not refused"; cat "$work/refusal.log"; exit 1; }
[ ! -e "$work/again.exe" ] || { echo "a refused branding left an output"; exit 1; }
echo "signed, verified, and a signed input refused"
