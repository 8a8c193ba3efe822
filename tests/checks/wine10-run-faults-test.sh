#!/usr/bin/env bash
# A Wine 10 run (scripts/wine10-run.sh) told to stop (TERM) at four
# moments: at once, while its session starts, while its command runs, and
# while it stops. Each time it must end within a bounded time and leave
# nothing behind: no process of its own, no mount, no lock on the tree, no
# file in the machine's /tmp; and then a run must pass. Root only; the tree
# must be made (scripts/wine10-chroot.sh).
#   tests/checks/wine10-run-faults-test.sh SCRATCH_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
run=$here/scripts/wine10-run.sh
session=$here/scripts/wine-session.sh
[ "$(id -u)" -eq 0 ] || { echo "wine10-run faults: not root: skipped"; exit 77; }
tree=$("$here/scripts/wine10-chroot.sh" --check) ||
  { echo "wine10-run faults: no Debian 13 tree (scripts/wine10-chroot.sh)" >&2; exit 1; }

scratch=$1
rm -rf "$scratch"
mkdir -p "$scratch"
scratch=$(cd "$scratch" && pwd)
# A cache of its own around the same tree: its lock is this test's alone.
export VARNEL_CHROOT_CACHE=$scratch/cache
mkdir -p "$VARNEL_CHROOT_CACHE"
ln -s "$tree" "$VARNEL_CHROOT_CACHE/trixie"
cp "$(dirname "$tree")/trixie.stamp" "$VARNEL_CHROOT_CACHE/trixie.stamp"
prefix=$scratch/wineprefix
marks=$scratch/marks
# Every process of a run carries its tag in its environment.
tag=varnel-fault-$$-$RANDOM

current=
fail() {
  echo "wine10-run faults: FAILED: $*" >&2
  exit 1
}
# A failed check stops the run it was watching.
trap '[ -z "$current" ] || { kill -TERM "$current" 2>/dev/null; wait "$current" 2>/dev/null; }' EXIT
tagged() {
  grep -lsz "^VARNEL_FAULT_TAG=$tag-$1\$" /proc/[0-9]*/environ | cut -d/ -f3 || true
}
wait_for() {
  local what=$1 i
  shift
  # A prefix is made in under a minute on a quiet machine.
  for ((i = 0; i < 3000; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  fail "$what did not happen within 300 s"
}
has_tagged_xvfb() {
  local pid
  for pid in $(tagged "$1"); do
    [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ] && return 0
  done
  return 1
}

# Starts a run of COMMAND, stops it when WHEN (a command) holds, and checks
# that it ended in time and left nothing behind.
kill_run() {
  local moment=$1 when=$2
  shift 2
  rm -rf "$marks"
  mkdir -p "$marks"
  echo "wine10-run faults: stopping a run $moment"
  VARNEL_FAULT_TAG=$tag-$moment "$run" "$@" >"$scratch/$moment.log" 2>&1 &
  local pid=$! stopped ended
  current=$pid
  wait_for "the moment ($moment)" $when
  stopped=$(date +%s%N)
  kill -TERM "$pid"
  local i
  for ((i = 0; i < 300; i++)); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && fail "$moment: the run still runs 30 s after TERM"
  ended=$((($(date +%s%N) - stopped) / 1000000))
  current=
  wait "$pid" && fail "$moment: the stopped run said it passed"
  echo "wine10-run faults: ended $ended ms after TERM"
  # What the kernel has still to reap goes within a moment.
  for ((i = 0; i < 50; i++)); do
    [ -z "$(tagged "$moment")" ] && break
    sleep 0.1
  done
  local left
  left=$(tagged "$moment")
  [ -z "$left" ] || fail "$moment: processes left: $(for p in $left; do cat "/proc/$p/cmdline" | tr '\0' ' '; echo; done)"
  if grep -q " $tree/" /proc/self/mountinfo; then
    fail "$moment: mounts left in the tree: $(grep " $tree/" /proc/self/mountinfo)"
  fi
  flock -n -x "$VARNEL_CHROOT_CACHE/trixie.lock" true || fail "$moment: the tree is still locked"
  [ ! -e "/tmp/$tag-$moment" ] || fail "$moment: the run wrote into the machine's /tmp"
}

marked() { [ -e "$marks/$1" ]; }
started() { [ -n "$(tagged at-once)" ]; }

# At once: before the run's traps, or its namespace's, may be set.
kill_run at-once started "$session" "$prefix" -- sleep 600
# While the session starts: the display is up, the prefix being made.
rm -rf "$prefix"
kill_run during-start "has_tagged_xvfb during-start" "$session" "$prefix" -- sleep 600
# While the command runs; what it puts in /tmp is the run's own.
kill_run during-a-test "marked in-test" "$session" "$prefix" -- \
  sh -c 'touch "/tmp/$VARNEL_FAULT_TAG" "$1/in-test" && exec sleep 600' sh "$marks"
# While the run stops: the command has ended, leaving a process that
# ignores TERM, so the run's clean-up waits for it.
kill_run during-stop "marked stopping" sh -c \
  '(trap "" TERM; exec sleep 600) & sleep 0.2; touch "$1/stopping"' sh "$marks"

# And then a run passes, in the prefix the second stop cut short.
out=$(VARNEL_FAULT_TAG=$tag-next "$run" "$session" "$prefix" -- \
  sh -c 'xdpyinfo >/dev/null && "$WINE" cmd /c echo passed' 2>&1) ||
  fail "the run after the stops failed: $out"
case $out in *passed*) ;; *) fail "the run after the stops said: $out" ;; esac
[ -z "$(tagged next)" ] || fail "the passing run left processes"
rm -rf "$scratch"
echo "wine10-run faults: every stop ended the run and left nothing; the next run passed"
