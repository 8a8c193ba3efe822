#!/usr/bin/env bash
# The typical use of Varnel from start to close, driven only from outside
# with real pointer and key input (xdotool), as a user would: move the window
# over the screen pattern by its title bar, resize it by the viewfinder, type
# a size, stay on top on and off, region capture, copy, save as BMP and PNG
# through the real dialog, capture a second program's window brought forward
# during the countdown, close. Captures are checked against the pattern's and
# the second window's formulas, read back by other programs (xclip,
# ImageMagick, pngcheck).
#
# Runs inside a private display and prefix with the pattern on the screen,
# as CTest of the Windows build runs it (TypicalRoad.EndToEnd), which also
# gives it the native tools' paths:
#   scripts/wine-session.sh build/win/wineprefix-e2e -- \
#     scripts/with-screen-pattern.sh tests/e2e/typical-road.sh
# Screenshots of every step go to build/win/e2e-shots/.
set -euo pipefail
# Tools' output is parsed below.
export LC_ALL=C

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${VARNEL_E2E_BUILD:-$root/build/win}
exe=${VARNEL_EXE:-$build/app/Varnel.exe}
picture_exe=${VARNEL_ROAD_PICTURE:-$build/tests/e2e/road-picture.exe}
shots=$build/e2e-shots
work=$build/e2e-road

: "${WINE:?run inside scripts/wine-session.sh}"
: "${DISPLAY:?run inside scripts/wine-session.sh}"
for f in "$exe" "$picture_exe"; do
  [ -f "$f" ] || { echo "typical road: $f is missing; build with: cmake --build --preset win" >&2; exit 1; }
done

# The expected pixels come from the formulas that drew them, computed by a
# small native tool (tests/tools' road-expect) whose path the Windows build
# gives its tests.
expect=${VARNEL_ROAD_EXPECT:-}
[ -n "$expect" ] && [ -x "$expect" ] ||
  { echo "typical-road: VARNEL_ROAD_EXPECT names no program ('$expect'): run through CTest of the Windows build" >&2; exit 1; }

convert=/usr/bin/convert
rm -rf "$shots" "$work"
mkdir -p "$shots" "$work"

e2e_name="typical road"
. "$root/tests/e2e/e2e-steps.sh"
varnel_pid=
picture_pid=
cleanup() {
  local rc=$?
  if [ "$rc" != 0 ] && [ "$failed" = 0 ]; then
    echo "$e2e_name: FAILED at step $step_no ($step_name): stopped by an unexpected error (exit $rc)" >&2
    import -window root "$shots/$(printf '%02d' "$step_no")-FAILED.png" 2>/dev/null || true
  fi
  # Whatever a failed step left running; a passing run has ended both.
  for pid in $varnel_pid $picture_pid; do
    kill "$pid" >/dev/null 2>&1 || true
  done
  for pid in $varnel_pid $picture_pid; do
    wait "$pid" >/dev/null 2>&1 || true
  done
}
trap cleanup EXIT

# 0 when the first window lies above the second in the window manager's
# stacking order (bottom to top).
stacked_above() {
  local upper lower order
  upper=$(printf '0x%x' "$1")
  lower=$(printf '0x%x' "$2")
  order=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*#//' | tr ',' '\n' | tr -d ' ')
  local iu il
  iu=$(echo "$order" | { grep -n -x "$upper" || true; } | cut -d: -f1)
  il=$(echo "$order" | { grep -n -x "$lower" || true; } | cut -d: -f1)
  [ -n "$iu" ] && [ -n "$il" ] && [ "$iu" -gt "$il" ]
}
# Waits until the window manager has raised the first window over every
# window but the second: the restacking that activation causes is done, so
# what is stacked where can be checked at once.
wait_raised() {
  local raised=$1 kept=$2 what=$3 top
  raised=$(printf '0x%x' "$raised")
  kept=$(printf '0x%x' "$kept")
  for _ in $(seq 100); do
    top=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*#//' | tr ',' '\n' | tr -d ' ' |
      { grep -v -x "$kept" || true; } | tail -n 1)
    [ "$top" = "$raised" ] && return 0
    sleep 0.05
  done
  fail "$what: window $raised was never raised (top of the others: $top)"
}
has_above_state() {
  xprop -id "$1" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_ABOVE
}
# The one visible Varnel window; the program may make its system window anew
# when the stay-on-top setting changes, so the id is looked up again then.
visible_varnel() {
  local ids
  ids=$(xdotool search --onlyvisible --name '^Varnel$' 2>/dev/null || true)
  [ "$(echo "$ids" | grep -c .)" = 1 ] && echo "$ids"
}
# Waits until the window manager keeps Varnel above others (want=1) or no
# longer does (want=0), and updates $varnel.
wait_above_state() {
  local want=$1 what=$2 id
  for _ in $(seq 100); do
    if id=$(visible_varnel); then
      if has_above_state "$id"; then
        [ "$want" = 1 ] && { varnel=$id; return 0; }
      else
        [ "$want" = 0 ] && { varnel=$id; return 0; }
      fi
    fi
    sleep 0.05
  done
  fail "$what (_NET_WM_STATE of the Varnel window: $(xprop -id "${id:-$varnel}" _NET_WM_STATE 2>&1))"
}


# Fills the save dialog's name box with a full Windows path and accepts it.
save_through_dialog() {
  local path=$1 what=$2 dialog
  dialog=$(find_window '^Save$' 30) ||
    fail "$what: no save dialog appeared"
  xdotool windowactivate --sync "$dialog" || fail "$what: the save dialog could not be activated"
  # The name box holds the last accepted path: replace all of it.
  xdotool key --clearmodifiers End shift+Home BackSpace
  xdotool type --delay 20 "$path"
  shot "$3"
  xdotool key Return
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name '^Save$' >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  fail "$what: the save dialog did not close"
}

saved=
# Sets $saved to the file the dialog produced from a typed base name
# (Windows appends the default extension, Wine the filter's pattern, each in
# its own case).
saved_file() {
  local base=$1 ext=$2 what=$3 found=
  for _ in $(seq 100); do
    found=$(find "$work" -maxdepth 1 -type f -iname "$base.$ext" | head -n 1)
    [ -n "$found" ] && { saved=$found; return 0; }
    sleep 0.1
  done
  fail "$what: no $base.$ext in $work (there: $(cd "$work" && echo *))"
}

# Wine shows the root of the Linux file system as drive Z:.
windows_path() { printf 'Z:%s\n' "${1//\//\\}"; }

read -r screen_w screen_h < <(xwininfo -root | awk '/^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {print w, h}')

# ---------------------------------------------------------------------------
step "start Varnel"
"$WINE" "$exe" </dev/null >"$work/varnel.log" 2>&1 &
varnel_pid=$!
varnel=$(find_window '^Varnel$' 60) ||
  fail "no window titled Varnel appeared"
[ "$(xdotool search --onlyvisible --name '^Varnel$' | wc -l)" = 1 ] || fail "more than one Varnel window"
# 501 x 368 at 96 DPI, centred on the screen.
wait_geometry "$varnel" "$((screen_w / 2 - 250)) $((screen_h / 2 - 184)) 501 368" "start-up placement"
shot started

# Window-relative points of the controls (96 DPI, logical = physical).
title_y=18
at() { echo $((wx + $1)) $((wy + $2)); }

# ---------------------------------------------------------------------------
step "move the window by its title bar"
read -r wx wy _ _ < <(geometry "$varnel")
# Over a part of the pattern whose columns and rows cross several 256-pixel
# bands, so that every channel of the expected picture varies.
tx=500
ty=282
read -r px py < <(at 400 $title_y)
xdotool mousemove "$px" "$py" mousedown 1
for i in 1 2 3 4 5 6; do
  xdotool mousemove $((px + (tx - wx) * i / 8)) $((py + (ty - wy) * i / 8))
  sleep 0.05
done
xdotool mousemove $((px + tx - wx)) $((py + ty - wy))
sleep 0.1
xdotool mouseup 1
wait_geometry "$varnel" "$tx $ty 501 368" "move"
wx=$tx
wy=$ty
shot moved

# ---------------------------------------------------------------------------
step "resize by dragging in the viewfinder"
dw=77
dh=41
read -r px py < <(at 200 200)
xdotool mousemove "$px" "$py" mousedown 1
for i in 1 2 3 4; do
  xdotool mousemove $((px + dw * i / 5)) $((py + dh * i / 5))
  sleep 0.05
done
xdotool mousemove $((px + dw)) $((py + dh))
sleep 0.1
xdotool mouseup 1
wait_geometry "$varnel" "$wx $wy $((501 + dw)) $((368 + dh))" "resize"
shot resized

# ---------------------------------------------------------------------------
step "type a size and apply it"
# An odd width: BMP rows then carry padding.
vw=613
vh=287
click_at 246 19
xdotool key ctrl+a
xdotool type "$vw"
click_at 290 19
xdotool key ctrl+a
xdotool type "$vh"
shot boxes-typed
click_at 324 $title_y
wait_geometry "$varnel" "$wx $wy $vw $((title_bar + vh))" "size from the boxes"
shot size-applied

# ---------------------------------------------------------------------------
step "stay on top on and off"
# Another program's window over the right part of the title bar, where no
# control lies; its lower part hides the probe point when it is in front.
pw=157
ph=211
pl=$((wx + 400))
pt=$((wy + 30 - ph))
"$WINE" "$picture_exe" "$pl" "$pt" "$pw" "$ph" </dev/null >"$work/picture.log" 2>&1 &
picture_pid=$!
picture=$(find_window '^Road picture$' 60) ||
  fail "the second program's window did not appear"
wait_geometry "$picture" "$pl $pt $pw $ph" "second window placement"
read -r probe_x probe_y < <(at 470 15)
picture_at_probe=$("$expect" picture $((probe_x - pl)) $((probe_y - pt)) 1 1 | hex_of)
# A point of the second window that nothing covers, to show it is drawn.
free_x=$((pl + 60))
free_y=$((pt + 40))
picture_at_free=$("$expect" picture 60 40 1 1 | hex_of)
slate=708090

click_at 18 $title_y
wait_above_state 1 "stay on top pressed, but the window manager was never asked to keep the window above"
wait_geometry "$varnel" "$wx $wy $vw $((title_bar + vh))" "stay on top keeps the place"
# The user activates the other program by clicking it.
xdotool mousemove "$free_x" "$free_y" click 1
wait_active "$picture" "activating the second window"
wait_screen_pixel "$free_x" "$free_y" "$picture_at_free" "the second window drawn"
wait_raised "$picture" "$varnel" "activating the second window under a window kept on top"
stacked_above "$varnel" "$picture" || fail "with stay on top, the active second window was stacked above Varnel"
seen=$(screen_pixel "$probe_x" "$probe_y")
[ "$seen" = "$slate" ] || fail "with stay on top, the title bar is hidden: #$seen at ($probe_x,$probe_y), expected #$slate"
shot pinned

click_at 18 $title_y
wait_above_state 0 "stay on top released, but the window manager still keeps the window above"
wait_geometry "$varnel" "$wx $wy $vw $((title_bar + vh))" "releasing stay on top keeps the place"
xdotool mousemove "$free_x" "$free_y" click 1
wait_active "$picture" "activating the second window again"
wait_screen_pixel "$probe_x" "$probe_y" "$picture_at_probe" "released: the second window comes over the title bar"
stacked_above "$picture" "$varnel" || fail "released, but the active second window is not above Varnel"
shot unpinned

# ---------------------------------------------------------------------------
step "region capture"
# The viewfinder's screen rectangle: below the title bar (title_bar pixels at 100 %).
cap_x=$wx
cap_y=$((wy + title_bar))
"$expect" pattern "$cap_x" "$cap_y" "$vw" "$vh" >"$work/region.expected.rgb"
# Copy and both saves are disabled until a capture: their look changes when
# the capture enables them, which also tells that the capture is done.
output_buttons() {
  { import -window root -crop "96x28+$((wx + 120))+$((wy + 4))" -depth 8 rgb:- || true; } | md5sum
}
disabled_look=$(output_buttons)
click_at 54 $title_y
for _ in $(seq 50); do
  [ "$(output_buttons)" != "$disabled_look" ] && break
  sleep 0.1
done
[ "$(output_buttons)" != "$disabled_look" ] || fail "the copy and save buttons still look disabled after the capture"
wait_geometry "$varnel" "$wx $wy $vw $((title_bar + vh))" "the window after the capture"
shot region-captured

# ---------------------------------------------------------------------------
step "copy and read the clipboard back"
click_at 136 $title_y
read_clipboard "$work/region.clipboard.bmp" "$vw" "$vh" "copy of the region"
decode_rgb "$work/region.clipboard.bmp" "$work/region.clipboard.rgb"
compare_rgb "$work/region.clipboard.rgb" "$work/region.expected.rgb" "$vw" "$vh" "clipboard picture of the region"
shot copied

# ---------------------------------------------------------------------------
step "save as BMP through the dialog"
click_at 168 $title_y
save_through_dialog "$(windows_path "$work/road-region")" "BMP save" bmp-dialog
saved_file road-region bmp "BMP save"
bmp=$saved
stride=$(( (vw * 3 + 3) / 4 * 4 ))
bmp_size=$((54 + stride * vh))
for _ in $(seq 100); do
  [ "$(stat -c %s "$bmp")" -ge "$bmp_size" ] && break
  sleep 0.1
done
[ "$(stat -c %s "$bmp")" = "$bmp_size" ] || fail "$bmp has $(stat -c %s "$bmp") bytes, expected $bmp_size"
# Little-endian header fields: signature, file size, pixel offset, header
# size, width, height (positive: bottom-up), planes, bits, compression.
le32() { od -An -tu4 -j "$2" -N 4 "$1" | tr -d ' '; }
le16() { od -An -tu2 -j "$2" -N 2 "$1" | tr -d ' '; }
[ "$(head -c 2 "$bmp")" = BM ] || fail "$bmp does not start with BM"
[ "$(le32 "$bmp" 2)" = "$bmp_size" ] || fail "$bmp: bfSize $(le32 "$bmp" 2)"
[ "$(le32 "$bmp" 10)" = 54 ] || fail "$bmp: pixel offset $(le32 "$bmp" 10)"
[ "$(le32 "$bmp" 14)" = 40 ] || fail "$bmp: header size $(le32 "$bmp" 14)"
[ "$(le32 "$bmp" 18)" = "$vw" ] || fail "$bmp: width $(le32 "$bmp" 18)"
[ "$(le32 "$bmp" 22)" = "$vh" ] || fail "$bmp: height $(le32 "$bmp" 22)"
[ "$(le16 "$bmp" 26)" = 1 ] || fail "$bmp: planes $(le16 "$bmp" 26)"
[ "$(le16 "$bmp" 28)" = 24 ] || fail "$bmp: $(le16 "$bmp" 28) bits per pixel"
[ "$(le32 "$bmp" 30)" = 0 ] || fail "$bmp: compression $(le32 "$bmp" 30)"
[ "$(image_size "$bmp")" = "$vw $vh" ] || fail "$bmp: ImageMagick reads $(image_size "$bmp")"
decode_rgb "$bmp" "$work/region.bmp.rgb"
compare_rgb "$work/region.bmp.rgb" "$work/region.expected.rgb" "$vw" "$vh" "the saved BMP"
shot bmp-saved

# ---------------------------------------------------------------------------
step "save as PNG through the dialog"
click_at 200 $title_y
save_through_dialog "$(windows_path "$work/road-region")" "PNG save" png-dialog
saved_file road-region png "PNG save"
png=$saved
# Complete once pngcheck finds the whole file sound.
for _ in $(seq 100); do
  pngcheck -q "$png" >/dev/null 2>&1 && break
  sleep 0.1
done
check=$(pngcheck -v "$png" 2>&1) || fail "pngcheck rejects $png: $check"
echo "$check" | grep -q "$vw x $vh image, 24-bit RGB, non-interlaced" ||
  fail "$png is not a $vw x $vh 24-bit RGB image: $(echo "$check" | grep -m1 IHDR -A1 | tr '\n' ' ')"
[ "$(image_size "$png")" = "$vw $vh" ] || fail "$png: ImageMagick reads $(image_size "$png")"
decode_rgb "$png" "$work/region.png.rgb"
compare_rgb "$work/region.png.rgb" "$work/region.expected.rgb" "$vw" "$vh" "the saved PNG"
shot png-saved

# ---------------------------------------------------------------------------
step "window capture of the window brought forward during the countdown"
read -r bar_x bar_y < <(at 380 $title_y)
click_at 90 $title_y
# The user brings the other window forward at once, well inside the three
# seconds; meanwhile the title bar shows the countdown in green-yellow.
sleep 0.3
xdotool mousemove "$free_x" "$free_y" click 1
wait_active "$picture" "bringing the second window forward"
wait_screen_pixel "$bar_x" "$bar_y" adff2f "countdown colour" 20
shot countdown
# Slate grey again: the capture is done.
wait_screen_pixel "$bar_x" "$bar_y" "$slate" "title bar after the countdown" 60
"$expect" picture 0 0 "$pw" "$ph" >"$work/window.expected.rgb"
click_at 136 $title_y
read_clipboard "$work/window.clipboard.bmp" "$pw" "$ph" "copy of the window capture"
decode_rgb "$work/window.clipboard.bmp" "$work/window.clipboard.rgb"
compare_rgb "$work/window.clipboard.rgb" "$work/window.expected.rgb" "$pw" "$ph" "clipboard picture of the second window"
shot window-captured

# ---------------------------------------------------------------------------
step "close with the close button"
xdotool windowactivate --sync "$picture" key Escape
for _ in $(seq 100); do kill -0 "$picture_pid" 2>/dev/null || break; sleep 0.1; done
picture_rc=0
wait "$picture_pid" || picture_rc=$?
picture_pid=
[ "$picture_rc" = 0 ] || fail "the second program ended with $picture_rc"
read -r _ _ cur_w _ < <(geometry "$varnel")
close_varnel_at $((cur_w - 26 + 12)) 17
xdotool search --onlyvisible --name '^Varnel$' >/dev/null 2>&1 && fail "a Varnel window is still shown"
shot closed

echo "typical road: passed ($step_no steps; screenshots in $shots)"
