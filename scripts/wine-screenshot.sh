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
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb_pid=$!
cleanup() {
  /usr/lib/wine/wineserver64 -k 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
  rm -f "$display_file"
}
trap cleanup EXIT
for _ in $(seq 100); do [[ -s $display_file ]] && break; sleep 0.1; done
export DISPLAY=":$(tr -d '[:space:]' <"$display_file")"

(cd "$build/bin" && /usr/lib/wine/wine64 explorer "/desktop=DALVENIX,$size" dalvenix-test.exe) &
sleep 8
mkdir -p "$(dirname "$out")"
import -window root "$out"
echo "wine-screenshot: wrote $out"
