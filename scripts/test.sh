#!/usr/bin/env bash
# Builds and runs every test: the portable code natively under ASan/UBSan
# (with the fuzzers for a bounded time), then the Windows build under Wine 8
# (this Debian 12) and Wine 10 (a Debian 13 tree, scripts/wine10-chroot.sh),
# several tests at once, each in a private display and prefix.
#   VARNEL_TEST_JOBS=N scripts/test.sh   (N Windows tests at once; default 2)
set -euo pipefail
cd "$(dirname "$0")/.."

start=$(date +%s)
stage() { echo "== $1 $(($(date +%s) - start)) s after the start"; }

# The Debian 13 tree is made (once per machine and package list) at low
# priority while the builds run: it is mostly download and unpacking, they
# are compiling, and nothing waits for it before the Wine tests start.
treelog=$(mktemp)
nice -n 19 ionice -c 2 -n 7 scripts/wine10-chroot.sh >"$treelog" 2>&1 &
tree=$!
trap 'kill $tree 2>/dev/null || true; rm -f "$treelog"' EXIT

cmake --preset native >/dev/null
cmake --build --preset native
stage "native build done"
ctest --test-dir build/native --output-on-failure -j2
stage "native tests done"

# The Windows build needs the tree only for the UI Automation client's
# headers: the rest is built meanwhile, and that one program once the tree
# is there (configuring again registers it).
wine10_root=$(scripts/wine10-chroot.sh --path)
cmake --preset win -DVARNEL_WINE10_ROOT="$wine10_root" >/dev/null
cmake --build --preset win
stage "Windows build done"
if wait $tree; then
  stage "Wine 10 tree $(tail -n 1 "$treelog") ready"
else
  # The Wine 8 suites run all the same; every Wine10.* test then fails.
  cat "$treelog" >&2
  echo "Wine 10 tree could not be made: the Wine 10 suites will fail" >&2
fi
cmake --preset win -DVARNEL_WINE10_ROOT="$wine10_root" >/dev/null
cmake --build --preset win

# Wine 8 and Wine 10 tests in one CTest run, JOBS at once: JOBS Wine 8
# sessions (slots) for the tests that share one, the others start their
# own. CTest lists the test programs' cases through slot 0's session.
jobs=${VARNEL_TEST_JOBS:-2}
scripts/wine-slots.sh build/win "$jobs" -- \
  ctest --test-dir build/win --output-on-failure --timeout 300 -j "$jobs" \
  --resource-spec-file "$PWD/build/win/wine-slots/resources.json"
stage "Windows tests done"
