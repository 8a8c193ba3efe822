#!/usr/bin/env bash
# Builds and runs every test: the portable code natively under ASan/UBSan
# (with the fuzzers for a bounded time), then the Windows build under Wine 8
# (this Debian 12) in a private display and prefix, then the same exe files
# under Wine 10 in a Debian 13 tree (scripts/wine10-chroot.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

# The Debian 13 tree is made (once per machine and package list) while the
# native build and tests run: it is mostly download and unpacking, they are
# mostly compiling. The Windows build waits for it, since it takes Wine 10's
# UI Automation headers from it.
start=$(date +%s)
treelog=$(mktemp)
scripts/wine10-chroot.sh >"$treelog" 2>&1 &
tree=$!
trap 'kill $tree 2>/dev/null || true; rm -f "$treelog"' EXIT

cmake --preset native >/dev/null
cmake --build --preset native
ctest --test-dir build/native --output-on-failure -j2

if wait $tree; then
  wine10_root=$(tail -n 1 "$treelog")
  echo "Wine 10 tree $wine10_root ready $(($(date +%s) - start)) s after the start"
else
  # The Wine 8 suites run all the same; every Wine10.* test then fails.
  cat "$treelog" >&2
  echo "Wine 10 tree could not be made: the Wine 10 suites will fail" >&2
  wine10_root=/var/cache/varnel/trixie
fi

cmake --preset win -DVARNEL_WINE10_ROOT="$wine10_root" >/dev/null
cmake --build --preset win
# Wine 8 first; then Wine 10, where each suite enters the tree and starts a
# session of its own there. Both CTest runs are inside the Wine 8 session:
# CTest lists the test programs' cases through Wine 8 whenever a program has
# changed.
scripts/wine-session.sh build/win/wineprefix -- bash -c '
  rc=0
  ctest --test-dir build/win --output-on-failure --timeout 300 -LE wine10 || rc=$?
  start=$(date +%s)
  ctest --test-dir build/win --output-on-failure --timeout 300 -L wine10 || rc=$?
  echo "Wine 10 suites: $(($(date +%s) - start)) s"
  exit $rc'
