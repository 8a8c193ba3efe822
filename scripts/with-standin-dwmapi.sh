#!/usr/bin/env bash
# Puts the stand-in dwmapi.dll (tests/standins) in the session's Wine prefix's
# System32, where Varnel looks for it (it loads DLLs from System32 alone),
# runs the command with Wine told to load that file before its own dwmapi,
# and puts the prefix's own file back afterwards, however the command ends.
#   scripts/with-standin-dwmapi.sh STANDIN_DLL COMMAND...
set -euo pipefail
: "${WINEPREFIX:?run inside scripts/wine-session.sh}"
standin=$1
shift
[ -s "$standin" ] || { echo "with-standin-dwmapi: no stand-in at '$standin'" >&2; exit 1; }
system32=$WINEPREFIX/drive_c/windows/system32
target=$system32/dwmapi.dll
saved=$(mktemp -d)
if [ -e "$target" ]; then
  cp -p "$target" "$saved/dwmapi.dll"
fi
restore() {
  if [ -e "$saved/dwmapi.dll" ]; then
    cp -p "$saved/dwmapi.dll" "$target"
  else
    rm -f "$target"
  fi
  rm -rf "$saved"
}
trap restore EXIT
mkdir -p "$system32"
cp "$standin" "$target"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}dwmapi=n,b"
set +e
"$@"
rc=$?
set -e
exit $rc
