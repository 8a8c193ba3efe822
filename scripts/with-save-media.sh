#!/usr/bin/env bash
# Mounts two media for the command to save on and takes them away again on
# every path: a read-only one and a tiny one that a picture fills. Their
# folder is passed in VARNEL_SAVE_MEDIA, with readonly/ and small/ in it.
# Mounting needs root: anyone else gets exit code 77 (skipped) and the
# reason; as root a mount that fails fails the run.
#   scripts/with-save-media.sh COMMAND...
set -euo pipefail

if [ "$(id -u)" != 0 ]; then
  echo "with-save-media: not root, so no test media can be mounted: skipped"
  exit 77
fi

media=$(mktemp -d /tmp/varnel-media.XXXXXX)
cleanup() {
  for medium in readonly small; do
    if mountpoint -q "$media/$medium"; then
      umount "$media/$medium" || echo "with-save-media: cannot unmount $media/$medium" >&2
    fi
  done
  # rmdir, not rm -r: a medium still mounted is left alone, never emptied.
  rmdir "$media/readonly" "$media/small" "$media" 2>/dev/null || true
}
trap cleanup EXIT

mkdir "$media/readonly" "$media/small"
if ! mount -t tmpfs -o ro,size=64k varnel-readonly "$media/readonly"; then
  echo "with-save-media: running as root, yet a read-only tmpfs cannot be mounted" >&2
  exit 1
fi
if ! mount -t tmpfs -o size=64k varnel-small "$media/small"; then
  echo "with-save-media: running as root, yet a 64 KiB tmpfs cannot be mounted" >&2
  exit 1
fi

export VARNEL_SAVE_MEDIA=$media
"$@"
