#!/usr/bin/env bash
# Sets the system DPI that Wine reports to every process started afterwards,
# then runs the given command (inside a wine session).
#   scripts/set-dpi.sh DPI [COMMAND...]
set -euo pipefail
. "$(dirname "$0")/wine-step.sh"
dpi=$1
shift
wine_reg_add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi"
[ $# -eq 0 ] || exec "$@"
