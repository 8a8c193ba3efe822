#!/usr/bin/env bash
# scripts/check-imports.sh passes an exe that imports only KnownDLLs and
# delay-loads only system DLLs, and fails, saying why, on each of: an exe
# importing a DLL of its own, one importing a system DLL that is no KnownDLL
# without delay-loading it, one delay-loading a DLL of its own, a file that
# is not a PE file, a Linux program, a missing file, and a PE file that lists
# no DLL.
# The PE fixtures are linked here with the mingw-w64 compiler
# (tests/checks/check-cases.sh).
#   tests/checks/check-imports-test.sh
set -euo pipefail
. "$(dirname "$0")/check-cases.sh" imports

echo 'int main(void) { return 0; }' >plain.c
"$cc" plain.c -o system-only.exe
echo '__declspec(dllexport) int Helper(void) { return 1; }' >helper.c
"$cc" -shared helper.c -o helper.dll
echo '__declspec(dllimport) int Helper(void); int main(void) { return Helper(); }' >user.c
"$cc" user.c helper.dll -o helper-user.exe
# The same DLLs delay-loaded: the import libraries made as the build makes
# them (cmake/VarnelDelayLoad.cmake).
printf 'LIBRARY winmm.dll\nEXPORTS\n    timeGetTime\n' >winmm.def
x86_64-w64-mingw32-dlltool --input-def winmm.def --dllname winmm.dll --output-delaylib winmm-delay.a
printf 'LIBRARY helper.dll\nEXPORTS\n    Helper\n' >helper.def
x86_64-w64-mingw32-dlltool --input-def helper.def --dllname helper.dll --output-delaylib helper-delay.a
printf '#include <windows.h>\n#include <mmsystem.h>\nint main(void) { return (int)timeGetTime(); }\n' >clock.c
"$cc" clock.c -lwinmm -o winmm-imported.exe
"$cc" clock.c winmm-delay.a -o winmm-delayed.exe
"$cc" user.c helper-delay.a -o helper-delayed.exe
echo 'void Start(void) { for (;;) {} }' >bare.c
"$cc" -nostdlib -e Start bare.c -o no-imports.exe
echo 'not a program' >text.exe
cp /bin/true elf.exe

# name | file | expected exit | text the output must hold
status=0
run_check_cases <<'CASES' || status=1
system DLLs only|system-only.exe|0|only system DLLs
a DLL of its own|helper-user.exe|1|imports a DLL that Windows does not ship: helper.dll
winmm imported the usual way|winmm-imported.exe|1|is no KnownDLL without delay-loading it
winmm delay-loaded|winmm-delayed.exe|0|delay-loads winmm.dll
a DLL of its own delay-loaded|helper-delayed.exe|1|delay-loads a DLL that Windows does not ship: helper.dll
not a PE file|text.exe|1|objdump cannot read
a Linux program|elf.exe|1|is not a 64-bit Windows program
a missing file|missing.exe|1|objdump cannot read
a PE file with no import|no-imports.exe|1|lists no imported DLL
CASES
exit $status
