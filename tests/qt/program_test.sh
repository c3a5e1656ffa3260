#!/usr/bin/env bash
# The program as shipped: dalvenix-test runs as its own process on a private
# Xvfb display, xdotool clicks and types into it as a user would, and the
# stand-in library's trace shows what reached the library.
#
# Usage: program_test.sh BIN-DIR   (holding dalvenix-test, libdalvenix.so,
#                                   wm_close_window)
set -euo pipefail

bin=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../../scripts/xvfb.sh
source "$here/../../scripts/xvfb.sh"

work=$(mktemp -d)
panel_pid=
cleanup() {
  [[ -n $panel_pid ]] && kill "$panel_pid" 2>/dev/null || true
  stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "program_test: FAIL: $*" >&2
  if [[ -f $work/trace.txt ]]; then
    echo "--- trace" >&2
    cat "$work/trace.txt" >&2
  fi
  if [[ -f $work/err ]]; then
    echo "--- program's error stream" >&2
    cat "$work/err" >&2
  fi
  exit 1
}

trace_lines() { if [[ -f $work/trace.txt ]]; then wc -l <"$work/trace.txt"; else echo 0; fi; }

# Waits until the trace has at least this many lines.
wait_for_trace() {
  local count=$1 tries
  for ((tries = 0; tries < 100; tries++)); do
    (($(trace_lines) >= count)) && return 0
    sleep 0.05
  done
  fail "the trace has $(trace_lines) lines, expected $count"
}

# Starts the program (the command given) and sets $window to its window.
start_panel() {
  rm -f "$work/trace.txt" "$work/err"
  DALVENIX_SIM_TRACE="$work/trace.txt" "$@" >"$work/out" 2>"$work/err" &
  panel_pid=$!
  window=$(wait_for_window "DALVENIX TEST") || fail "no window titled DALVENIX TEST"
}

# Clicks at a point of the window's client area, in pixels.
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }

# Waits for the program to end and checks its status.
expect_exit() {
  local expected=$1 status=0 tries
  for ((tries = 0; tries < 100; tries++)); do
    kill -0 "$panel_pid" 2>/dev/null || break
    sleep 0.05
  done
  wait "$panel_pid" || status=$?
  panel_pid=
  [[ $status -eq $expected ]] || fail "the program ended with status $status, expected $expected"
}

# Answers the message box with Return and waits until it has gone.
dismiss_box() {
  local tries
  xdotool windowfocus --sync "$1" key Return
  for ((tries = 0; tries < 100; tries++)); do
    xdotool search --onlyvisible --name '^DALVENIX$' >/dev/null 2>&1 || return 0
    sleep 0.05
  done
  fail "the message box stayed open"
}

# With the "USB未接続" box up: the program goes on and has called nothing more.
expect_waiting_for_box() {
  sleep 0.5
  kill -0 "$panel_pid" 2>/dev/null || fail "the program ended while the message box was up"
  (($(trace_lines) == 1)) || fail "the library was called while the message box was up"
}

expect_trace() {
  local expected actual
  expected=$(printf '%s\n' "$@")
  actual=$(cat "$work/trace.txt" 2>/dev/null || true)
  [[ $actual == "$expected" ]] || fail "trace differs; expected:
$expected"
}

start_xvfb

# Table centres, in pixels (twips / 15).
find_at=(128 32)
inp0_at=(128 88)
out0_at=(128 144)
out_dat0_at=(68 145)

echo "program_test: a session with the stand-in library"
start_panel "$bin/dalvenix-test"
geometry=$(xdotool getwindowgeometry "$window")
[[ $geometry == *"Geometry: 351x195"* ]] || fail "window geometry: $geometry"
class=$(xprop -id "$window" WM_CLASS)
[[ $class == *'"DALVENIX"'* ]] || fail "the application is not named DALVENIX: $class"
sleep 0.5
[[ ! -e $work/trace.txt ]] || fail "the library was called at start"

click "${find_at[@]}"
wait_for_trace 2
click "${out_dat0_at[@]}"
xdotool key ctrl+a
xdotool type 5a
click "${out0_at[@]}"
wait_for_trace 5
click "${inp0_at[@]}"
wait_for_trace 8
# The focus is on btnInp(0) now: two Tabs reach hsbVol(0), Right moves it by 1.
xdotool key Tab Tab Right
wait_for_trace 11
"$bin/wm_close_window" "$window"
expect_exit 0
expect_trace \
  "dvn_find(0, 0, 0, 0) = 0" \
  "dvn_getdevs(0, 0, 0, 0) = 2" \
  "dvn_seldev(0, 0, 0, 0) = 0" \
  "dvn_out(0, 90, 0, 0) = 0" \
  "dvn_out(1, 0, 0, 0) = 0" \
  "dvn_seldev(0, 0, 0, 0) = 0" \
  "dvn_inp(*, 0, 0, 0) = 0 -> 5A" \
  "dvn_inp(*, 1, 0, 0) = 0 -> 00" \
  "dvn_seldev(0, 0, 0, 0) = 0" \
  "dvn_out(0, 1, 0, 0) = 0" \
  "dvn_out(1, 0, 0, 0) = 0" \
  "dvn_free(0, 0, 0, 0) = 0"

echo "program_test: opened and closed at once"
start_panel "$bin/dalvenix-test"
"$bin/wm_close_window" "$window"
expect_exit 0
expect_trace "dvn_free(0, 0, 0, 0) = 0"

echo "program_test: no board attached"
export DALVENIX_SIM_DEVICES=0
start_panel "$bin/dalvenix-test"
click "${find_at[@]}"
box=$(wait_for_window "DALVENIX") || fail "no message box titled DALVENIX"
wait_for_trace 1
xdotool windowfocus --sync "$box" key Return
for ((tries = 0; tries < 100; tries++)); do
  xdotool search --onlyvisible --name '^DALVENIX$' >/dev/null 2>&1 || break
  sleep 0.05
done
((tries < 100)) || fail "the message box stayed open"
"$bin/wm_close_window" "$window"
expect_exit 0
expect_trace "dvn_find(0, 0, 0, 0) = 1" "dvn_free(0, 0, 0, 0) = 0"
unset DALVENIX_SIM_DEVICES

echo "program_test: closed while a message box is up"
export DALVENIX_SIM_DEVICES=0
start_panel "$bin/dalvenix-test"
click "${find_at[@]}"
box=$(wait_for_window "DALVENIX") || fail "no message box titled DALVENIX"
wait_for_trace 1
"$bin/wm_close_window" "$window"
expect_waiting_for_box
dismiss_box "$box"
expect_exit 0
expect_trace "dvn_find(0, 0, 0, 0) = 1" "dvn_free(0, 0, 0, 0) = 0"
unset DALVENIX_SIM_DEVICES

# A logout (SIGHUP or SIGTERM), a closed terminal (SIGHUP) and Ctrl+C (SIGINT)
# close the window as its close button does. A script's background commands
# start with SIGINT ignored: env gives the program the default handling back.
for signal in TERM HUP INT; do
  echo "program_test: SIG$signal closes it"
  start_panel env --default-signal=INT "$bin/dalvenix-test"
  kill -s "$signal" "$panel_pid"
  expect_exit 0
  expect_trace "dvn_free(0, 0, 0, 0) = 0"

  echo "program_test: SIG$signal while a message box is up"
  export DALVENIX_SIM_DEVICES=0
  start_panel env --default-signal=INT "$bin/dalvenix-test"
  click "${find_at[@]}"
  box=$(wait_for_window "DALVENIX") || fail "no message box titled DALVENIX"
  wait_for_trace 1
  kill -s "$signal" "$panel_pid"
  expect_waiting_for_box
  dismiss_box "$box"
  expect_exit 0
  expect_trace "dvn_find(0, 0, 0, 0) = 1" "dvn_free(0, 0, 0, 0) = 0"
  unset DALVENIX_SIM_DEVICES
done

echo "program_test: no library beside the program"
mkdir "$work/alone"
cp "$bin/dalvenix-test" "$work/alone/"
start_panel "$work/alone/dalvenix-test"
"$bin/wm_close_window" "$window"
box=$(wait_for_window "DALVENIX") || fail "no report box titled DALVENIX"
grep -q "cannot load libdalvenix.so" "$work/err" || fail "the report does not name the library"
xdotool windowfocus --sync "$box" key Return
expect_exit 1
[[ ! -e $work/trace.txt ]] || fail "a library was called"

echo "program_test: 11 passed, 0 failed"
