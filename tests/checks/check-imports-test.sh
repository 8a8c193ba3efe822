#!/usr/bin/env bash
# scripts/check-imports.sh passes an exe that imports only system DLLs and
# fails, saying why, on each of: an exe importing a DLL of its own, a file
# that is not a PE file, a Linux program, a missing file, and a PE file that
# lists no DLL.
# The PE fixtures are linked here with the mingw-w64 compiler.
#   tests/checks/check-imports-test.sh
set -euo pipefail
check=$(cd "$(dirname "$0")/../.." && pwd)/scripts/check-imports.sh
cc=x86_64-w64-mingw32-gcc-posix
work=$(mktemp -d /tmp/varnel-imports.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"

echo 'int main(void) { return 0; }' >plain.c
"$cc" plain.c -o system-only.exe
echo '__declspec(dllexport) int Helper(void) { return 1; }' >helper.c
"$cc" -shared helper.c -o helper.dll
echo '__declspec(dllimport) int Helper(void); int main(void) { return Helper(); }' >user.c
"$cc" user.c helper.dll -o helper-user.exe
echo 'void Start(void) { for (;;) {} }' >bare.c
"$cc" -nostdlib -e Start bare.c -o no-imports.exe
echo 'not a program' >text.exe
cp /bin/true elf.exe

failures=0
# name | file | expected exit | text the output must hold
while IFS='|' read -r name file want text; do
  set +e
  out=$("$check" "$file" 2>&1)
  rc=$?
  set -e
  if [ "$rc" != "$want" ] || ! grep -qF -- "$text" <<<"$out"; then
    echo "FAILED: $name: exit $rc (expected $want), output: $out"
    failures=$((failures + 1))
  else
    echo "ok: $name: $(head -n 1 <<<"$out")"
  fi
done <<'CASES'
system DLLs only|system-only.exe|0|only system DLLs
a DLL of its own|helper-user.exe|1|imports a DLL that Windows does not ship: helper.dll
not a PE file|text.exe|1|objdump cannot read
a Linux program|elf.exe|1|is not a 64-bit Windows program
a missing file|missing.exe|1|objdump cannot read
a PE file with no import|no-imports.exe|1|lists no imported DLL
CASES
exit $((failures > 0))
