#!/usr/bin/env bash
# Fails unless the exe is a GUI program of the given width (64 unless 32 is given) that loads only kernel32 and the
# C runtime when it starts: every other system DLL is delay-loaded at its first use (cmake/DelayImports.cmake), and
# no DLL of our own is imported. The 32-bit build imports the system DLLs named after the width in the ordinary way.
# Usage: check-exe-imports.sh <exe> [64|32 [system DLL names, separated by spaces or ";"]]
set -euo pipefail
exe="$1"
if [ "${2:-64}" = 32 ]; then magic=010b format=PE32; else magic=020b format=PE32+; fi
allowed=" kernel32 msvcrt ${*:3} "
allowed="${allowed//;/ }"
headers="$(x86_64-w64-mingw32-objdump -p "$exe")"
grep -q "Magic[[:space:]]*$magic" <<<"$headers" || { echo "not a $format image"; exit 1; }
grep -q 'Subsystem[[:space:]]*00000002' <<<"$headers" || { echo "not a GUI-subsystem program"; exit 1; }

imports="$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z')"
[ -n "$imports" ] || { echo "no import table found"; exit 1; }
status=0
for dll in $imports; do
    if [[ "$allowed" == *" ${dll%.dll} "* ]]; then
        echo "imports $dll"
    else
        echo "imports $dll at start: a system DLL belongs in KORU_SYSTEM_DLLS, to be delay-loaded"
        status=1
    fi
done
exit $status
