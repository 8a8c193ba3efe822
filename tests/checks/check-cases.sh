# Sourced by the tests of the check scripts: runs a check on each case of a
# table read from standard input, one "name|file|expected exit|text the
# output must hold" a line, says ok or FAILED for each, and returns the
# number of failures (0 when all passed).
#   run_check_cases CHECK_SCRIPT <<'CASES' ... CASES
run_check_cases() {
  local check=$1 failures=0 name file want text out rc
  while IFS='|' read -r name file want text; do
    set +e
    out=$("$check" "$file" 2>&1)
    rc=$?
    set -e
    if [ "$rc" != "$want" ] || ! grep -qF -- "$text" <<<"$out"; then
      echo "FAILED: $name: exit $rc (expected $want), output: $out"
      failures=$((failures + 1))
    else
      echo "ok: $name: $(head -n 1 <<<"$out")"
    fi
  done
  return $((failures > 0))
}
