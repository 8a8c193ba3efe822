#!/usr/bin/env bash
# Takes the README's picture of Varnel: the window on a private composited
# display (translucency as on Windows), over a text editor and a game board
# that show through its viewfinder.
#   scripts/screenshot.sh [OUT.png]     (default docs/varnel-window.png)
set -euo pipefail
cd "$(dirname "$0")/.."
exe=build/win/app/Varnel.exe
out=$(realpath -m "${1:-docs/varnel-window.png}")
[ -f "$exe" ] || { echo "screenshot: build first (make build)" >&2; exit 1; }

scripts/wine-session.sh build/win/run-prefix --compositor --size 1280x800 -- bash -c '
  exe=$0 out=$1
  place() { # name x y width height
    local w
    w=$(timeout 60 xdotool search --sync --onlyvisible --name "$1" | head -n 1)
    xdotool windowsize --sync "$w" "$4" "$5" windowmove --sync "$w" "$2" "$3"
  }
  "$WINE" notepad "Z:$(pwd)/LICENSE" </dev/null >/dev/null 2>&1 &
  place "LICENSE - Notepad" 300 130 560 560
  "$WINE" winemine </dev/null >/dev/null 2>&1 &
  place "^WineMine$" 720 330 300 300
  "$WINE" "$exe" </dev/null >/dev/null 2>&1 &
  window=$(timeout 60 xdotool search --sync --onlyvisible --name "^Varnel$" | head -n 1)
  xdotool windowactivate --sync "$window" windowraise "$window" mousemove 5 5
  sleep 2
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root -crop 541x402+$((X - 20))+$((Y - 17)) +repage "$out"
  xdotool windowactivate --sync "$window" key alt+F4 >/dev/null 2>&1 || true
' "$exe" "$out"
echo "$out"
