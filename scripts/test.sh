#!/usr/bin/env bash
# Builds and runs every test: the portable code natively under ASan/UBSan
# (with the fuzzers for a bounded time), then the Windows build under Wine in
# a private display and prefix.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset native >/dev/null
cmake --build --preset native
ctest --test-dir build/native --output-on-failure -j2

cmake --preset win >/dev/null
cmake --build --preset win
scripts/wine-session.sh build/win/wineprefix -- \
  ctest --test-dir build/win --output-on-failure --timeout 300
