#!/usr/bin/env bash
# Fails when the exe lacks what a Windows security review expects of it:
# in its PE header's DllCharacteristics, HIGH_ENTROPY_VA (0x0020),
# DYNAMIC_BASE (0x0040), NX_COMPAT (0x0100) and TERMINAL_SERVER_AWARE
# (0x8000); and stack canaries in its code (__stack_chk_fail, which
# -fstack-protector-strong brings, in its symbol table). Control Flow Guard
# is not asked for: GCC cannot emit it. A file objdump cannot read, or that
# is not a 64-bit Windows program, fails too.
#   scripts/check-hardening.sh EXE
set -euo pipefail
exe=$1
if ! dump=$(x86_64-w64-mingw32-objdump -p "$exe" 2>&1); then
  echo "check-hardening: objdump cannot read $exe:" >&2
  echo "$dump" >&2
  exit 1
fi
if ! grep -q 'file format pei-x86-64$' <<<"$dump"; then
  echo "check-hardening: $exe is not a 64-bit Windows program" >&2
  exit 1
fi
flags=$(sed -n 's/^DllCharacteristics[[:space:]]*\([0-9a-fA-F]*\)$/\1/p' <<<"$dump")
if [ -z "$flags" ]; then
  echo "check-hardening: $exe has no DllCharacteristics that objdump shows" >&2
  exit 1
fi
bad=0
for bit in 0020:HIGH_ENTROPY_VA 0040:DYNAMIC_BASE 0100:NX_COMPAT 8000:TERMINAL_SERVER_AWARE; do
  if (( (16#$flags & 16#${bit%%:*}) == 0 )); then
    echo "DllCharacteristics $flags lacks ${bit#*:} (0x${bit%%:*})"
    bad=1
  fi
done
symbols=$(x86_64-w64-mingw32-nm "$exe" 2>/dev/null || true)
if ! grep -q ' __stack_chk_fail$' <<<"$symbols"; then
  echo "no stack canaries: __stack_chk_fail is not in the exe"
  bad=1
fi
[ $bad -eq 0 ] && echo "hardened: DllCharacteristics $flags, stack canaries"
exit $bad
