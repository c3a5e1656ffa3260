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

# shellcheck source=../../scripts/xvfb.sh
source "$(dirname "$0")/../../scripts/xvfb.sh"
cleanup() {
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w 2>/dev/null || true
  stop_xvfb
}
trap cleanup EXIT
start_xvfb

mkdir -p "$WINEPREFIX"
status=0
"$wine" "$@" || status=$?
exit "$status"
