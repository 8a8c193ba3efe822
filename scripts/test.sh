#!/usr/bin/env bash
# Builds and runs every test: the portable code natively under ASan/UBSan
# (with the fuzzers for a bounded time), then the Windows build under Wine 8
# (this Debian 12) in a private display and prefix, then the same exe files
# under Wine 10 in a Debian 13 tree (scripts/wine10-chroot.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

# The Debian 13 tree first: the Windows build takes Wine 10's UI Automation
# headers from it. Made once per machine and package list.
start=$(date +%s)
wine10_root=$(scripts/wine10-chroot.sh)
echo "Wine 10 tree $wine10_root ready in $(($(date +%s) - start)) s"

cmake --preset native >/dev/null
cmake --build --preset native
ctest --test-dir build/native --output-on-failure -j2

cmake --preset win -DVARNEL_WINE10_ROOT="$wine10_root" >/dev/null
cmake --build --preset win
rc=0
scripts/wine-session.sh build/win/wineprefix -- \
  ctest --test-dir build/win --output-on-failure --timeout 300 -LE wine10 || rc=$?

# Wine 10: each suite enters the tree and starts its own session there. The
# Wine 8 prefix is named only for CTest's test discovery, should the test
# programs have changed since the run above.
start=$(date +%s)
WINEPREFIX=$PWD/build/win/wineprefix WINEDEBUG=-all \
  ctest --test-dir build/win --output-on-failure --timeout 300 -L wine10 || rc=$?
echo "Wine 10 suites: $(($(date +%s) - start)) s"
exit $rc
