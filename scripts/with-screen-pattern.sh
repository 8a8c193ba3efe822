#!/usr/bin/env bash
# Lays the known test picture on the screen's background (drawn by a small X
# client of its own, built here on first use), runs the command, and takes
# the picture away again.
#   scripts/with-screen-pattern.sh COMMAND...
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
tool=$here/build/tools/screen-pattern
source=$here/tests/e2e/ScreenPattern.cpp
if [ ! -x "$tool" ] || [ "$source" -nt "$tool" ] || [ "$here/tests/support/ScreenPattern.h" -nt "$tool" ]; then
  mkdir -p "$(dirname "$tool")"
  g++ -std=c++20 -O2 -I"$here" -o "$tool" "$source" -lX11
fi
"$tool" set
set +e
"$@"
rc=$?
set -e
"$tool" clear || true
exit $rc
