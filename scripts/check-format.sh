#!/usr/bin/env bash
# Fails when a C++ file of the project differs from what clang-format makes
# of it with the repository's .clang-format, and names the files. Our C++
# files, portable and Windows alike, are those in the trees that
# cmake/source-kinds.txt names.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
mapfile -t trees < <(sed -n 's/^tree \([^ ]*\)$/\1/p' cmake/source-kinds.txt)
[ ${#trees[@]} -gt 0 ] || { echo "check-format: cmake/source-kinds.txt names no tree" >&2; exit 1; }
mapfile -t files < <(find "${trees[@]}" \( -name '*.cpp' -o -name '*.h' \) -not -path '*/build/*' | sort)
[ ${#files[@]} -gt 0 ] || { echo "check-format: no sources found" >&2; exit 1; }
bad=()
for f in "${files[@]}"; do
  if ! clang-format --dry-run --Werror "$f" >/dev/null 2>&1; then bad+=("$f"); fi
done
if [ ${#bad[@]} -gt 0 ]; then
  echo "not clang-format clean (run clang-format -i on them):"
  printf '  %s\n' "${bad[@]}"
  exit 1
fi
echo "${#files[@]} files clang-format clean"
