#!/usr/bin/env bash
# Runs one command inside a private X display (Xvfb + openbox) and a private
# Wine prefix, both started here and stopped on exit, so no test depends on a
# display or a prefix that happens to exist on the machine.
#
#   scripts/wine-session.sh PREFIX_DIR [--compositor] [--size WxH] [--depth N]
#                           [--heads WxH+X+Y[,WxH+X+Y...]]
#                           [--xorg-heads WxH+X+Y[,WxH+X+Y...]] -- COMMAND...
#
# --heads makes the one screen several displays, the first primary: the
# screen takes the heads' bounding box (X+W, Y+H at most), our stand-in
# libXinerama.so.1 (named by VARNEL_XINERAMA, which the Windows build sets
# for its tests) reports the heads to every program started here, and the prefix's X11 driver reads Xinerama instead of RandR. Wine puts
# the primary's top-left corner at 0,0, so a head left of or above it has
# negative coordinates in Windows.
#
# --xorg-heads gives Wine real X outputs instead: it runs Xorg with the dummy
# video driver in place of Xvfb (scripts/xorg-heads.sh, as root), one output
# a head at its X root place, read by the X11 driver through RandR, as Wine
# 10 needs; a test changes the layout with scripts/xorg-layout.sh (and
# xrandr).
#
# Exports DISPLAY, WINEPREFIX, WINE (the wine64 loader) and VARNEL_WINE_SESSION;
# with --heads also VARNEL_HEADS and LD_LIBRARY_PATH; with --xorg-heads
# VARNEL_HEADS and VARNEL_XORG_HEADS.
set -euo pipefail

prefix=$1
shift
compositor=0
size=1920x1080
depth=24
heads=
xorg_heads=
while [ $# -gt 0 ]; do
  case $1 in
    --compositor) compositor=1; shift ;;
    --size) size=$2; shift 2 ;;
    --depth) depth=$2; shift 2 ;;
    --heads) heads=$2; shift 2 ;;
    --xorg-heads) xorg_heads=$2; shift 2 ;;
    --) shift; break ;;
    *) echo "wine-session: unknown option $1" >&2; exit 2 ;;
  esac
done

here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-step.sh"

if [ -n "$heads" ]; then
  head='[0-9]+x[0-9]+\+[0-9]+\+[0-9]+'
  [[ $heads =~ ^$head(,$head)*$ ]] ||
    { echo "wine-session: --heads wants WxH+X+Y[,WxH+X+Y...], not '$heads'" >&2; exit 2; }
  right=0
  bottom=0
  IFS=, read -ra list <<<"$heads"
  for h in "${list[@]}"; do
    IFS='x+' read -r w hh x y <<<"$h"
    w=$((10#$w)) hh=$((10#$hh)) x=$((10#$x)) y=$((10#$y))
    if (( w == 0 || hh == 0 || x + w > 32767 || y + hh > 32767 )); then
      echo "wine-session: head $h is empty or beyond X's 16-bit coordinates" >&2
      exit 2
    fi
    if (( x + w > right )); then right=$((x + w)); fi
    if (( y + hh > bottom )); then bottom=$((y + hh)); fi
  done
  size=${right}x${bottom}
  [[ ${VARNEL_XINERAMA:-} == */libXinerama.so.1 && -f $VARNEL_XINERAMA ]] ||
    { echo "wine-session: --heads needs VARNEL_XINERAMA, the stand-in libXinerama.so.1 ('${VARNEL_XINERAMA:-}')" >&2; exit 1; }
  xinerama=$(cd "$(dirname "$VARNEL_XINERAMA")" && pwd)
  export VARNEL_HEADS=$heads
  # The stand-in reads the heads from this file when a process starts, so a
  # test can take displays away (and give them back) for what it starts.
  VARNEL_HEADS_FILE=$(mktemp)
  export VARNEL_HEADS_FILE
  echo "$heads" >"$VARNEL_HEADS_FILE"
  export LD_LIBRARY_PATH=$xinerama${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}
fi
if [ -n "$xorg_heads" ]; then
  [ -z "$heads" ] || { echo "wine-session: --heads or --xorg-heads, not both" >&2; exit 2; }
  export VARNEL_HEADS=$xorg_heads VARNEL_XORG_HEADS=1
fi
export WINE=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver
export WINEPREFIX=$(mkdir -p "$prefix" && cd "$prefix" && pwd)
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

pids=()
xorg_dir=
cleanup() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  [ -z "${VARNEL_HEADS_FILE:-}" ] || rm -f "$VARNEL_HEADS_FILE"
  for pid in "${pids[@]}"; do kill "$pid" >/dev/null 2>&1 || true; done
  for pid in "${pids[@]}"; do wait "$pid" >/dev/null 2>&1 || true; done
  [ -z "${VARNEL_HEADS_FILE:-}" ] || rm -f "$VARNEL_HEADS_FILE"
  [ -z "$xorg_dir" ] || rm -rf "$xorg_dir"
}
trap cleanup EXIT

# Xvfb picks a free display itself and says which (-displayfd): no race
# with another session starting at the same moment.
displayfile=$(mktemp)
if [ -n "$xorg_heads" ]; then
  . "$here/xorg-heads.sh"
  xorg_heads_start "$xorg_heads"
  echo "${DISPLAY#:}" >"$displayfile"
else
  Xvfb -displayfd 3 -screen 0 ${size}x${depth} -nolisten tcp -noreset 3>"$displayfile" >/dev/null 2>&1 &
  pids+=($!)
fi
display=
for _ in $(seq 100); do
  display=$(tr -dc 0-9 <"$displayfile")
  [ -n "$display" ] && break
  sleep 0.1
done
rm -f "$displayfile"
[ -n "$display" ] || { echo "wine-session: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$display
for _ in $(seq 100); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done
xdpyinfo >/dev/null 2>&1 || { echo "wine-session: Xvfb did not start" >&2; exit 1; }

# Without a window manager every hide or destroy of a window costs ~2 s.
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
if [ "$compositor" = 1 ]; then
  xcompmgr -n >/dev/null 2>&1 &
  pids+=($!)
fi

"$here/wine-prefix.sh"
# The server that the set-up started would exit on its own.
wine_persistent_server

export VARNEL_WINE_SESSION=1
set +e
"$@"
rc=$?
set -e
exit $rc
