# Sourced by scripts/wine-session.sh: a private X server of several displays.
# Xvfb has one RandR output, so Wine sees one display there whatever the
# layout; Xorg with the dummy video driver has sixteen outputs, each with a
# CRTC, and Wine 10 takes every output that is on as a display of its own,
# with its mode's size at its place (scripts/xorg-layout.sh).
# Xorg needs root; it chooses a free display itself (-displayfd), keeps its
# configuration and log in a folder of its own, and is stopped with the
# session.

# `xorg_heads_start HEADS`: starts the server, sets the layout and exports
# DISPLAY; appends the server to the caller's pids and its folder to
# xorg_dir, which the caller removes when the session ends.
xorg_heads_start() {
  local heads=$1 display= _
  [ "$(id -u)" -eq 0 ] ||
    { echo "wine-session: --xorg-heads starts Xorg, which needs root" >&2; return 1; }
  command -v Xorg >/dev/null && [ -f /usr/lib/xorg/modules/drivers/dummy_drv.so ] ||
    { echo "wine-session: --xorg-heads needs Xorg and its dummy driver (scripts/deps.sh)" >&2; return 1; }
  xorg_dir=$(mktemp -d)
  # No input devices of its own (the pointer is driven through XTEST); video
  # memory for the largest desktop the tests use.
  cat >"$xorg_dir/xorg.conf" <<'EOF'
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 1048576
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  DefaultDepth 24
EndSection
EOF
  Xorg -displayfd 3 -config "$xorg_dir/xorg.conf" -logfile "$xorg_dir/Xorg.log" \
    -noreset -nolisten tcp -keeptty -novtswitch -sharevts \
    3>"$xorg_dir/display" </dev/null >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 150); do
    display=$(tr -dc 0-9 <"$xorg_dir/display")
    [ -n "$display" ] && break
    kill -0 "${pids[-1]}" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$display" ]; then
    echo "wine-session: Xorg did not start:" >&2
    tail -n 20 "$xorg_dir/Xorg.log" >&2 || true
    return 1
  fi
  export DISPLAY=:$display
  "$here/xorg-layout.sh" "$heads"
}
