#!/usr/bin/env bash
# Packs the Windows program for users: Varnel.exe (one static file), the
# README with its screenshot, the licence, and the licence notices of the
# libraries linked into the exe, gathered from their Debian packages now.
# The same files give the same zip, byte for byte: the entries in a fixed
# order, each dated the last commit's time (SOURCE_DATE_EPOCH where set, as
# outside a git checkout), with fixed permissions and no owner or extra time
# fields.
#   scripts/dist.sh [EXE [OUT_DIR]]   (default build/win/app/Varnel.exe, dist)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exe=$(realpath -m "${1:-$root/build/win/app/Varnel.exe}")
out=$(realpath -m "${2:-$root/dist}")
cd "$root"
scripts/check-imports.sh "$exe"
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null) ||
    { echo "dist: not a git checkout: set SOURCE_DATE_EPOCH to the sources' time" >&2; exit 1; }
fi
version=$(sed -n 's/^project(Varnel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/Varnel/docs" "$out"
cp "$exe" "$stage/Varnel/Varnel.exe"
cp README.md LICENSE "$stage/Varnel/"
cp docs/varnel-window.png "$stage/Varnel/docs/"
scripts/dist-notices.sh "$stage/Varnel" >/dev/null
find "$stage/Varnel" -type d -exec chmod 755 {} +
find "$stage/Varnel" -type f -exec chmod 644 {} +
chmod 755 "$stage/Varnel/Varnel.exe"
find "$stage/Varnel" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
zip=$out/varnel-$version-win64.zip
rm -f "$zip"
# zip keeps local times: UTC, so the entries' times do not hang on the
# machine's zone.
(cd "$stage" && find Varnel | LC_ALL=C sort | TZ=UTC zip -q -X -@ "$zip")
echo "$zip"
