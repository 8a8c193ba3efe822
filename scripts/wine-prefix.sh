#!/usr/bin/env bash
# Boots the Wine prefix named by WINEPREFIX once and gives it what the
# program needs: a replacement for the absent "Segoe UI Emoji" and "Segoe UI" fonts and
# 96 DPI. Idempotent: a booted prefix is only re-configured.
set -euo pipefail
: "${WINEPREFIX:?}" "${WINE:=/usr/lib/wine/wine64}" "${WINESERVER:=/usr/lib/wine/wineserver}"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$WINE" wineboot -i </dev/null >/dev/null 2>&1
  "$WINESERVER" -w
fi
"$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Segoe UI Emoji' /t REG_SZ \
  /d Symbola /f </dev/null >/dev/null 2>&1
"$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Segoe UI' /t REG_SZ \
  /d 'DejaVu Sans' /f </dev/null >/dev/null 2>&1
# Japanese hints and messages: the UI fonts link to IPA Gothic for the
# characters they lack (the replacement above would otherwise cut Wine's own
# fallback off).
for face in Tahoma 'Segoe UI' 'DejaVu Sans' 'MS Shell Dlg' 'MS Shell Dlg 2' 'Microsoft Sans Serif'; do
  "$WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
    /v "$face" /t REG_MULTI_SZ /d 'ipag.ttf,IPAGothic' /f </dev/null >/dev/null 2>&1
done
"$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f \
  </dev/null >/dev/null 2>&1
