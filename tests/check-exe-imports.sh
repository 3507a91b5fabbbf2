#!/usr/bin/env bash
# Fails unless the exe is a 64-bit GUI program that loads only kernel32 and the C runtime when it starts (the others are
# delay-loaded, cmake/DelayImports.cmake), or, given the DLLs the 32-bit build imports ("user32;gdi32"), a 32-bit one.
set -euo pipefail
exe="$1" system="${2:-}"
headers="$(x86_64-w64-mingw32-objdump -p "$exe")"
magic=$([ -n "$system" ] && echo 010b || echo 020b)
grep -q "Magic[[:space:]]*$magic" <<<"$headers" || { echo "not the PE image expected (magic $magic)"; exit 1; }
grep -q 'Subsystem[[:space:]]*00000002' <<<"$headers" || { echo "not a GUI-subsystem program"; exit 1; }

imports="$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z')"
[ -n "$imports" ] || { echo "no import table found"; exit 1; }
status=0
for dll in $imports; do
    case ";kernel32;msvcrt;$system;" in
        *";${dll%.dll};"*) echo "imports $dll" ;;
        *) echo "imports $dll at start: a system DLL belongs in KORU_SYSTEM_DLLS, to be delay-loaded"; status=1 ;;
    esac
done
exit $status
