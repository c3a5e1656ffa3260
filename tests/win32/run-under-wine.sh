#!/usr/bin/env bash
# Runs a Windows program under Wine on a display of its own, and exits with the
# program's exit code.
#
#   WINEPREFIX=<dir> run-under-wine.sh program.exe [arguments...]
#
# Every run gets its own Xvfb server (-displayfd picks a free display, so runs
# never collide) and its own wineserver session, which is ended with the run:
# Wine's helper processes hold the display open and must not outlive it.
# WINEPREFIX must be set; a fresh prefix is made on first use.
set -euo pipefail

: "${WINEPREFIX:?set WINEPREFIX to the Wine prefix to use}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
# No prompts to fetch Mono or Gecko into a fresh prefix: nothing here needs them.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64

display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb_pid=$!
cleanup() {
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  rm -f "$display_file"
}
trap cleanup EXIT

for _ in $(seq 100); do
  [[ -s $display_file ]] && break
  if ! kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "run-under-wine: Xvfb did not start" >&2
    exit 1
  fi
  sleep 0.1
done
display=$(tr -d '[:space:]' <"$display_file")
if [[ -z $display ]]; then
  echo "run-under-wine: Xvfb gave no display number" >&2
  exit 1
fi
export DISPLAY=":$display"

mkdir -p "$WINEPREFIX"
status=0
"$wine" "$@" || status=$?
exit "$status"
