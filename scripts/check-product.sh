#!/usr/bin/env bash
# Checks that the given executable is a PE32 i386 image whose imports are all
# DLLs that come with Windows itself. Prints the size and the imported DLLs.
set -euo pipefail
exe=$1
system_dlls='^(kernel32|user32|gdi32|comctl32|shell32|advapi32|wininet|msvcrt|ws2_32|ole32|oleaut32|comdlg32|version|shlwapi)\.dll$'
head=$(i686-w64-mingw32-objdump -f "$exe")
echo "$head" | grep -q 'file format pei-i386' || { echo "not a PE32 i386 image"; exit 1; }
dlls=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
echo "size: $(stat -c %s "$exe") bytes"
echo "imports: $(echo $dlls)"
bad=$(echo "$dlls" | grep -vE "$system_dlls" || true)
if [ -n "$bad" ]; then echo "imports outside Windows: $bad"; exit 1; fi
