#!/usr/bin/env bash
# Lays the known test picture on the screen's background (drawn by a small X
# client of the native build's), runs the command, and takes
# the picture away again.
#   scripts/with-screen-pattern.sh COMMAND...
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
tool=$here/build/native/tests/tools/screen-pattern
[ -x "$tool" ] || { echo "with-screen-pattern: $tool is missing (build the native preset)" >&2; exit 1; }
"$tool" set
set +e
"$@"
rc=$?
set -e
"$tool" clear || true
exit $rc
