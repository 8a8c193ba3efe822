#!/usr/bin/env bash
# scripts/check-hardening.sh passes an exe built with the Windows build's
# hardening and fails, naming what is missing, on an exe built without each
# part of it in turn, and on a file that is no Windows program.
# The fixtures are linked here with the mingw-w64 compiler
# (tests/checks/check-cases.sh).
#   tests/checks/check-hardening-test.sh
set -euo pipefail
. "$(dirname "$0")/check-cases.sh" hardening

# A function with a local array, so the canaries have something to guard.
printf '#include <string.h>\nint main(int c, char** v) { char b[64]; strncpy(b, v[0], 63); b[63] = 0; return (int)strlen(b); }\n' >main.c
protect=(-O2 -fstack-protector-strong -D_FORTIFY_SOURCE=2)
layout=(-static -Wl,--dynamicbase -Wl,--high-entropy-va -Wl,--nxcompat)
link=("${layout[@]}" -Wl,--tsaware)
"$cc" "${protect[@]}" main.c "${link[@]}" -o hardened.exe
"$cc" "${protect[@]}" main.c "${link[@]}" -Wl,--disable-high-entropy-va -o no-high-entropy.exe
"$cc" "${protect[@]}" main.c "${link[@]}" -Wl,--disable-dynamicbase -o no-dynamic-base.exe
"$cc" "${protect[@]}" main.c "${link[@]}" -Wl,--disable-nxcompat -o no-nx.exe
"$cc" "${protect[@]}" main.c "${layout[@]}" -o no-tsaware.exe
"$cc" -O2 main.c "${link[@]}" -o no-canaries.exe
echo 'not a program' >text.exe

# name | file | expected exit | text the output must hold
status=0
run_check_cases <<'CASES' || status=1
all of it|hardened.exe|0|hardened: DllCharacteristics 00008160
no high-entropy addresses|no-high-entropy.exe|1|lacks HIGH_ENTROPY_VA
no address-space layout randomisation|no-dynamic-base.exe|1|lacks DYNAMIC_BASE
data pages executable|no-nx.exe|1|lacks NX_COMPAT
not Terminal Services aware|no-tsaware.exe|1|lacks TERMINAL_SERVER_AWARE
no stack canaries|no-canaries.exe|1|no stack canaries
not a PE file|text.exe|1|objdump cannot read
CASES
exit $status
