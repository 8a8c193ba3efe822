#!/usr/bin/env bash
# Installs a generated colour (COLR) font under the name "Segoe UI Emoji" in
# the session's Wine prefix, as Windows has one, then runs the command. A
# font registered under HKLM wins over the session's Symbola replacement.
# The command sees the font's colours in VARNEL_CAPTION_COLOURS
# ("codepoint left right;" per caption character, colours as RRGGBB).
#   scripts/with-colour-font.sh COMMAND...
set -euo pipefail
: "${WINEPREFIX:?run inside scripts/wine-session.sh}" "${WINE:=/usr/lib/wine/wine64}"
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/wine-step.sh"
generator=$here/tests/standins/make-colour-font.py
file=varnel-colour-emoji.ttf
/usr/bin/python3 "$generator" "$WINEPREFIX/drive_c/windows/Fonts/$file"
wine_reg_add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
  /v 'Segoe UI Emoji (TrueType)' /t REG_SZ /d "$file"
VARNEL_CAPTION_COLOURS=$(/usr/bin/python3 "$generator" --table | tr '\n' ';')
export VARNEL_CAPTION_COLOURS
exec "$@"
