#!/usr/bin/env bash
# Packs the Windows program for users: Varnel.exe (one static file), the
# README with its screenshot, the licence, and the licence notices of the
# libraries linked into the exe, gathered from their Debian packages now.
#   scripts/dist.sh [EXE [OUT_DIR]]   (default build/win/app/Varnel.exe, dist)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exe=$(realpath -m "${1:-$root/build/win/app/Varnel.exe}")
out=$(realpath -m "${2:-$root/dist}")
cd "$root"
scripts/check-imports.sh "$exe"
version=$(sed -n 's/^project(Varnel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/Varnel/docs" "$out"
cp "$exe" "$stage/Varnel/Varnel.exe"
cp README.md LICENSE "$stage/Varnel/"
cp docs/varnel-window.png "$stage/Varnel/docs/"
scripts/dist-notices.sh "$stage/Varnel" >/dev/null
zip=$out/varnel-$version-win64.zip
rm -f "$zip"
(cd "$stage" && zip -qr "$zip" Varnel)
echo "$zip"
