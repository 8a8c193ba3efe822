#!/usr/bin/env bash
# Reads the program's saved files back with decoders that are not ours. The
# Windows suite SavedForDecodersHelper captures the known screen picture and
# saves it through the real save dialog as BMP and PNG into a scratch
# folder, with a raw dump of the held image's pixels and a manifest of the
# saved files; here ImageMagick must decode every file to exactly those
# pixels, each as the format it was saved in whatever its name, and pngcheck
# must pass every PNG file with no chunk besides IHDR, IDAT and IEND.
#   scripts/check-saved-images.sh WINE TEST_EXE
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
wine=$1
exe=$2
convert=/usr/bin/convert
identify=/usr/bin/identify

out=$(mktemp -d /tmp/varnel-saved.XXXXXX)
log=$(mktemp /tmp/varnel-saved-log.XXXXXX)
trap 'rm -rf "$out" "$log"' EXIT

fail() {
  echo "check-saved-images: $*" >&2
  exit 1
}

VARNEL_SAVE_FOLDER=$out "$here/with-screen-pattern.sh" "$wine" "$exe" \
  --gtest_filter='SavedForDecodersHelper.*' 2>&1 | tee "$log"
# A filter that matched nothing passes no test.
grep -q '^\[  PASSED  \] [1-9][0-9]* tests\?\.' "$log" || fail "the saving suite ran no test"
[ -s "$out/manifest.txt" ] || fail "the saving suite wrote no manifest"
[ -s "$out/expected.rgb" ] || fail "the saving suite wrote no pixel dump"

read -r _ width height <"$out/manifest.txt"
checked=0
while read -r format file; do
  [ -f "$file" ] || fail "$file was not saved"
  # Told nothing but the file, ImageMagick must see the saved format (a BMP
  # with the 40-byte description is what it calls BMP3).
  case $format in bmp) magick=BMP3 ;; png) magick=PNG ;; *) fail "unknown format $format" ;; esac
  seen=$("$identify" -format '%m %w %h' "$file")
  [ "$seen" = "$magick $width $height" ] || fail "$file: identified as '$seen'"
  "$convert" "$format:$file" -depth 8 "rgb:$out/decoded.rgb"
  cmp "$out/expected.rgb" "$out/decoded.rgb" || fail "$file: pixels differ from the held image"
  if [ "$format" = png ]; then
    report=$(pngcheck -v "$file") || fail "$file: pngcheck: $report"
    chunks=$(echo "$report" | sed -n 's/^  chunk \([A-Za-z]\{4\}\) .*/\1/p' | sort -u | tr '\n' ' ')
    [ "$chunks" = "IDAT IEND IHDR " ] || fail "$file: chunks $chunks"
  fi
  echo "check-saved-images: $file decodes to the held image"
  checked=$((checked + 1))
done < <(tail -n +2 "$out/manifest.txt")
[ "$checked" -gt 0 ] || fail "the manifest lists no file"
echo "check-saved-images: all $checked saved files decode to the held image"
