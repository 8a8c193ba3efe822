#!/usr/bin/env bash
# Boots the Wine prefix named by WINEPREFIX once and gives it what the
# program needs: a replacement for the absent "Segoe UI Emoji" and "Segoe UI" fonts and
# 96 DPI; with VARNEL_HEADS set, an X11 driver that reads the heads from
# Xinerama. Idempotent: a booted prefix is only re-configured.
set -euo pipefail
: "${WINEPREFIX:?}" "${WINE:=/usr/lib/wine/wine64}" "${WINESERVER:=/usr/lib/wine/wineserver}"
. "$(dirname "$0")/wine-step.sh"

# A prefix whose set-up was cut short (a run stopped during its start) is
# made again: only a finished one has the mark.
ready=$WINEPREFIX/.varnel-prefix-ready
if [ ! -f "$ready" ] && [ -f "$WINEPREFIX/system.reg" ]; then
  "$WINESERVER" -k >/dev/null 2>&1 || true
  "$WINESERVER" -w >/dev/null 2>&1 || true
  find "$WINEPREFIX" -mindepth 1 -delete
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wine_step "$WINE" wineboot -i
  "$WINESERVER" -w
fi
# Each reg.exe below would otherwise start the server and Wine's services
# afresh, and wait for them to end: a server kept up for the set-up makes
# each step a fraction of a second.
wine_persistent_server
trap '"$WINESERVER" -k >/dev/null 2>&1 || true' EXIT
wine_reg_add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Segoe UI Emoji' /t REG_SZ /d Symbola
wine_reg_add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Segoe UI' /t REG_SZ /d 'DejaVu Sans'
# Japanese hints and messages: the UI fonts link to IPA Gothic for the
# characters they lack (the replacement above would otherwise cut Wine's own
# fallback off).
for face in Tahoma 'Segoe UI' 'DejaVu Sans' 'MS Shell Dlg' 'MS Shell Dlg 2' 'Microsoft Sans Serif'; do
  wine_reg_add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
    /v "$face" /t REG_MULTI_SZ /d 'ipag.ttf,IPAGothic'
done
wine_reg_add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96
if [ -n "${VARNEL_XORG_HEADS:-}" ]; then
  # Each of Xorg's outputs is a display only through RandR (the prefix may
  # have been told otherwise for the stand-in's heads).
  wine_reg_add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d Y
elif [ -n "${VARNEL_HEADS:-}" ]; then
  # Xvfb has one RandR output: with RandR, Wine would see one monitor.
  wine_reg_add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d N
fi
touch "$ready"
