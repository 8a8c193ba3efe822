# Sourced by the tests of the check scripts, which link their PE fixtures
# with the mingw-w64 compiler ($cc) in a folder of their own, and run a check
# on each case of a table.
#   . tests/checks/check-cases.sh NAME   sets $check (scripts/check-NAME.sh)
#                                        and $cc, and enters a fresh folder
#                                        that goes when the test ends
#   run_check_cases <<'CASES' ... CASES  one "name|file|expected exit|text
#                                        the output must hold" a line; says
#                                        ok or FAILED for each; fails when
#                                        any case did
check=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/check-$1.sh
cc=x86_64-w64-mingw32-gcc-posix
work=$(mktemp -d "/tmp/varnel-$1.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

run_check_cases() {
  local failures=0 name file want text out rc
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
