#!/usr/bin/env bash
# Starts Varnel under Wine. On a machine with a display it runs there; with
# none it runs on a private virtual display, saves a screenshot and ends.
set -euo pipefail
cd "$(dirname "$0")/.."
exe=build/win/app/Varnel.exe
prefix=build/win/run-prefix

if [ -n "${DISPLAY:-}" ]; then
  export WINEPREFIX=$(mkdir -p "$prefix" && cd "$prefix" && pwd)
  export WINE=/usr/lib/wine/wine64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  scripts/wine-prefix.sh
  exec "$WINE" "$exe"
fi

shot=$(pwd)/build/varnel-window.png
scripts/wine-session.sh "$prefix" --compositor --size 1280x800 -- bash -c '
  "$WINE" "$0" </dev/null >/dev/null 2>&1 &
  pid=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --name "^Varnel$" | head -n 1)
  sleep 2
  import -window root "$1"
  # Alt+F4, as a user closes it; the session ends whatever is left.
  [ -n "$window" ] && xdotool windowactivate --sync "$window" key alt+F4 >/dev/null 2>&1
  for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
' "$exe" "$shot"
echo "Screenshot of the window: $shot"
echo "No display here: Varnel needs a real display (set DISPLAY) to be used."
