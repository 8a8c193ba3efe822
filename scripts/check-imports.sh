#!/usr/bin/env bash
# Fails when the exe imports any DLL that is not part of Windows itself, so
# it always runs as a single file. A file that objdump cannot read, that is
# not a 64-bit Windows program, or that lists no DLL at all (every Windows
# program imports kernel32) fails too: reading nothing must never pass as
# "only system DLLs".
#   scripts/check-imports.sh EXE
set -euo pipefail
exe=$1
system='^(kernel32|user32|gdi32|comctl32|dwrite|winmm|msvcrt|ole32|oleaut32|shell32|advapi32|dwmapi|ntdll|uxtheme|oleacc)\.dll$'
if ! dump=$(x86_64-w64-mingw32-objdump -p "$exe" 2>&1); then
  echo "check-imports: objdump cannot read $exe:" >&2
  echo "$dump" >&2
  exit 1
fi
if ! grep -q 'file format pei-x86-64$' <<<"$dump"; then
  echo "check-imports: $exe is not a 64-bit Windows program ($(grep -m 1 -o 'file format .*' <<<"$dump"))" >&2
  exit 1
fi
dlls=$(echo "$dump" | sed -n 's/.*DLL Name: //p' | sort -u)
if [ -z "$dlls" ]; then
  echo "check-imports: $exe lists no imported DLL" >&2
  exit 1
fi
bad=0
while read -r dll; do
  if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$system"; then
    echo "imports a DLL that Windows does not ship: $dll"
    bad=1
  fi
done <<<"$dlls"
[ $bad -eq 0 ] && echo "only system DLLs"
exit $bad
