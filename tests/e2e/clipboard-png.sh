#!/usr/bin/env bash
# The copy as a Linux program pastes it, at one system DPI: after a region
# capture over the screen pattern and a copy, the X clipboard offers
# image/png (Wine's export of the "PNG" format the copy promises), and the
# PNG read with xclip decodes (libpng, through the native tool png-pixels)
# to exactly the pattern under the viewfinder. A second copy that no
# program has pasted yet is made into a PNG when Varnel closes: after that,
# the PNG is still there, the same picture. (Wine's X11 side serves the
# clipboard from its desktop process, which ends with the last Wine
# program: a second program stays open throughout, as the user's other
# programs would.)
#
# Runs inside a private display and prefix with the pattern on the screen,
# as CTest of the Windows build runs it (ClipboardPng.At*Dpi):
#   scripts/wine-session.sh build/win/wineprefix-png -- \
#     scripts/with-screen-pattern.sh tests/e2e/clipboard-png.sh 144
# Screenshots of every step go to build/win/e2e-png-DPI/.
set -euo pipefail
export LC_ALL=C

dpi=${1:?usage: clipboard-png.sh DPI}
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${VARNEL_E2E_BUILD:-$root/build/win}
exe=${VARNEL_EXE:-$build/app/Varnel.exe}
shots=$build/e2e-png-$dpi
work=$build/e2e-png-$dpi/work

: "${WINE:?run inside scripts/wine-session.sh}"
: "${DISPLAY:?run inside scripts/wine-session.sh}"
[ -f "$exe" ] || { echo "clipboard png: $exe is missing; build with: cmake --build --preset win" >&2; exit 1; }
picture_exe=${VARNEL_ROAD_PICTURE:-$build/tests/e2e/road-picture.exe}
[ -f "$picture_exe" ] || { echo "clipboard png: $picture_exe is missing" >&2; exit 1; }
for tool in VARNEL_ROAD_EXPECT VARNEL_PNG_PIXELS; do
  [ -n "${!tool:-}" ] && [ -x "${!tool}" ] ||
    { echo "clipboard png: $tool names no program ('${!tool:-}'): run through CTest of the Windows build" >&2; exit 1; }
done
expect=$VARNEL_ROAD_EXPECT

pct=$((dpi * 100 / 96))
[ $((pct % 25)) = 0 ] || { echo "clipboard png: $dpi DPI gives $pct %; use a multiple of 25 %" >&2; exit 2; }

convert=/usr/bin/convert
rm -rf "$shots"
mkdir -p "$shots" "$work"
e2e_name="clipboard PNG at $dpi DPI"
. "$root/tests/e2e/e2e-steps.sh"
. "$root/scripts/wine-step.sh"

varnel_pid=
picture_pid=
cleanup() {
  local rc=$?
  if [ "$rc" != 0 ] && [ "$failed" = 0 ]; then
    echo "$e2e_name: FAILED at step $step_no ($step_name): stopped by an unexpected error (exit $rc)" >&2
  fi
  for pid in $varnel_pid $picture_pid; do
    kill "$pid" >/dev/null 2>&1 || true
    wait "$pid" >/dev/null 2>&1 || true
  done
}
trap cleanup EXIT

phys() { echo $(($1 * pct / 100)); }
logical_of() { echo $((($1 * 100 + pct - 1) / pct)); }
L=0 T=0 W=501 VH=332
at() { echo "$(phys $((L + $1))) $(phys $((T + $2)))"; }
look_of() {
  local x y
  read -r x y < <(at "$1" "$2")
  { import -window root -crop "$(phys "$3")x$(phys "$4")+$x+$y" -depth 8 rgb:- || true; } | md5sum
}

# Reads the clipboard's image/png until libpng decodes a picture of the
# expected size from it, and leaves its pixels as raw RGB.
read_png() {
  local png=$1 rgb=$2 w=$3 h=$4 what=$5 seen=
  for _ in $(seq 50); do
    if timeout 20 xclip -selection clipboard -t image/png -o >"$png" 2>/dev/null && [ -s "$png" ]; then
      seen=$("$VARNEL_PNG_PIXELS" "$png" "$rgb" 2>&1) || true
      [ "$seen" = "$w $h" ] && return 0
    fi
    sleep 0.2
  done
  fail "$what: the clipboard gives no $w x $h PNG (libpng read: '${seen:-nothing}'; targets: $(timeout 20 xclip -selection clipboard -t TARGETS -o 2>&1 | tr '\n' ' '))"
}

# ---------------------------------------------------------------------------
step "start another program and Varnel"
"$WINE" "$picture_exe" 0 0 48 48 </dev/null >"$work/picture.log" 2>&1 &
picture_pid=$!
find_window '^Road picture$' 60 >/dev/null ||
  fail "the second program's window did not appear"
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
wait_geometry "$varnel" "$(phys $L) $(phys $T) $(phys $W) $(($(phys $((T + 36))) - $(phys $T) + $(phys $VH)))" \
  "start-up size at $pct %"
shot started

# ---------------------------------------------------------------------------
step "region capture and copy"
cap_x=$(phys $L) cap_y=$(phys $((T + 36))) cap_w=$(phys $W) cap_h=$(phys $VH)
"$expect" pattern "$cap_x" "$cap_y" "$cap_w" "$cap_h" >"$work/expected.rgb"
disabled_look=$(look_of 122 6 28 24)
click_at 54 18
for _ in $(seq 50); do
  [ "$(look_of 122 6 28 24)" != "$disabled_look" ] && break
  sleep 0.1
done
[ "$(look_of 122 6 28 24)" != "$disabled_look" ] || fail "the copy button still looks disabled after the capture"
click_at 136 18
shot copied

# ---------------------------------------------------------------------------
step "paste image/png while Varnel runs"
for _ in $(seq 50); do
  timeout 20 xclip -selection clipboard -t TARGETS -o 2>/dev/null | grep -qx image/png && break
  sleep 0.2
done
targets=$(timeout 20 xclip -selection clipboard -t TARGETS -o 2>&1 | tr '\n' ' ') || true
echo "$targets" | grep -qw image/png || fail "the clipboard offers no image/png (targets: $targets)"
read_png "$work/running.png" "$work/running.rgb" "$cap_w" "$cap_h" "image/png while Varnel runs"
pngcheck -q "$work/running.png" >/dev/null || fail "pngcheck rejects the clipboard's PNG"
compare_rgb "$work/running.rgb" "$work/expected.rgb" "$cap_w" "$cap_h" "the pasted PNG"

# ---------------------------------------------------------------------------
step "copy again, close Varnel before any paste; the PNG outlives it"
click_at 136 18
sleep 1
close_varnel_at $((W - 14)) 17
shot closed
read_png "$work/closed.png" "$work/closed.rgb" "$cap_w" "$cap_h" "image/png after Varnel closed"
compare_rgb "$work/closed.rgb" "$work/expected.rgb" "$cap_w" "$cap_h" "the PNG pasted after Varnel closed"

echo "$e2e_name: passed ($step_no steps; screenshots in $shots)"
