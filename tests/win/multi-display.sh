#!/usr/bin/env bash
# One layout of several displays, inside a session that
# scripts/wine-session.sh --heads started, over the screen pattern: xdotool
# puts the pointer in the middle of every head and the Windows side must see
# it there; then the layout's suites run (the DPI driver starts fresh
# processes at 96 and 144 DPI).
#   tests/win/multi-display.sh TESTS_EXE
set -euo pipefail
exe=$1
: "${VARNEL_HEADS:?run inside scripts/wine-session.sh --heads}" "${WINE:?}"

# Runs the test program with a filter; fails unless a test ran and all passed.
run() {
  local out
  out=$(mktemp)
  set +e
  "$WINE" "$exe" --gtest_filter="$1" 2>&1 | tee "$out"
  local rc=${PIPESTATUS[0]}
  set -e
  grep -q '^\[  PASSED  \] [1-9]' "$out" || rc=1
  grep -q '^\[  FAILED  \]' "$out" && rc=1
  rm -f "$out"
  return "$rc"
}

IFS=, read -ra heads <<<"$VARNEL_HEADS"
for h in "${heads[@]}"; do
  IFS='x+' read -r w hh x y <<<"$h"
  point=$((10#$x + 10#$w / 2)),$((10#$y + 10#$hh / 2))
  xdotool mousemove "${point%,*}" "${point#*,}"
  echo "pointer at root $point (head $h)"
  VARNEL_POINTER_ROOT=$point run 'DisplayLayoutHelper.ThePointerIsWhereXdotoolPutIt'
done

run 'DisplayLayoutHelper.WineReportsEveryHeadAsADisplay:MultiDisplayAcrossDpiHelper.*:MultiDisplayWindowCaptureHelper.*'
