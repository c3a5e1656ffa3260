#!/usr/bin/env bash
# Makes the Wine prefix the GUI tests run in (WINEPREFIX), once.
#
# Its programs run in Wine's own virtual desktop rather than as windows of
# the X display: with no window manager on Xvfb, Wine would wait two seconds
# for one at every window it hides or destroys, and the desktop makes
# activation and focus Wine's own business, the same on every machine.
set -euo pipefail
here=$(dirname "$0")
: "${WINEPREFIX:?set WINEPREFIX to the Wine prefix to make}"
ready="$WINEPREFIX/.dalvenix-test-prefix"
[[ -e $ready ]] && exit 0

bash "$here/run-under-wine.sh" wineboot --init
bash "$here/run-under-wine.sh" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
bash "$here/run-under-wine.sh" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default \
  /d 1024x768 /f
touch "$ready"
