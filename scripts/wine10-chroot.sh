#!/usr/bin/env bash
# Makes, or finds already made, the Debian 13 ("trixie") tree that the Wine 10
# tests run in, and prints its path. It lives outside the clone so that later
# runs on this machine reuse it, and is made again when the list of packages
# below changes (the stamp beside it holds a hash of the list). Packages come
# from the Debian mirror that this machine's own apt sources name.
#   scripts/wine10-chroot.sh            make it if needed, print its path
#   scripts/wine10-chroot.sh --packages print the package list
#   scripts/wine10-chroot.sh --path     print where it is (made or not)
#   scripts/wine10-chroot.sh --check    print where it is if it is made and
#                                       current, else fail
#
# VARNEL_CHROOT_CACHE (default /var/cache/varnel) is where it is kept.
set -euo pipefail

# Wine 10 and what the test scripts call in the session, as scripts/deps.sh
# has them for the host; libwine-dev for the UI Automation client's headers;
# Xorg's dummy driver for the desktops of several displays.
packages=(
  wine wine64 libwine-dev
  xvfb xserver-xorg-core xserver-xorg-video-dummy openbox xcompmgr xdotool x11-utils x11-xserver-utils xclip imagemagick pngcheck
  fonts-symbola fonts-dejavu-core fonts-ipafont-gothic python3 python3-fonttools
  procps coreutils findutils gawk
)
if [ "${1:-}" = --packages ]; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi

cache=${VARNEL_CHROOT_CACHE:-/var/cache/varnel}
root=$cache/trixie
if [ "${1:-}" = --path ]; then
  echo "$root"
  exit 0
fi
stamp=$cache/trixie.stamp
hash=$(printf '%s\n' "${packages[@]}" | sha256sum | cut -c1-16)

if [ "${1:-}" = --check ]; then
  [ -d "$root" ] && [ "$(cat "$stamp" 2>/dev/null)" = "$hash" ] || exit 1
  echo "$root"
  exit 0
fi

[ "$(id -u)" -eq 0 ] || { echo "wine10-chroot: needs root (mmdebstrap and chroot)" >&2; exit 1; }
mkdir -p "$cache"

# Another run may be making it at this moment, or using it: one makes it,
# the others wait (scripts/wine10-run.sh holds the same lock shared).
exec 9>"$cache/trixie.lock"
if [ -d "$root" ] && [ "$(cat "$stamp" 2>/dev/null)" = "$hash" ]; then
  echo "$root"
  exit 0
fi
flock -x 9
if [ -d "$root" ] && [ "$(cat "$stamp" 2>/dev/null)" = "$hash" ]; then
  echo "$root"
  exit 0
fi

# The machine's Debian mirror: the first deb source that is not the security
# archive, from the deb822 files or the one-line list.
mirror=$(
  {
    cat /etc/apt/sources.list.d/*.sources 2>/dev/null |
      awk 'tolower($1) == "uris:" { for (i = 2; i <= NF; i++) print $i }' || true
    cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
      awk '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i ~ /:\/\//) { print $i; break } }'
  } | grep -v -- '-security' | head -n 1 || true
)
[ -n "$mirror" ] || { echo "wine10-chroot: no Debian mirror in /etc/apt/sources*" >&2; exit 1; }

echo "wine10-chroot: making $root from $mirror (trixie, ${#packages[@]} packages)" >&2
start=$(date +%s)
rm -f "$stamp"
# --one-file-system: a tree that an interrupted run left with something
# mounted in it is removed without reaching through the mount.
rm -rf --one-file-system "$root" "$root.new"
include=$(IFS=,; echo "${packages[*]}")
# mmdebstrap mounts proc, sys and dev into the tree while it installs: in a
# mount namespace of its own those mounts end with it, however it ends.
if ! unshare --mount --propagation private -- \
  mmdebstrap --quiet --variant=apt --components=main --include="$include" \
  --aptopt='APT::Install-Recommends "false"' \
  --dpkgopt='path-exclude=/usr/share/man/*' --dpkgopt='path-exclude=/usr/share/doc/*' \
  --dpkgopt='path-exclude=/usr/share/locale/*' --dpkgopt='path-include=/usr/share/locale/locale.alias' \
  trixie "$root.new" "deb $mirror trixie main" >&2; then
  rm -rf --one-file-system "$root.new"
  echo "wine10-chroot: mmdebstrap failed" >&2
  exit 1
fi
mv "$root.new" "$root"
echo "$hash" >"$stamp"
echo "wine10-chroot: made in $(($(date +%s) - start)) s" >&2
echo "$root"
