#!/usr/bin/env bash
# Sets the displays of the X server that scripts/xorg-heads.sh started (the
# dummy video driver's outputs DUMMY0, DUMMY1, ...) to a layout, in root
# coordinates: head i is output DUMMYi, the first primary, and every output
# beyond the list is switched off. Wine takes each display from its output's
# mode and place (RandR), as it would a real monitor's; a test takes a
# display away with a shorter list and gives it back with the whole one.
#   scripts/xorg-layout.sh WxH+X+Y[,WxH+X+Y...]
set -euo pipefail
: "${DISPLAY:?}"
heads=$1
head='[0-9]+x[0-9]+\+[0-9]+\+[0-9]+'
[[ $heads =~ ^$head(,$head)*$ ]] ||
  { echo "xorg-layout: wants WxH+X+Y[,WxH+X+Y...], not '$heads'" >&2; exit 2; }

current=$(xrandr --query)
outputs=$(awk '/^DUMMY[0-9]+ / { print $1 }' <<<"$current")
args=()
i=0
IFS=, read -ra list <<<"$heads"
for h in "${list[@]}"; do
  IFS='x+' read -r w hh x y <<<"$h"
  w=$((10#$w)) hh=$((10#$hh)) x=$((10#$x)) y=$((10#$y))
  output=DUMMY$i
  grep -qx "$output" <<<"$outputs" ||
    { echo "xorg-layout: the server has no output $output for head $h" >&2; exit 1; }
  # A mode of exactly the head's size, at about 60 Hz; its name says the
  # size, so a mode made once is found again.
  mode=varnel${w}x${hh}
  if ! grep -q "^ *$mode " <<<"$current"; then
    clock=$(((w + 24) * (hh + 3) * 60 / 1000000 + 1))
    xrandr --newmode "$mode" "$clock" \
      "$w" $((w + 8)) $((w + 16)) $((w + 24)) "$hh" $((hh + 1)) $((hh + 2)) $((hh + 3))
    current+=$'\n'"  $mode "
  fi
  # Added to the output once; a second add is refused.
  if ! awk -v o="$output" -v m="$mode" '
      /^[A-Za-z]/ { in_output = ($1 == o) }
      in_output && $1 == m { found = 1 }
      END { exit !found }' <<<"$(xrandr --query)"; then
    xrandr --addmode "$output" "$mode"
  fi
  args+=(--output "$output" --mode "$mode" --pos "${x}x${y}")
  [ "$i" -ne 0 ] || args+=(--primary)
  i=$((i + 1))
done
for output in $outputs; do
  n=${output#DUMMY}
  if [ "$n" -ge "$i" ]; then
    args+=(--output "$output" --off)
  fi
done
xrandr "${args[@]}"
# A full query makes the server probe its outputs again: until then it
# answers the cheap query (what Wine asks) with outputs it had found
# disconnected, and Wine would leave those displays out.
xrandr --query >/dev/null
