#!/usr/bin/env bash
# Sets up, builds and opens the panel with the stand-in device library.
# Without a usable display it runs the panel on a virtual X display instead,
# saves a screenshot of the window, closes it and exits 0.
set -euo pipefail
cd "$(dirname "$0")/.."

# Only what the program needs: the tests and their tools come with
# scripts/run-tests.sh.
bash scripts/setup.sh panel
cmake --preset linux-panel
cmake --build --preset linux-panel

bin=build/linux-panel/bin
if [[ -n ${DISPLAY:-} ]] && xdotool getdisplaygeometry >/dev/null 2>&1; then
  echo "run-panel: opening the panel on $DISPLAY; close its window to end."
  exec "$bin/dalvenix-test"
fi

screenshot=build/linux-panel/panel.png
echo "run-panel: no usable display, so the panel runs on a virtual X display (Xvfb) and its screenshot goes to $screenshot."
source scripts/xvfb.sh
panel_pid=
cleanup() {
  [[ -n $panel_pid ]] && kill "$panel_pid" 2>/dev/null || true
  stop_xvfb
}
trap cleanup EXIT
start_xvfb
"$bin/dalvenix-test" &
panel_pid=$!
window=$(wait_for_window "DALVENIX TEST") || {
  echo "run-panel: the panel's window did not appear" >&2
  exit 1
}
# Xvfb has no window manager to give the window the focus; the panel's
# focus then shows on btnFind(0).
xdotool windowfocus --sync "$window"
sleep 1  # let it paint
import -window "$window" "$screenshot"
"$bin/wm_close_window" "$window"
wait "$panel_pid"
panel_pid=
echo "run-panel: the panel opened and closed; see $screenshot."
