#!/usr/bin/env bash
# Makes the Wine prefix the GUI tests run in (WINEPREFIX), once.
#
# Its programs run in Wine's own virtual desktop rather than as windows of
# the X display: with no window manager on Xvfb, Wine would wait two seconds
# for one at every window it hides or destroys, and the desktop makes
# activation and focus Wine's own business, the same on every machine.
#
# Its fonts are Windows' own, as far as Wine has them: Wine's Tahoma, Marlett
# and the rest in windows\Fonts (this Wine does not load them from its data
# folder), so that the message font ("MS Shell Dlg", that is Tahoma) and the
# caption buttons' glyphs exist. And a Japanese face is linked to the message
# font, as on every Windows: Tahoma has no glyphs for 個数 or 未接続, and
# Windows draws them from the faces in the font's SystemLink list. Wine reads
# that list as Windows does ("FILE,FACE" lines; it finds the file among the
# fonts it knows, here Debian's Noto CJK through fontconfig). Without a Tahoma,
# Wine would take the linked face for the whole text.
set -euo pipefail
here=$(dirname "$0")
: "${WINEPREFIX:?set WINEPREFIX to the Wine prefix to make}"
# The marker names what the prefix has: a prefix made before its fonts were
# installed and linked is set up again.
ready="$WINEPREFIX/.dalvenix-test-prefix"
version="desktop 1024x768, Wine's fonts installed, Noto CJK linked"
[[ -e $ready && $(<"$ready") == "$version" ]] && exit 0

wine_fonts=/usr/share/wine/fonts
cjk_file=/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc
cjk_face="Noto Sans CJK JP"
if [[ ! -e $wine_fonts/tahoma.ttf ]]; then
  echo "make-wine-prefix: $wine_fonts/tahoma.ttf is missing (apt-get install fonts-wine)" >&2
  exit 1
fi
if [[ ! -e $cjk_file ]]; then
  echo "make-wine-prefix: $cjk_file is missing (apt-get install fonts-noto-cjk)" >&2
  exit 1
fi

bash "$here/run-under-wine.sh" wineboot --init
bash "$here/run-under-wine.sh" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
bash "$here/run-under-wine.sh" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default \
  /d 1024x768 /f
cp "$wine_fonts"/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
links='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
for face in "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma"; do
  bash "$here/run-under-wine.sh" reg add "$links" /v "$face" /t REG_MULTI_SZ \
    /d "$(basename "$cjk_file"),$cjk_face" /f
done
echo "$version" >"$ready"
