#!/usr/bin/env bash
# Fails unless the exe is a 64-bit GUI program whose import table names only Windows system DLLs.
set -euo pipefail
exe="$1"
headers="$(x86_64-w64-mingw32-objdump -p "$exe")"
grep -q 'Magic[[:space:]]*020b' <<<"$headers" || { echo "not a PE32+ image"; exit 1; }
grep -q 'Subsystem[[:space:]]*00000002' <<<"$headers" || { echo "not a GUI-subsystem program"; exit 1; }

system_dlls=" kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll comctl32.dll msvcrt.dll "
imports="$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z')"
[ -n "$imports" ] || { echo "no import table found"; exit 1; }
status=0
for dll in $imports; do
    case "$system_dlls" in
        *" $dll "*) echo "imports $dll" ;;
        *) echo "imports a non-system DLL: $dll"; status=1 ;;
    esac
done
exit $status
