# Helpers for tests that run the program on an X screen of their own.
# Source this file; it needs xvfb, xdotool and x11-utils.

# start_screen WxH: starts Xvfb on a free display and exports DISPLAY. On a
# busy machine the server may be slow to come up, or lose a race for a display
# number with another test's: it is given time, and tried again. It returns once
# a client has connected; -noreset keeps the server from restarting itself each
# time its last client (a test's xwininfo) leaves.
start_screen() {
  local fd_file log attempt
  fd_file=$(mktemp)
  log=$(mktemp)
  trap stop_screen EXIT
  for attempt in 1 2 3; do
    : >"$fd_file"
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp -noreset -ac 3>"$fd_file" >"$log" 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 300); do
      [ -s "$fd_file" ] && break
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    if [ -s "$fd_file" ]; then
      for _ in $(seq 100); do
        DISPLAY=":$(tr -d '\n' <"$fd_file")" xdpyinfo >/dev/null 2>&1 && break 2
        sleep 0.1
      done
    fi
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    : >"$fd_file"
  done
  [ -s "$fd_file" ] || fail "Xvfb did not start: $(cat "$log")"
  DISPLAY=":$(tr -d '\n' <"$fd_file")"
  export DISPLAY
  rm -f "$fd_file" "$log"
}

stop_screen() {
  [ -n "${PROGRAM_PID:-}" ] && kill "$PROGRAM_PID" 2>/dev/null
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  wait 2>/dev/null
  true
}

# window_id NAME: the id of the top-level window with exactly that name, or nothing.
window_id() {
  xwininfo -root -tree 2>/dev/null | grep -F "\"$1\"" | head -n 1 | awk '{print $1}'
}

# wait_window NAME [SECONDS]: waits for the window and prints its id.
wait_window() {
  local id
  for _ in $(seq $((${2:-20} * 10))); do
    id=$(window_id "$1")
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# geometry ID: "X Y WIDTH HEIGHT" of a window on the screen.
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}

# wait_exit PID [SECONDS]: waits for the process; its status goes into EXIT_STATUS, 124 on time-out.
wait_exit() {
  EXIT_STATUS=124
  for _ in $(seq $((${2:-20} * 10))); do
    if ! kill -0 "$1" 2>/dev/null; then
      wait "$1"
      EXIT_STATUS=$?
      return 0
    fi
    sleep 0.1
  done
}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

expect_eq() {
  [ "$1" = "$2" ] || fail "$3: expected '$2', got '$1'"
}
