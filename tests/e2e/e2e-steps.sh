# Sourced by the end-to-end scripts: numbered steps with a screenshot each,
# failing with the step's name, and the reads they check the program by:
# X window geometry, screen pixels, the active window, the clipboard's
# picture, raw RGB compared pixel for pixel. The script sets e2e_name,
# shots (the screenshot folder) and convert (ImageMagick's) before it
# sources this.

step_no=0
step_name=set-up
failed=0

# The title bar's height in logical units, read from the window's
# definition (the script sets root, the clone, before it sources this).
title_bar=$(sed -n 's/^inline constexpr float TitleBarHeight = \([0-9][0-9]*\);$/\1/p' \
  "$root/app/Unit1Definition.h")
[ -n "$title_bar" ] || { echo "$e2e_name: no TitleBarHeight in app/Unit1Definition.h" >&2; exit 1; }

step() {
  step_no=$((step_no + 1))
  step_name=$1
  echo "$e2e_name: step $step_no: $step_name"
}
shot() {
  import -window root "$shots/$(printf '%02d' "$step_no")-$1.png"
}
fail() {
  failed=1
  echo "$e2e_name: FAILED at step $step_no ($step_name): $*" >&2
  import -window root "$shots/$(printf '%02d' "$step_no")-FAILED.png" 2>/dev/null || true
  exit 1
}

# "x y w h" of an X window, absolute on the screen.
# The first visible window whose title matches, within SECONDS. xdotool's
# own --sync gives up with an X error when a window it is looking at goes
# away meanwhile (Wine's short-lived helper windows do), so it is asked
# again instead.
find_window() {
  local name=$1 seconds=$2 id=
  local until=$(($(date +%s) + seconds))
  while [ "$(date +%s)" -lt "$until" ]; do
    id=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

geometry() {
  xwininfo -id "$1" 2>/dev/null | awk '
    /Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4}
    /^ *Width:/ {w=$2} /^ *Height:/ {h=$2}
    END { if (w != "") print x, y, w, h }' || true
}
# Waits until the window has the geometry, or fails after a few seconds with
# what it has.
wait_geometry() {
  local id=$1 want=$2 what=$3 seen=
  for _ in $(seq 100); do
    seen=$(geometry "$id")
    [ "$seen" = "$want" ] && return 0
    sleep 0.05
  done
  fail "$what: window at/size '$seen', expected '$want' (x y w h)"
}

# The colour of one screen pixel as rrggbb.
screen_pixel() {
  { import -window root -crop "1x1+$1+$2" -depth 8 rgb:- || true; } | od -An -tx1 | tr -d ' \n'
}
wait_screen_pixel() {
  local x=$1 y=$2 want=$3 what=$4 tries=${5:-30} seen=
  for _ in $(seq "$tries"); do
    seen=$(screen_pixel "$x" "$y")
    [ "$seen" = "$want" ] && return 0
    sleep 0.1
  done
  fail "$what: screen pixel ($x,$y) is #$seen, expected #$want"
}
hex_of() { od -An -tx1 | tr -d ' \n'; }

# The window manager's idea of the active window, as a decimal id.
active_window() {
  local id
  id=$(xprop -root _NET_ACTIVE_WINDOW | sed -n 's/.*# \(0x[0-9a-f]*\).*/\1/p')
  [ -n "$id" ] && printf '%d\n' "$id"
}
wait_active() {
  local id=$1 what=$2
  for _ in $(seq 100); do
    [ "$(active_window)" = "$id" ] && return 0
    sleep 0.05
  done
  fail "$what: window $id never became the active window (active: $(active_window))"
}

# Compares decoded raw RGB with the expected raw RGB of a W x H picture and
# names the first differing pixel.
compare_rgb() {
  local actual=$1 expected=$2 w=$3 h=$4 what=$5
  local asize esize
  asize=$(stat -c %s "$actual")
  esize=$(stat -c %s "$expected")
  [ "$asize" = "$esize" ] || fail "$what: decoded $asize bytes of RGB, expected $esize ($w x $h)"
  if ! cmp -s "$actual" "$expected"; then
    local byte pixel
    byte=$({ cmp -l "$actual" "$expected" 2>/dev/null || true; } | awk 'NR == 1 {print $1; exit}')
    pixel=$(( (byte - 1) / 3 ))
    local px=$((pixel % w)) py=$((pixel / w))
    local got want
    got=$(dd if="$actual" bs=1 skip=$((pixel * 3)) count=3 2>/dev/null | hex_of)
    want=$(dd if="$expected" bs=1 skip=$((pixel * 3)) count=3 2>/dev/null | hex_of)
    local count
    count=$({ cmp -l "$actual" "$expected" || true; } | wc -l)
    fail "$what: pixel ($px,$py) is #$got, expected #$want ($count differing bytes)"
  fi
}
# "w h" of an image file as ImageMagick reads it.
image_size() { identify -format '%w %h' "$1" 2>/dev/null || true; }
decode_rgb() { "$convert" "$1" -depth 8 rgb:"$2"; }

# Reads the clipboard's picture (served to X by the Wine side as a BMP) until
# it has the expected size; the previous picture may still be there at first.
read_clipboard() {
  local out=$1 w=$2 h=$3 what=$4 seen=
  for _ in $(seq 50); do
    if xclip -selection clipboard -t image/bmp -o >"$out" 2>/dev/null && [ -s "$out" ]; then
      seen=$(image_size "$out")
      [ "$seen" = "$w $h" ] && return 0
    fi
    sleep 0.2
  done
  fail "$what: the clipboard holds no $w x $h picture (last read: '${seen:-nothing}')"
}

# Clicks at window point (x, y), placed on the screen by the script's own
# at(), which knows where the window lies and at what scale.
click_at() {
  local x y
  read -r x y < <(at "$1" "$2")
  xdotool mousemove "$x" "$y" click 1
}

# Clicks the close button at window point (x, y), then waits until Varnel
# (started in the background as $varnel_pid) has ended, with exit code 0.
close_varnel_at() {
  click_at "$1" "$2"
  for _ in $(seq 150); do kill -0 "$varnel_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$varnel_pid" 2>/dev/null && fail "Varnel still runs after the close button"
  local rc=0
  wait "$varnel_pid" || rc=$?
  varnel_pid=
  [ "$rc" = 0 ] || fail "Varnel ended with exit code $rc"
}
