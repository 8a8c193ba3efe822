#!/usr/bin/env bash
# Fails when the exe imports any DLL that is not part of Windows itself, so
# it always runs as a single file.
#   scripts/check-imports.sh EXE
set -euo pipefail
exe=$1
system='^(kernel32|user32|gdi32|comctl32|dwrite|winmm|msvcrt|ole32|oleaut32|shell32|advapi32|dwmapi|ntdll|uxtheme|oleacc)\.dll$'
bad=0
while read -r dll; do
  if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$system"; then
    echo "imports a DLL that Windows does not ship: $dll"
    bad=1
  fi
done < <(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/.*DLL Name: //p' | sort -u)
[ $bad -eq 0 ] && echo "only system DLLs"
exit $bad
