# Sourced by the Wine scripts: the set-up steps of a prefix and a session,
# none of which may fail in silence.

# `wine_step COMMAND...` runs one step with its chatter hidden; when the step
# fails it says which, with what the step printed. The chatter goes to a
# file, not a pipe: the server and helpers a step starts keep their output
# open long after the step has ended.
wine_step() {
  local log rc=0
  log=$(mktemp)
  "$@" </dev/null >"$log" 2>&1 || rc=$?
  if [ "$rc" -ne 0 ]; then
    echo "$(basename "$0"): '$*' failed with $rc:" >&2
    tail -n 20 "$log" >&2
  fi
  rm -f "$log"
  return "$rc"
}

# A value in the prefix's registry, set through Wine's reg.exe.
wine_reg_add() {
  wine_step "${WINE:-/usr/lib/wine/wine64}" reg add "$@" /f
}

# Restarts the prefix's server as one that persists, with Wine's helper
# processes, until the session ends: every test process then starts in well
# under a second. `wineserver -p` fails, silently and with status 2, when a
# server already runs: one that a Wine process started in between, or one
# still on its way out. So the server is stopped and started again until
# the persistent one is ours.
wine_persistent_server() {
  local try
  for try in 1 2 3 4 5; do
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w >/dev/null 2>&1 || true
    if "$WINESERVER" -p; then
      "$WINE" cmd /c exit </dev/null >/dev/null 2>&1 || true
      return 0
    fi
    sleep 0.5
  done
  echo "$(basename "$0"): no persistent wineserver for $WINEPREFIX after $try tries" >&2
  return 1
}
