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
  xdotool search --sync --onlyvisible --name "^Varnel$" >/dev/null
  sleep 2
  import -window root "$1"
  xdotool search --name "^Varnel$" windowclose >/dev/null 2>&1 || true
  wait $pid || true
' "$exe" "$shot"
echo "Screenshot of the window: $shot"
echo "No display here: Varnel needs a real display (set DISPLAY) to be used."
