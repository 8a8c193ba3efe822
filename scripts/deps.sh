#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that
# are missing, so it is cheap to run before every build.
set -euo pipefail

packages=(
  cmake make git pkg-config g++ clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-x86-64-dev libz-mingw-w64-dev googletest libgtest-dev libbenchmark-dev
  zlib1g-dev libpng-dev libx11-dev clang-format
  wine wine64 xvfb xserver-xorg-core xserver-xorg-video-dummy openbox xcompmgr xdotool
  x11-utils x11-xserver-utils xclip imagemagick pngcheck
  fonts-symbola fonts-dejavu-core fonts-ipafont-gothic zip python3-fonttools
  mmdebstrap
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
