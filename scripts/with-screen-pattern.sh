#!/usr/bin/env bash
# Lays the known test picture on the screen's background (drawn by a small X
# client, tests/tools' screen-pattern), runs the command, and takes the
# picture away again. The Windows build builds the tool and gives its tests
# its path in VARNEL_SCREEN_PATTERN.
#   VARNEL_SCREEN_PATTERN=TOOL scripts/with-screen-pattern.sh COMMAND...
set -euo pipefail
tool=${VARNEL_SCREEN_PATTERN:-}
[ -n "$tool" ] && [ -x "$tool" ] ||
  { echo "with-screen-pattern: VARNEL_SCREEN_PATTERN names no program ('$tool'): run through CTest of the Windows build" >&2; exit 1; }
"$tool" set
set +e
"$@"
rc=$?
set -e
"$tool" clear || true
exit $rc
