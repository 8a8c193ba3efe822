#!/usr/bin/env bash
# Runs one command in the Wine session of the slot that CTest gave the test
# (scripts/wine-slots.sh): its display and its prefix. A test that asks for
# a "session" resource starts with this. Outside a run of slots (CTest with
# no resources file, inside one scripts/wine-session.sh) the command
# runs in the session it was started in.
#   scripts/in-wine-slot.sh COMMAND...
set -euo pipefail
if [ -n "${CTEST_RESOURCE_GROUP_0_SESSION:-}" ]; then
  : "${VARNEL_WINE_SLOTS:?in-wine-slot: CTest gave a session slot, but no scripts/wine-slots.sh runs}"
  # "id:K,slots:1"
  id=${CTEST_RESOURCE_GROUP_0_SESSION#id:}
  id=${id%%,*}
  [ -f "$VARNEL_WINE_SLOTS/$id.env" ] ||
    { echo "in-wine-slot: slot '$id' has no session in $VARNEL_WINE_SLOTS" >&2; exit 1; }
  . "$VARNEL_WINE_SLOTS/$id.env"
  # What the command starts is in this slot already.
  unset CTEST_RESOURCE_GROUP_COUNT CTEST_RESOURCE_GROUP_0 CTEST_RESOURCE_GROUP_0_SESSION
fi
exec "$@"
