#!/usr/bin/env bash
# One layout of several displays, inside a session that
# scripts/wine-session.sh --heads (the stand-in's heads) or --xorg-heads
# (Xorg's dummy outputs) started, over the screen pattern: xdotool puts the
# pointer in the middle of every head and the Windows side must see it
# there; then the layout's suites run (the DPI driver starts fresh processes
# at 96 and 144 DPI).
#   [VARNEL_WORKAREA=X,Y,W,H] [VARNEL_NO_WINDOW_CAPTURE=1] tests/win/multi-display.sh TESTS_EXE
# VARNEL_NO_WINDOW_CAPTURE leaves the window capture on another display out
# (see tests/wine10/CMakeLists.txt for why).
set -euo pipefail
exe=$1
: "${VARNEL_HEADS:?run inside scripts/wine-session.sh --heads or --xorg-heads}" "${WINE:?}" "${WINESERVER:?}"

# VARNEL_WORKAREA=X,Y,W,H (root coordinates) reserves what lies outside it,
# as a panel would: the window manager's work area is replaced, and Wine,
# which reads it when its desktop starts, is started afresh.
if [ -n "${VARNEL_WORKAREA:-}" ]; then
  for _ in $(seq 100); do
    xprop -root _NET_WORKAREA | grep -q = && break
    sleep 0.1
  done
  xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "$VARNEL_WORKAREA"
  . "$(dirname "$0")/../../scripts/wine-step.sh"
  wine_persistent_server
fi

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

suites='DisplayLayoutHelper.WineReportsEveryHeadAsADisplay:MultiDisplayAcrossDpiHelper.*'
[ -n "${VARNEL_NO_WINDOW_CAPTURE:-}" ] || suites+=':MultiDisplayWindowCaptureHelper.*'
run "$suites"
# Last, as it takes displays away (and gives them back). Only where the
# primary lies at the X screen's origin: the desktop then keeps its place in
# X when the other heads go, as a real display change does; with the primary
# elsewhere the whole desktop moves within the X screen (Wine moves it on
# the stand-in's heads, xrandr to the screen's origin on Xorg's outputs).
case ${heads[0]} in
  *+0+0) run 'DisplayRemovalHelper.*' ;;
esac
