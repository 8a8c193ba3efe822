#!/usr/bin/env bash
# Runs one command under Wine 10: inside the Debian 13 tree that
# scripts/wine10-chroot.sh makes, with this clone (build trees included)
# mounted at the same path, so the very exe files built here run there. The
# command starts its own session there (scripts/wine-session.sh) with
# Debian 13's Xvfb, openbox and Wine.
#   scripts/wine10-run.sh COMMAND...
#
# The run has a mount, a process and a network namespace of its own, and a
# /tmp of its own: another run at the same time sees none of its mounts,
# displays or servers (so each picks its display by its own lock files, whose
# process IDs mean something only in its namespace), and when the run ends,
# however it ends, every process it started (a display, a server) and every
# mount go with it.
# The exit trap ends those processes and unmounts anyway. Root only.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
clone=$(cd "$here/.." && pwd)

if [ "${1:-}" != --inside ]; then
  [ "$(id -u)" -eq 0 ] || { echo "wine10-run: needs root (chroot and mounts)" >&2; exit 77; }
  root=$("$here/wine10-chroot.sh")
  # Held shared while the tree is in use: it is never made again under a run.
  exec 9<"${VARNEL_CHROOT_CACHE:-/var/cache/varnel}/trixie.lock"
  flock -s 9
  # The inner part is the namespace's first process: when it ends, the
  # kernel ends every other one. unshare itself ignores INT and TERM, so a
  # signal here kills it, and its death tells the inner part (TERM), which
  # cleans up; this waits for that.
  unshare --mount --propagation private --pid --net --fork --kill-child=TERM -- \
    "$0" --inside "$root" "$@" &
  namespace=$!
  stop() {
    local inner
    inner=$(pgrep -P "$namespace" || true)
    kill -KILL "$namespace" 2>/dev/null || true
    while [ -n "$inner" ] && kill -0 "$inner" 2>/dev/null; do sleep 0.1; done
    exit "$1"
  }
  trap 'stop 130' INT
  trap 'stop 143' TERM HUP
  rc=0
  wait "$namespace" || rc=$?
  exit "$rc"
fi
shift
root=$1
shift

[ $$ = 1 ] || { echo "wine10-run: --inside is for the run's own namespace" >&2; exit 2; }
mounted=()
child=
cleanup() {
  local rc=$?
  trap - EXIT INT TERM HUP
  # Whatever still runs here (a server, a display) was started by this run,
  # the first process of its namespace: it ends them before their files are
  # unmounted.
  kill -TERM -1 2>/dev/null || true
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    kill -0 -1 2>/dev/null || break
    sleep 0.2
  done
  kill -KILL -1 2>/dev/null || true
  wait 2>/dev/null || true
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount -R -l "${mounted[i]}" 2>/dev/null || true
  done
  exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

bind() {
  mkdir -p "$root$2"
  mount --rbind "$1" "$root$2"
  mounted+=("$root$2")
}
# This namespace's processes only.
mount -t proc proc "$root/proc"
mounted+=("$root/proc")
bind /sys /sys
bind /dev /dev
# A /tmp of the run's own: X servers choose a free display by the lock files
# there, and the network namespace keeps their abstract sockets apart.
mkdir -p "$root/tmp"
mount -t tmpfs -o mode=1777 varnel-wine10-tmp "$root/tmp"
mounted+=("$root/tmp")
bind "$clone" "$clone"

cd "$clone"
# In the background, so that a signal ends the wait and the trap runs at once.
env -u DISPLAY -u WINEPREFIX -u WINE -u WINESERVER -u WINEARCH -u LD_LIBRARY_PATH \
  -u VARNEL_WINE_SESSION -u VARNEL_HEADS \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
  chroot "$root" /bin/sh -c 'cd "$1" && shift && exec "$@"' sh "$clone" "$@" &
child=$!
rc=0
wait "$child" || rc=$?
if [ "$rc" -ne 0 ]; then
  echo "wine10-run: FAILED under Wine 10 (Debian 13 tree $root), exit $rc: $*" >&2
fi
exit "$rc"
