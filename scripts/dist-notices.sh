#!/usr/bin/env bash
# Gathers the licence notices of everything the linker puts into Varnel.exe
# besides our own code, as the Debian packages the libraries come from state
# them today: for each library, the package that holds the file the
# compiler links, and that package's copyright file
# (/usr/share/doc/PACKAGE/copyright). Fails when a library or a copyright
# file is missing or empty: a package without its notices is not made.
#   scripts/dist-notices.sh OUT_DIR
# Writes OUT_DIR/THIRD-PARTY-NOTICES.txt (what is in the exe, from which
# package and version, under which file) and OUT_DIR/licences/PACKAGE.txt.
# VARNEL_DEBIAN_DOC replaces /usr/share/doc (the test's missing files).
set -euo pipefail
out=$1
cxx=x86_64-w64-mingw32-g++-posix
doc=${VARNEL_DEBIAN_DOC:-/usr/share/doc}

fail() {
  echo "dist-notices: $*" >&2
  exit 1
}

# The static libraries of the link (-static -static-libgcc -static-libstdc++,
# zlib for the PNG encoder, libssp for -fstack-protector-strong and
# _FORTIFY_SOURCE), and what each brings into the exe.
libraries=(
  "libz.a|zlib, the deflate of the PNG encoder"
  "libmingwex.a|the mingw-w64 runtime: the C runtime's start-up code and extensions"
  "libwinpthread.a|winpthreads of mingw-w64, the threads under the C++ runtime"
  "libstdc++.a|the GCC C++ runtime library, under the GCC Runtime Library Exception"
  "libgcc.a|the GCC runtime library, under the GCC Runtime Library Exception"
  "libssp.a|the GCC stack protector library (stack canaries, checked copies), under the GCC Runtime Library Exception"
)

mkdir -p "$out/licences"
notices=$out/THIRD-PARTY-NOTICES.txt
{
  echo "Varnel.exe is one statically linked file. Besides Varnel's own code"
  echo "(see LICENSE) it holds these libraries, built by Debian; each one's"
  echo "copyright and licence texts, as its Debian package states them, are in"
  echo "the file named beside it."
  echo
} >"$notices"
declare -A copied=()
for entry in "${libraries[@]}"; do
  library=${entry%%|*}
  what=${entry#*|}
  file=$("$cxx" -print-file-name="$library")
  # Unknown to the compiler, the name comes back as it went in.
  [ "$file" != "$library" ] && [ -f "$file" ] || fail "the compiler links no $library"
  file=$(realpath "$file")
  # "package: path", or "package:arch: path" for a multi-arch one.
  package=$(dpkg-query -S "$file" 2>/dev/null | sed -n '1{s/: .*//;s/:.*//;p}' || true)
  [ -n "$package" ] || fail "no Debian package holds $file"
  version=$(dpkg-query -W -f='${Version}' "$package")
  copyright=$doc/$package/copyright
  [ -s "$copyright" ] || fail "$package has no copyright file ($copyright is missing or empty)"
  # Packages of one source share their notices (gcc and g++ do).
  source=$(realpath "$copyright")
  name=$(basename "$(dirname "$source")")
  if [ -z "${copied[$source]:-}" ]; then
    cp "$source" "$out/licences/$name.txt"
    copied[$source]=1
  fi
  echo "$what" >>"$notices"
  echo "    $library from $package $version: licences/$name.txt" >>"$notices"
done
echo "$notices"
