#!/usr/bin/env bash
# Takes a screenshot of the 64-bit Windows build, as it starts, under Wine on
# a virtual X display:
#
#   bash scripts/wine-screenshot.sh [out.png]     (default: docs/panel-wine.png)
#
# Builds the windows-x64 preset if needed. Needs ImageMagick's `import`
# (apt-get install imagemagick) besides what scripts/setup.sh installs.
set -euo pipefail
cd "$(dirname "$0")/.."

out=${1:-docs/panel-wine.png}
build=build/windows-x64
command -v import >/dev/null || { echo "wine-screenshot: needs ImageMagick's import" >&2; exit 1; }
if [[ ! -e $build/bin/dalvenix-test.exe || ! -e $build/bin/dalvenix.dll ]]; then
  cmake --preset windows-x64
  cmake --build --preset windows-x64
fi

export WINEPREFIX=$PWD/$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
bash tests/win32/make-wine-prefix.sh

# A Wine desktop as large as the screen, so that the picture is the desktop
# with the panel in it, frame and caption drawn by Wine.
size=380x240
# shellcheck source=xvfb.sh
source scripts/xvfb.sh
cleanup() {
  /usr/lib/wine/wineserver64 -k 2>/dev/null || true
  stop_xvfb
}
trap cleanup EXIT
start_xvfb "${size}x24"

(cd "$build/bin" && /usr/lib/wine/wine64 explorer "/desktop=DALVENIX,$size" dalvenix-test.exe) &
# The panel is drawn inside Wine's desktop window, out of X's sight: wait for
# the desktop, then for a picture with more than the desktop's plain
# background in it that stays the same for a second (up to 60 seconds).
wait_for_window "DALVENIX - Wine desktop" 60 >/dev/null || {
  echo "wine-screenshot: Wine's desktop did not appear" >&2
  exit 1
}
mkdir -p "$(dirname "$out")"
previous=
stable=0
for ((tries = 0; tries < 120 && stable < 2; tries++)); do
  sleep 0.5
  import -window root "$out"
  # The number of colours and the signature of the pixels.
  read -r colours current < <(identify -format '%k %#' "$out")
  if ((colours > 16)) && [[ $current == "$previous" ]]; then
    stable=$((stable + 1))
  else
    stable=0
  fi
  previous=$current
done
((stable == 2)) || echo "wine-screenshot: the picture did not settle; taking it as it is" >&2
echo "wine-screenshot: wrote $out"
