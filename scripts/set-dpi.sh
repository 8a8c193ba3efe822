#!/usr/bin/env bash
# Sets the system DPI that Wine reports to every process started afterwards,
# then runs the given command (inside a wine session).
#   scripts/set-dpi.sh DPI [COMMAND...]
set -euo pipefail
dpi=$1
shift
"${WINE:-/usr/lib/wine/wine64}" reg add 'HKCU\Control Panel\Desktop' /v LogPixels \
  /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
[ $# -eq 0 ] || exec "$@"
