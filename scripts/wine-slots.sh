#!/usr/bin/env bash
# Runs one command (CTest) beside N private Wine sessions, the slots, so
# that N Windows tests can run at once, each with a display and a prefix to
# itself. Every slot is a scripts/wine-session.sh of its own, started here
# at the same time and stopped when the command ends, however it ends.
#
#   scripts/wine-slots.sh BUILD_DIR N -- COMMAND...
#
# Slot 0 uses BUILD_DIR/wineprefix (the prefix of a single session), slot K
# BUILD_DIR/wineprefix-slotK. The command runs in slot 0's environment (CTest
# lists the test programs' cases through it) with VARNEL_WINE_SLOTS naming a
# folder that holds, per slot, the variables that choose it (K.env), and
# resources.json: the CTest resources file that lists N "session"s, for
# `ctest --resource-spec-file`. A test that asks for one (RESOURCE_GROUPS
# session:1) enters its slot through scripts/in-wine-slot.sh.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(mkdir -p "$1" && cd "$1" && pwd)
count=$2
shift 2
[[ $count =~ ^[1-9][0-9]*$ ]] || { echo "wine-slots: N must be a positive number, not '$count'" >&2; exit 2; }
[ "${1:-}" = -- ] || { echo "usage: wine-slots.sh BUILD_DIR N -- COMMAND..." >&2; exit 2; }
shift

slots=$build/wine-slots
rm -rf "$slots"
mkdir -p "$slots"
# Each session's command waits while this file and this process exist: a
# run that is killed outright still ends every session within a second.
running=$slots/running
touch "$running"

sessions=()
stop() {
  rm -f "$running"
  local pid
  for pid in "${sessions[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap stop EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

for ((k = 0; k < count; k++)); do
  prefix=$build/wineprefix
  [ "$k" = 0 ] || prefix=$build/wineprefix-slot$k
  "$here/wine-session.sh" "$prefix" -- bash -c '
    for name in DISPLAY WINEPREFIX; do printf "export %s=%q\n" "$name" "${!name}"; done >"$1.tmp"
    mv "$1.tmp" "$1"
    while [ -e "$2" ] && kill -0 "$3" 2>/dev/null; do sleep 0.5; done' \
    slot "$slots/$k.env" "$running" $$ &
  sessions+=($!)
done

# Until every slot is up, or one has failed.
for ((k = 0; k < count; k++)); do
  until [ -f "$slots/$k.env" ]; do
    kill -0 "${sessions[k]}" 2>/dev/null ||
      { echo "wine-slots: the session of slot $k did not start" >&2; exit 1; }
    sleep 0.2
  done
done

{
  printf '{"version": {"major": 1, "minor": 0}, "local": [{"session": ['
  for ((k = 0; k < count; k++)); do
    printf '%s{"id": "%d", "slots": 1}' "$([ "$k" = 0 ] || echo ', ')" "$k"
  done
  printf ']}]}\n'
} >"$slots/resources.json"

# What every session exports alike (scripts/wine-session.sh), then slot 0's
# display and prefix.
export WINE=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64 VARNEL_WINE_SESSION=1
. "$slots/0.env"
export VARNEL_WINE_SLOTS=$slots
set +e
"$@"
rc=$?
set -e
exit $rc
