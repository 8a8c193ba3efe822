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
# The exit trap ends those processes and unmounts anyway; a run told to
# stop ends within seconds, whatever moment the signal comes. Root only.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
clone=$(cd "$here/.." && pwd)

if [ "${1:-}" != --inside ]; then
  [ "$(id -u)" -eq 0 ] || { echo "wine10-run: needs root (chroot and mounts)" >&2; exit 77; }
  # Set before anything starts, so a signal at any moment ends the run. The
  # steps before the namespace run in the background of this shell, so a
  # signal is handled at once, not when the step ends.
  step=
  namespace=
  inner=
  stop() {
    trap '' INT TERM HUP
    [ -z "$step" ] || kill -TERM "$step" 2>/dev/null || true
    # The inner part is the namespace's first process: it ignores a signal
    # that comes before its traps are set, so it is told again every second.
    # It cleans up in a few seconds; what still runs after that is killed,
    # and with the namespace's first process the kernel kills every other.
    local tick
    for ((tick = 0; tick < 100; tick++)); do
      [ -n "$namespace" ] && kill -0 "$namespace" 2>/dev/null || break
      [ -n "$inner" ] || inner=$(pgrep -P "$namespace" || true)
      if ((tick % 10 == 0)); then
        if [ -n "$inner" ]; then kill -TERM "$inner" 2>/dev/null || true
        else kill -KILL "$namespace" 2>/dev/null || true; fi
      fi
      sleep 0.1
    done
    [ -z "$inner" ] || kill -KILL "$inner" 2>/dev/null || true
    [ -z "$namespace" ] || { kill -KILL "$namespace" 2>/dev/null || true; wait "$namespace" 2>/dev/null || true; }
    exit "$1"
  }
  trap 'stop 130' INT
  trap 'stop 143' TERM HUP
  in_background() {
    "$@" &
    step=$!
    wait "$step"
    step=
  }
  # The tree is made if needed, then held by a shared lock while the run
  # uses it (it is never made again under a run), and checked once the
  # lock is held: it may have been made again between the two.
  lock=${VARNEL_CHROOT_CACHE:-/var/cache/varnel}/trixie.lock
  root=
  for _ in 1 2 3; do
    in_background "$here/wine10-chroot.sh" >/dev/null
    exec 9<"$lock"
    in_background flock -s 9
    if root=$("$here/wine10-chroot.sh" --check); then break; fi
    exec 9<&-
  done
  [ -n "$root" ] || { echo "wine10-run: the Debian 13 tree keeps changing under the run" >&2; exit 1; }
  unshare --mount --propagation private --pid --net --fork --kill-child=TERM -- \
    "$0" --inside "$root" "$@" &
  namespace=$!
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
# Before anything is mounted or started. A TERM that comes before them is
# lost (this is the namespace's first process): the outer part tells it
# again until the run has ended.
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
