# Sourced by every script that needs a virtual X display: run-panel.sh,
# wine-screenshot.sh, tests/win32/run-under-wine.sh and the program and
# install tests.
#
# start_xvfb [SCREEN] runs a private Xvfb (SCREEN as its -screen option takes
# it, 1024x768x24 by default), waits until it accepts connections and points
# DISPLAY at it; stop_xvfb ends it. Xvfb picks a free display number itself
# (-displayfd) and writes it once it is ready, so runs in parallel never
# collide and nothing needs to sleep.

start_xvfb() {
  local screen=${1:-1024x768x24} number_file tries
  number_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
  XVFB_PID=$!
  # Up to 30 seconds: a loaded machine can be slow to start it.
  for ((tries = 0; tries < 300; tries++)); do
    [[ -s $number_file ]] && break
    if ! kill -0 "$XVFB_PID" 2>/dev/null; then
      echo "xvfb: Xvfb did not start" >&2
      rm -f "$number_file"
      XVFB_PID=
      return 1
    fi
    sleep 0.1
  done
  if [[ ! -s $number_file ]]; then
    echo "xvfb: Xvfb gave no display number" >&2
    rm -f "$number_file"
    stop_xvfb
    return 1
  fi
  DISPLAY=":$(head -n 1 "$number_file" | tr -d '[:space:]')"
  export DISPLAY
  rm -f "$number_file"
}

stop_xvfb() {
  if [[ -n ${XVFB_PID:-} ]]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
  fi
}

# The id of the visible window with exactly this title, once it is mapped;
# fails after the given number of seconds.
wait_for_window() {
  local title=$1 seconds=${2:-20} id
  id=$(timeout "$seconds" xdotool search --sync --onlyvisible --name "^${title}\$" 2>/dev/null |
    head -n 1) || true
  [[ -n $id ]] || return 1
  echo "$id"
}
