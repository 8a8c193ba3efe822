#!/usr/bin/env bash
# Placing Varnel from the keyboard, driven only from outside with real key
# events (xdotool) at one system DPI: arrows move the window one logical unit
# a press, a held key repeats, Shift+arrows resize from the bottom-right
# corner and leave the size boxes as they are, a focused size box keeps its
# own keys while Ctrl+arrows and Ctrl+Shift+arrows still place the window,
# the window stops at one unit wide and an empty viewfinder, and a region
# capture afterwards holds exactly the pixels of the new rectangle.
#
# Runs inside a private display and prefix with the pattern on the screen:
#   scripts/wine-session.sh build/win/wineprefix-keys -- \
#     scripts/with-screen-pattern.sh tests/e2e/keyboard-placement.sh 120
# Screenshots of every step go to build/win/e2e-keys-DPI/.
set -euo pipefail
# Tools' output is parsed below.
export LC_ALL=C

dpi=${1:?usage: keyboard-placement.sh DPI}
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${VARNEL_E2E_BUILD:-$root/build/win}
exe=${VARNEL_EXE:-$build/app/Varnel.exe}
shots=$build/e2e-keys-$dpi
work=$build/e2e-keys-$dpi/work

: "${WINE:?run inside scripts/wine-session.sh}"
: "${DISPLAY:?run inside scripts/wine-session.sh}"
[ -f "$exe" ] || { echo "keyboard placement: $exe is missing; build with: cmake --build --preset win" >&2; exit 1; }
expect=${VARNEL_ROAD_EXPECT:-}
[ -n "$expect" ] && [ -x "$expect" ] ||
  { echo "keyboard placement: VARNEL_ROAD_EXPECT names no program ('$expect'): run through CTest of the Windows build" >&2; exit 1; }

# The program's scale is the whole percentage of the DPI over 96, divided
# by 100; the expectations below are exact when that quotient is exact in
# single precision, as it is for every multiple of 25 %.
pct=$((dpi * 100 / 96))
[ $((pct % 25)) = 0 ] || { echo "keyboard placement: $dpi DPI gives $pct %; use a multiple of 25 %" >&2; exit 2; }

convert=/usr/bin/convert
rm -rf "$shots"
mkdir -p "$shots" "$work"
e2e_name="keyboard placement at $dpi DPI"
. "$root/tests/e2e/e2e-steps.sh"
. "$root/scripts/wine-step.sh"

varnel_pid=
cleanup() {
  local rc=$?
  if [ "$rc" != 0 ] && [ "$failed" = 0 ]; then
    echo "$e2e_name: FAILED at step $step_no ($step_name): stopped by an unexpected error (exit $rc)" >&2
    import -window root "$shots/$(printf '%02d' "$step_no")-FAILED.png" 2>/dev/null || true
  fi
  if [ -n "$varnel_pid" ]; then
    kill "$varnel_pid" >/dev/null 2>&1 || true
    wait "$varnel_pid" >/dev/null 2>&1 || true
  fi
}
trap cleanup EXIT

# Logical units to physical pixels, truncated (for the non-negative values
# used here), and back: the one logical value that a physical edge comes from.
phys() { echo $(($1 * pct / 100)); }
logical_of() { echo $((($1 * 100 + pct - 1) / pct)); }

# The window's logical geometry: left, top, width, viewfinder height. The
# title bar is title_bar units high (the definition's); its physical height takes the truncation
# slack, so the viewfinder's edges are exactly those a capture copies.
L=0 T=0 W=501 VH=332
window_geometry() {
  echo "$(phys $L) $(phys $T) $(phys $W) $(($(phys $((T + title_bar))) - $(phys $T) + $(phys $VH)))"
}
expect_window() { wait_geometry "$varnel" "$(window_geometry)" "$1"; }
# No change may come: the geometry stays what it is for a while.
expect_window_stays() {
  sleep 0.4
  local seen
  seen=$(geometry "$varnel")
  [ "$seen" = "$(window_geometry)" ] || fail "$1: window at/size '$seen', expected '$(window_geometry)'"
}
# A window-relative logical point on the screen, and a click there.
at() { echo "$(phys $((L + $1))) $(phys $((T + $2)))"; }
# The same keystroke n times.
press() {
  local n=$1 key=$2 keys=()
  for _ in $(seq "$n"); do keys+=("$key"); done
  xdotool key --delay 8 "${keys[@]}"
}
# The pixels of a window-relative logical rectangle, as a digest.
look_of() {
  local x y
  read -r x y < <(at "$1" "$2")
  { import -window root -crop "$(phys "$3")x$(phys "$4")+$x+$y" -depth 8 rgb:- || true; } | md5sum
}

# ---------------------------------------------------------------------------
step "start Varnel"
wine_reg_add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi"
"$WINE" "$exe" </dev/null >"$work/varnel.log" 2>&1 &
varnel_pid=$!
varnel=$(find_window '^Varnel$' 60) ||
  fail "no window titled Varnel appeared"
start=
for _ in $(seq 100); do
  start=$(geometry "$varnel")
  [ -n "$start" ] && break
  sleep 0.05
done
read -r x0 y0 _ _ <<<"$start"
L=$(logical_of "$x0")
T=$(logical_of "$y0")
# The size tells that the program runs at this DPI: 501 x 368 units.
expect_window "start-up size at $pct %"
xdotool windowactivate --sync "$varnel" || fail "Varnel could not be activated"
wait_active "$varnel" "activating Varnel"
shot started

# ---------------------------------------------------------------------------
step "arrow keys move the window by one unit a press"
xdotool key --delay 40 Right Right Right Down Down Left
L=$((L + 2)) T=$((T + 2))
expect_window "three Right, two Down, one Left"
# Alt with an arrow is not a placement key, and leaves no menu mode behind.
xdotool key alt+Right alt+Down
expect_window_stays "Alt+arrows"
xdotool key Up
T=$((T - 1))
expect_window "Up after the Alt+arrows"
shot moved

# ---------------------------------------------------------------------------
step "a held key repeats"
xdotool keydown Down
sleep 1.5
xdotool keyup Down
seen=
for _ in $(seq 20); do
  sleep 0.2
  now=$(geometry "$varnel")
  [ "$now" = "$seen" ] && break
  seen=$now
done
read -r _ y1 _ _ <<<"$seen"
held=$(($(logical_of "$y1") - T))
[ "$held" -ge 5 ] || fail "Down held for 1.5 s moved the window $held units; the key does not repeat"
T=$((T + held))
expect_window "after the held key ($held units)"
echo "$e2e_name: Down held for 1.5 s moved the window $held units"
shot held

# ---------------------------------------------------------------------------
step "Shift+arrows resize from the bottom-right corner"
boxes_before=$(look_of 224 6 88 26)
press 9 shift+Right
press 4 shift+Down
press 2 shift+Left
press 1 shift+Up
W=$((W + 7)) VH=$((VH + 3))
expect_window "nine Shift+Right, four Shift+Down, two Shift+Left, one Shift+Up"
[ "$(look_of 224 6 88 26)" = "$boxes_before" ] || fail "the size boxes changed with a keyboard resize"
shot resized

# ---------------------------------------------------------------------------
step "a focused size box keeps its keys; Ctrl places the window meanwhile"
click_at 246 19
xdotool key ctrl+a
xdotool type 300
click_at 290 19
xdotool key ctrl+a
xdotool type 10
# Up and Down step the box: 13, then 12.
xdotool key --delay 40 Up Up Up Down
# Home, Right and Shift+Right select the 2, which a 9 replaces: 19.
xdotool key --delay 40 Home Right shift+Right
xdotool type 9
expect_window_stays "arrows and Shift+arrows in a focused box"
press 2 ctrl+Right
press 1 ctrl+Down
L=$((L + 2)) T=$((T + 1))
expect_window "Ctrl+arrows with a box focused"
press 3 ctrl+shift+Right
press 2 ctrl+shift+Down
W=$((W + 3)) VH=$((VH + 2))
expect_window "Ctrl+Shift+arrows with a box focused"
# End and Shift+Left select the 9, which a 5 replaces: 15.
xdotool key --delay 40 End shift+Left
xdotool type 5
expect_window_stays "End and Shift+Left in the box"
shot box-keys
# The apply button reads the texts the boxes show: each key went where it should.
click_at 324 18
W=$((300 * 100 / pct)) VH=$((15 * 100 / pct))
expect_window "the typed size 300 x 15, as the box kept it"
shot applied

# ---------------------------------------------------------------------------
step "the window stops at one unit wide and an empty viewfinder"
press $((W + 8)) ctrl+shift+Left
press $((VH + 8)) ctrl+shift+Up
W=1 VH=0
expect_window "shrunk past both limits"
shot limits
# Nothing of the presses past the limits is kept.
press 1 ctrl+shift+Right
press 1 ctrl+shift+Down
W=2 VH=1
expect_window "one press back from the limits"
press 398 ctrl+shift+Right
press 56 ctrl+shift+Down
press 7 ctrl+Left
press 3 ctrl+Up
W=400 VH=57 L=$((L - 7)) T=$((T - 3))
expect_window "grown and moved again"
shot placed

# ---------------------------------------------------------------------------
step "region capture of the rectangle the keys left"
cap_x=$(phys $L) cap_y=$(phys $((T + title_bar))) cap_w=$(phys $W) cap_h=$(phys $VH)
"$expect" pattern "$cap_x" "$cap_y" "$cap_w" "$cap_h" >"$work/region.expected.rgb"
# The copy button looks disabled until a capture enables it.
disabled_look=$(look_of 122 6 28 24)
click_at 54 18
for _ in $(seq 50); do
  [ "$(look_of 122 6 28 24)" != "$disabled_look" ] && break
  sleep 0.1
done
[ "$(look_of 122 6 28 24)" != "$disabled_look" ] || fail "the copy button still looks disabled after the capture"
expect_window "the window after the capture"
click_at 136 18
read_clipboard "$work/region.bmp" "$cap_w" "$cap_h" "copy of the region"
decode_rgb "$work/region.bmp" "$work/region.rgb"
compare_rgb "$work/region.rgb" "$work/region.expected.rgb" "$cap_w" "$cap_h" \
  "capture of $cap_w x $cap_h at ($cap_x,$cap_y)"
shot captured

# ---------------------------------------------------------------------------
step "close"
close_varnel_at $((W - 14)) 17

echo "$e2e_name: passed ($step_no steps; screenshots in $shots)"
