#!/usr/bin/env bash
# Packs the Windows program for users: Varnel.exe (one static file), the
# README with its screenshot, and the licence.
set -euo pipefail
cd "$(dirname "$0")/.."
exe=build/win/app/Varnel.exe
scripts/check-imports.sh "$exe"
version=$(sed -n 's/^project(Varnel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/Varnel/docs" dist
cp "$exe" README.md LICENSE "$stage/Varnel/"
cp docs/varnel-window.png "$stage/Varnel/docs/"
zip="$(pwd)/dist/varnel-$version-win64.zip"
rm -f "$zip"
(cd "$stage" && zip -qr "$zip" Varnel)
echo "$zip"
