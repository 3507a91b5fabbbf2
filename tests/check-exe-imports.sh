#!/usr/bin/env bash
# Fails unless the exe is a 64-bit program of the given subsystem (gui or console) that loads only kernel32 and the C
# runtime when it starts (every other system DLL is delay-loaded at its first use, cmake/DelayImports.cmake), or,
# given the DLLs the 32-bit build imports ("user32;gdi32"), a 32-bit one. No DLL of our own is imported. It must also
# stay within 200 KB: an exe that users download and start should not carry what it never uses.
set -euo pipefail
exe="$1" subsystem="${2:-gui}" system="${3:-}"
limit=$((200 * 1024))
headers="$(x86_64-w64-mingw32-objdump -p "$exe")"
magic=$([ -n "$system" ] && echo 010b || echo 020b)
grep -q "Magic[[:space:]]*$magic" <<<"$headers" || { echo "not the PE image expected (magic $magic)"; exit 1; }
code=$([ "$subsystem" = console ] && echo 3 || echo 2)
grep -q "Subsystem[[:space:]]*0000000$code" <<<"$headers" || { echo "not a $subsystem-subsystem program"; exit 1; }

size="$(stat -c %s "$exe")"
echo "$(basename "$exe"): $size bytes (limit $limit)"
status=$([ "$size" -le "$limit" ] && echo 0 || echo 1)

imports="$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z')"
[ -n "$imports" ] || { echo "no import table found"; exit 1; }
for dll in $imports; do
    case ";kernel32;msvcrt;$system;" in
        *";${dll%.dll};"*) echo "imports $dll" ;;
        *) echo "imports $dll at start: a system DLL belongs in KORU_SYSTEM_DLLS, to be delay-loaded"; status=1 ;;
    esac
done
exit $status
