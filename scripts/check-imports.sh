#!/usr/bin/env bash
# Fails when the exe could load a DLL from its own folder, or needs one that
# Windows does not ship, so it always runs as a single file and never runs a
# DLL planted beside it:
# - its import table, which the loader resolves before the program's first
#   line, lists KnownDLLs only (which always come from System32), and
#   comctl32 (bound through the manifest to the system's side-by-side copy);
# - its delay imports, loaded after the program has restricted the search
#   to System32, are DLLs that Windows ships.
# A file that objdump cannot read, that is not a 64-bit Windows program, or
# that lists no DLL at all (every Windows program imports kernel32) fails
# too: reading nothing must never pass as "only system DLLs".
#   scripts/check-imports.sh EXE
set -euo pipefail
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
# Windows 10's KnownDLLs (HKLM\SYSTEM\CurrentControlSet\Control\Session
# Manager\KnownDLLs) and ntdll, which every process has already.
known='^(advapi32|clbcatq|combase|comdlg32|coml2|difxapi|gdi32|gdiplus|imagehlp|imm32|kernel32|msctf|msvcrt|normaliz|nsi|ole32|oleaut32|psapi|rpcrt4|sechost|setupapi|shcore|shell32|shlwapi|user32|wldap32|ws2_32|ntdll)\.dll$'
manifest='^comctl32\.dll$'
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
delayed=$("$here/pe-delay-imports.py" "$exe" | sort -u)
lower() { tr 'A-Z' 'a-z'; }
bad=0
while read -r dll; do
  name=$(lower <<<"$dll")
  if grep -Eq "$known|$manifest" <<<"$name"; then
    continue
  elif grep -Eq "$system" <<<"$name"; then
    echo "imports a DLL that is no KnownDLL without delay-loading it: $dll"
  else
    echo "imports a DLL that Windows does not ship: $dll"
  fi
  bad=1
done <<<"$dlls"
while read -r dll; do
  [ -n "$dll" ] || continue
  if ! lower <<<"$dll" | grep -Eq "$known|$manifest|$system"; then
    echo "delay-loads a DLL that Windows does not ship: $dll"
    bad=1
  fi
done <<<"$delayed"
if [ $bad -eq 0 ]; then
  echo "only system DLLs: imports $(echo $dlls | lower); delay-loads $(echo ${delayed:-nothing} | lower)"
fi
exit $bad
