#!/usr/bin/env bash
# The package carries the licence notices of what is linked into the exe.
#   tests/checks/dist-notices-test.sh          the gathering step
#   tests/checks/dist-notices-test.sh EXE      and the zip that scripts/dist.sh
#                                              makes of EXE
# The step must bring each library's notices from its Debian package (zlib,
# mingw-w64's runtime and winpthreads, GCC's runtime library exception),
# each file whole and non-empty, and must fail, naming the package, when a
# copyright file is missing or empty.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/varnel-notices.XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# Each package's copyright file, and a line that only its notices hold.
expected=(
  "libz-mingw-w64-dev|Jean-loup Gailly and Mark Adler"
  "mingw-w64-x86-64-dev|mingw-w64-libraries/winpthreads"
  "mingw-w64-x86-64-dev|mingw-w64-crt"
  "gcc-mingw-w64-base|GCC RUNTIME LIBRARY EXCEPTION"
)
# Checks a folder of notices as the step or the zip left it.
check_notices() {
  local dir=$1 what=$2 entry package marker
  [ -s "$dir/THIRD-PARTY-NOTICES.txt" ] || fail "$what: no THIRD-PARTY-NOTICES.txt"
  for entry in "${expected[@]}"; do
    package=${entry%%|*}
    marker=${entry#*|}
    if [ ! -s "$dir/licences/$package.txt" ]; then
      fail "$what: licences/$package.txt is missing or empty"
    elif ! cmp -s "$dir/licences/$package.txt" "/usr/share/doc/$package/copyright"; then
      fail "$what: licences/$package.txt is not the package's copyright file"
    elif ! grep -qF "$marker" "$dir/licences/$package.txt"; then
      fail "$what: licences/$package.txt lacks '$marker'"
    fi
    grep -q "licences/$package.txt" "$dir/THIRD-PARTY-NOTICES.txt" ||
      fail "$what: THIRD-PARTY-NOTICES.txt does not name licences/$package.txt"
  done
  for library in libz.a libmingwex.a libwinpthread.a libstdc++.a libgcc.a libssp.a; do
    grep -qF "$library from " "$dir/THIRD-PARTY-NOTICES.txt" ||
      fail "$what: THIRD-PARTY-NOTICES.txt does not say where $library comes from"
  done
}

"$root/scripts/dist-notices.sh" "$work/step" >/dev/null || fail "the step failed on this machine"
check_notices "$work/step" "the step"

# A documentation root where one package's copyright file is missing, then
# where it is empty: the step fails and says so. gcc's and g++'s folders are
# links to the base package's, as installed.
for package in libz-mingw-w64-dev mingw-w64-x86-64-dev gcc-mingw-w64-base; do
  for broken in missing empty; do
    doc=$work/doc-$package-$broken
    mkdir -p "$doc"
    for p in libz-mingw-w64-dev mingw-w64-x86-64-dev gcc-mingw-w64-base \
      gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix; do
      if [ -L "/usr/share/doc/$p" ]; then
        cp -P "/usr/share/doc/$p" "$doc/$p"
      else
        mkdir "$doc/$p"
        cp "/usr/share/doc/$p/copyright" "$doc/$p/copyright"
      fi
    done
    if [ "$broken" = missing ]; then rm "$doc/$package/copyright"; else : >"$doc/$package/copyright"; fi
    set +e
    out=$(VARNEL_DEBIAN_DOC=$doc "$root/scripts/dist-notices.sh" "$work/out-$package-$broken" 2>&1)
    rc=$?
    set -e
    if [ "$rc" = 0 ]; then
      fail "copyright file of $package $broken, yet the step passed"
    elif ! grep -q "has no copyright file" <<<"$out"; then
      fail "copyright file of $package $broken: the step failed without saying so: $out"
    else
      echo "ok: copyright file of $package $broken: $out"
    fi
  done
done

if [ $# -gt 0 ]; then
  zip=$("$root/scripts/dist.sh" "$1" "$work/dist" | tail -n 1)
  unzip -q "$zip" -d "$work/unzipped" || fail "$zip does not unpack"
  for f in Varnel.exe README.md LICENSE docs/varnel-window.png; do
    [ -s "$work/unzipped/Varnel/$f" ] || fail "the zip lacks Varnel/$f"
  done
  check_notices "$work/unzipped/Varnel" "the zip"
fi
[ "$failures" = 0 ] && echo "the notices are all there"
exit $((failures > 0))
