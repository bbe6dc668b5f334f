#!/usr/bin/env bash
# The built program as a user runs it, on X screens of its own.
# usage: shell_e2e.sh CASE PROGRAM MEDIA_DIR SEND_CLOSE_REQUEST
set -uo pipefail
CASE=$1 PROGRAM=$2 MEDIA=$3 SEND_CLOSE=$4
. "$(dirname "$0")/../support/x_session.sh"

TITLE="KX 2007 Zandrel - Dwip This"
WORK=$(mktemp -d)
ln -s "$MEDIA" "$WORK/data"

# start_program [ENV=VALUE ...]: runs the program in the work folder.
start_program() {
  (cd "$WORK" && exec env SDL_AUDIODRIVER=dummy "$@" "$PROGRAM" >"$WORK/out" 2>"$WORK/err") &
  PROGRAM_PID=$!
}

main_window() {
  wait_window "$TITLE" 20 || fail "no window titled '$TITLE'; stderr: $(cat "$WORK/err")"
}

case $CASE in
fullscreen_escape)
  start_screen 800x600
  start_program ${EXTRA_ENV:-}
  id=$(main_window) || exit 1
  expect_eq "$(geometry "$id")" "0 0 800 600" "full-screen window on an 800x600 screen"
  sleep 1
  xdotool key --window "$id" Escape
  wait_exit "$PROGRAM_PID"
  expect_eq "$EXIT_STATUS" 0 "exit status after Escape"
  ;;
close_button)
  start_screen 800x600
  start_program ${EXTRA_ENV:-}
  id=$(main_window) || exit 1
  sleep 1
  "$SEND_CLOSE" "$id" || fail "close request not sent"
  wait_exit "$PROGRAM_PID"
  expect_eq "$EXIT_STATUS" 0 "exit status after closing the window"
  ;;
alt_f4)
  start_screen 800x600
  start_program ${EXTRA_ENV:-}
  id=$(main_window) || exit 1
  sleep 1
  xdotool key --window "$id" alt+F4
  wait_exit "$PROGRAM_PID"
  expect_eq "$EXIT_STATUS" 0 "exit status after Alt+F4"
  ;;
keys_and_minimise)
  start_screen 800x600
  start_program WIN32_SDL_TRACE=1
  id=$(main_window) || exit 1
  sleep 1
  xdotool key --window "$id" a
  # A window manager iconifies a window by unmapping it, and maps it again to restore it.
  xdotool windowunmap "$id"
  sleep 1
  kill -0 "$PROGRAM_PID" || fail "the program ended while minimised"
  xdotool windowmap "$id"
  sleep 1
  xdotool key --window "$id" Escape
  wait_exit "$PROGRAM_PID"
  expect_eq "$EXIT_STATUS" 0 "exit status"
  grep -q "^message 0x0100 wParam 0x41 " "$WORK/err" || fail "no WM_KEYDOWN for 'a'"
  grep -q "^message 0x0101 wParam 0x41 " "$WORK/err" || fail "no WM_KEYUP for 'a'"
  grep -q "^message 0x0006 wParam 0x10000 " "$WORK/err" || fail "no WM_ACTIVATE with the minimised state"
  grep -A20 "^message 0x0006 wParam 0x10000 " "$WORK/err" | grep -q "^message 0x0006 wParam 0x1 " ||
    fail "no WM_ACTIVATE after restoring"
  grep -q "^message 0x0100 wParam 0x1b " "$WORK/err" || fail "no WM_KEYDOWN for Escape"
  ;;
windowed_yes)
  start_screen 1024x768
  start_program ${EXTRA_ENV:-}
  box=$(wait_window "Morvane" 20) || fail "no fullscreen question; stderr: $(cat "$WORK/err")"
  [ -z "$(window_id "$TITLE")" ] || fail "the window exists before the answer"
  sleep 0.5
  xdotool key --window "$box" Return
  id=$(main_window) || exit 1
  read -r x y w h <<<"$(geometry "$id")"
  expect_eq "$w x $h" "800 x 600" "client area of the windowed fallback"
  expect_eq "$x $y" "0 0" "position of the windowed fallback (no window manager here)"
  grep -q "Morvane: The Requested Fullscreen Mode Is Not Supported By Your Video Card. Use Windowed Mode Instead?" \
    "$WORK/err" || fail "question not on stderr"
  sleep 1
  xdotool key --window "$id" Escape
  wait_exit "$PROGRAM_PID"
  expect_eq "$EXIT_STATUS" 0 "exit status"
  ;;
windowed_no)
  start_screen 1024x768
  start_program ${EXTRA_ENV:-}
  box=$(wait_window "Morvane" 20) || fail "no fullscreen question"
  sleep 0.5
  xdotool key --window "$box" Escape
  box=$(wait_window "ERROR" 10) || fail "no 'Program Will Now Close.' box"
  sleep 0.5
  xdotool key --window "$box" Return
  wait_exit "$PROGRAM_PID"
  expect_eq "$EXIT_STATUS" 1 "exit status after declining"
  grep -q "^ERROR: Program Will Now Close.$" "$WORK/err" || fail "message not on stderr"
  grep -q "Bass\|Music" "$WORK/err" && fail "the music was started"
  ;;
no_fbo_extension)
  start_screen 800x600
  start_program MESA_EXTENSION_OVERRIDE=-GL_EXT_framebuffer_object
  for expected in "Failed to initialize FBO!" "Initialization Failed."; do
    box=$(wait_window "ERROR" 20) || fail "no box for '$expected'; stderr: $(cat "$WORK/err")"
    sleep 0.5
    xdotool key --window "$box" Return
    for _ in $(seq 50); do [ "$(window_id ERROR)" = "$box" ] || break; sleep 0.1; done
  done
  wait_exit "$PROGRAM_PID"
  expect_eq "$EXIT_STATUS" 1 "exit status without framebuffer objects"
  expect_eq "$(grep '^ERROR' "$WORK/err" | tr '\n' '|')" "ERROR: Failed to initialize FBO!|ERROR: Initialization Failed.|" \
    "messages in order"
  ;;
no_display)
  (cd "$WORK" && env -u DISPLAY -u WAYLAND_DISPLAY "$PROGRAM" >"$WORK/out" 2>"$WORK/err")
  status=$?
  expect_eq "$status" 1 "exit status without a display"
  grep -qx "ERROR: Failed To Register The Window Class." "$WORK/err" || fail "message not on stderr: $(cat "$WORK/err")"
  [ "$(grep -c "^ERROR" "$WORK/err")" = 1 ] || fail "more than one message: $(cat "$WORK/err")"
  ;;
no_display_with_zenity)
  # A helper program a desktop may have: a box without a display must not depend on it.
  mkdir "$WORK/bin"
  printf '#!/bin/sh\necho "$@" >> "%s/zenity-called"\n' "$WORK" >"$WORK/bin/zenity"
  chmod +x "$WORK/bin/zenity"
  (cd "$WORK" && env -u DISPLAY -u WAYLAND_DISPLAY PATH="$WORK/bin:$PATH" "$PROGRAM" >"$WORK/out" 2>"$WORK/err")
  status=$?
  expect_eq "$status" 1 "exit status without a display"
  [ ! -e "$WORK/zenity-called" ] || fail "zenity was called: $(cat "$WORK/zenity-called")"
  expect_eq "$(cat "$WORK/err")" "ERROR: Failed To Register The Window Class." "all that is written"
  expect_eq "$(cat "$WORK/out")" "" "standard output"
  ;;
signal_at_question)
  start_screen 1024x768
  start_program WIN32_SDL_TRACE=1
  box=$(wait_window "Morvane" 20) || fail "no fullscreen question"
  sleep 0.5
  kill -INT "$PROGRAM_PID"
  wait_exit "$PROGRAM_PID" 1
  expect_eq "$EXIT_STATUS" 130 "exit status within a second of SIGINT at the question"
  [ -z "$(window_id "Morvane")" ] || fail "the question is still on screen"
  [ -z "$(window_id "$TITLE")" ] || fail "a window was made"
  grep -q "Bass\|Music" "$WORK/err" && fail "the music was started"
  ;;
signal_at_error_box)
  # The pictures without the music: its first message box waits.
  rm "$WORK/data"
  mkdir "$WORK/data"
  for f in "$MEDIA"/*; do [ "${f##*/}" = Fast.mp3 ] || ln -s "$f" "$WORK/data/"; done
  start_screen 800x600
  start_program WIN32_SDL_TRACE=1
  box=$(wait_window "ERROR" 20) || fail "no box for the missing music; stderr: $(cat "$WORK/err")"
  sleep 0.5
  kill -TERM "$PROGRAM_PID"
  wait_exit "$PROGRAM_PID" 1
  expect_eq "$EXIT_STATUS" 143 "exit status within a second of SIGTERM at an error box"
  [ -z "$(window_id "ERROR")" ] || fail "the box is still on screen"
  grep -q "^ERROR: Bass file loading failed!$" "$WORK/err" || fail "no message on stderr"
  grep -q "^call ChangeDisplaySettingsA restore$" "$WORK/err" || fail "the display mode was not restored"
  grep -q "^call DestroyWindow$" "$WORK/err" || fail "the window was not destroyed"
  ;;
signal_in_loop_term|signal_in_loop_int|signal_in_loop_hup)
  signal=${CASE##*_}
  start_screen 800x600
  start_program WIN32_SDL_TRACE=1
  main_window >/dev/null || exit 1
  sleep 1
  kill -"${signal^^}" "$PROGRAM_PID"
  wait_exit "$PROGRAM_PID" 1
  expect_eq "$EXIT_STATUS" "$((128 + $(kill -l "${signal^^}")))" "exit status within a second of SIG${signal^^}"
  grep -q "^call ChangeDisplaySettingsA restore$" "$WORK/err" || fail "the display mode was not restored"
  grep -q "^call DestroyWindow$" "$WORK/err" || fail "the window was not destroyed"
  ;;
*)
  fail "unknown case $CASE"
  ;;
esac
[ -n "${KEEP_WORK:-}" ] && echo "work folder kept: $WORK" || rm -rf "$WORK"
echo "PASS: $CASE"
