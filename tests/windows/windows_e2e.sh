#!/usr/bin/env bash
# The Windows program as a user runs it, under Wine on X screens of its own.
# usage: windows_e2e.sh CASE PROGRAM.exe MEDIA_DIR CAPTURE_PROGRAM
# CASE prefix makes the Wine prefix the other cases share (once per machine).
set -uo pipefail
CASE=$1 PROGRAM=$2 MEDIA=$3 CAPTURE=$4
. "$(dirname "$0")/../support/x_session.sh"

TITLE="KX 2007 Zandrel - Dwip This"
export WINEPREFIX=${DWIP_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/dwip-this-windows/wineprefix-tests}
# No debugging output, and none of the runtimes Wine offers to download.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

if [ "$CASE" = prefix ]; then
  if [ ! -f "$WINEPREFIX/unmanaged" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    rm -rf "$WINEPREFIX.part"
    WINEPREFIX="$WINEPREFIX.part" wineboot -i >/dev/null 2>&1 || fail "wineboot failed"
    # The test screens have no window manager: Wine is told so, or it waits two
    # seconds for one whenever a window closes.
    WINEPREFIX="$WINEPREFIX.part" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 ||
      fail "could not set up the prefix"
    WINEPREFIX="$WINEPREFIX.part" wineserver -w
    touch "$WINEPREFIX.part/unmanaged"
    rm -rf "$WINEPREFIX" && mv "$WINEPREFIX.part" "$WINEPREFIX"
  fi
  echo "PASS: Wine prefix in $WINEPREFIX"
  exit 0
fi
[ -f "$WINEPREFIX/unmanaged" ] || fail "no Wine prefix: run the prefix case first"

WORK=$(mktemp -d)
# Each case on a copy of its own: Wine keeps the screen's modes of its last run in the prefix.
cp -a "$WINEPREFIX" "$WORK/prefix" || fail "could not copy the Wine prefix"
export WINEPREFIX=$WORK/prefix
mkdir "$WORK/data"
for f in "$MEDIA"/*; do ln -s "$f" "$WORK/data/"; done
SOUND="$WORK/sound.raw"

finish() {
  stop_screen
  wineserver -k 2>/dev/null
  [ -n "${KEEP_WORK:-}" ] && echo "work folder kept: $WORK" || rm -rf "$WORK"
}

# screen WxH: a screen of its own, and the work folder cleared away when the case ends.
screen() {
  start_screen "$1"
  trap finish EXIT
}

# start_program: the program under Wine in the work folder; SDL's disk driver
# writes the music as it is played, so the file's length is its position. Ctrl+C
# is not ignored, as it is for a script's background jobs but not in a terminal.
start_program() {
  (cd "$WORK" && exec env --default-signal=INT SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=sound.raw wine "$PROGRAM" \
     >"$WORK/out" 2>"$WORK/err") &
  PROGRAM_PID=$!
}

# messages: what the program wrote to standard error, its Windows line ends made Unix ones.
messages() { tr -d '\r' <"$WORK/err"; }

main_window() {
  wait_window "$TITLE" 60 || fail "no window titled '$TITLE'; stderr: $(cat "$WORK/err")"
}

# answer BOX KEY: waits for the message box titled BOX and presses KEY in it.
answer() {
  local box
  box=$(wait_window "$1" 60) || fail "no box titled '$1'; stderr: $(cat "$WORK/err")"
  sleep 0.5
  xdotool key --window "$box" "$2"
  for _ in $(seq 50); do xwininfo -id "$box" >/dev/null 2>&1 || return 0; sleep 0.1; done
  fail "the box '$1' stayed after $2"
}

size() { stat -c %s "$SOUND" 2>/dev/null || echo 0; }
# position: bytes of music played so far (the sample music sounds from its first byte).
MUSIC_START=""
position() {
  if [ -z "$MUSIC_START" ]; then
    local first
    first=$(od -An -v -tx1 -w4 "$SOUND" 2>/dev/null | grep -n -v -m1 '00 00 00 00' | cut -d: -f1)
    [ -n "$first" ] || { echo 0; return; }
    MUSIC_START=$(( (first - 1) * 4 ))
  fi
  echo $(( $(size) - MUSIC_START ))
}

# shot NAME BYTES: a screenshot once the music has played that many bytes.
shot() {
  for _ in $(seq 3000); do
    [ "$(position)" -ge "$2" ] && break
    kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended before $1; stderr: $(cat "$WORK/err")"
    sleep 0.02
  done
  import -window root "$WORK/$1.png" || fail "no screenshot $1"
}

# mean_colour FILE X Y W H: the region's mean colour as "R G B", 0 to 255.
mean_colour() {
  convert "$1" -crop "$4x$5+$2+$3" +repage -resize 1x1\! -depth 8 \
    -format "%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]" info:
}

# colour_is RGB CONDITION: CONDITION in awk over r, g, b.
colour_is() {
  echo "$1" | awk "{ r = \$1; g = \$2; b = \$3; exit !($2) }"
}

# expect_colour FILE X Y W H CONDITION
expect_colour() {
  local rgb
  rgb=$(mean_colour "$@")
  colour_is "$rgb" "$6" || fail "${1##*/}: region $4x$5+$2+$3 is rgb($rgb), expected $6"
}

LOGO="b > 40 && b > g && r < 120"
# The first flip frame: a red disc where the logo's colours are never red.
FLIP="r > 150 && g < 100 && b < 100"
trap finish EXIT

case $CASE in
fullscreen)
  screen 800x600
  start_program
  id=$(main_window) || exit 1
  expect_eq "$(geometry "$id")" "0 0 800 600" "full-screen window on an 800x600 screen"
  shot logo 882000
  expect_colour "$WORK/logo.png" 0 0 800 600 "$LOGO"
  # The first flip frame at its moment (3235176 bytes, 18.3 s), not before.
  shot before-flip 3135176
  expect_colour "$WORK/before-flip.png" 380 470 40 40 "!($FLIP)"
  shot flip 3255176
  expect_colour "$WORK/flip.png" 380 470 40 40 "$FLIP"
  # A still photograph ("Nerd", from 6905176 bytes) against the Linux capture of the same
  # moment, framed as it is drawn (the background behind it shakes with the spectrum).
  shot photograph 7408800
  (cd "$WORK" && "$CAPTURE" --at 42.0 linux.png >/dev/null 2>&1) || fail "the capture of the same moment failed"
  for f in photograph linux; do convert "$WORK/$f.png" -crop 370x370+215+60 +repage "$WORK/$f-photo.png"; done
  difference=$(compare -metric MAE "$WORK/photograph-photo.png" "$WORK/linux-photo.png" null: 2>&1 |
                 sed 's/.*(\(.*\)).*/\1/')
  awk -v d="$difference" 'BEGIN { exit !(d < 0.01) }' ||
    fail "the photograph at 42 s differs from the Linux capture's still by $difference (mean, 0 to 1)"
  xdotool key --window "$id" Escape
  wait_exit "$PROGRAM_PID" 10
  expect_eq "$EXIT_STATUS" 0 "exit status after Escape"
  ;;
windowed_yes)
  screen 1024x768
  start_program
  answer Morvane Return
  messages | grep -q "^Morvane: The Requested Fullscreen Mode Is Not Supported By Your Video Card. Use Windowed Mode Instead?$" ||
    fail "the question was not written to stderr: $(cat "$WORK/err")"
  id=$(main_window) || exit 1
  # Wine draws the frame itself and keeps the client area in a child window.
  client=""
  for _ in $(seq 100); do
    client=$(xwininfo -tree -id "$id" | awk '/ child/ { getline; print $1; exit }')
    [ -n "$client" ] && break
    sleep 0.1
  done
  [ -n "$client" ] || fail "no client window inside the frame: $(xwininfo -tree -id "$id")"
  read -r x y width height <<<"$(geometry "$client")"
  expect_eq "${width}x$height" 800x600 "client area of the window"
  read -r _ _ frame_width frame_height <<<"$(geometry "$id")"
  [ "$frame_width" -gt 800 ] && [ "$frame_height" -gt 600 ] || fail "the window has no frame: ${frame_width}x$frame_height"
  shot logo 882000
  expect_colour "$WORK/logo.png" "$x" "$y" 800 600 "$LOGO"
  xdotool key --window "$id" Escape
  wait_exit "$PROGRAM_PID" 10
  expect_eq "$EXIT_STATUS" 0 "exit status after Escape"
  ;;
windowed_no)
  screen 1024x768
  start_program
  answer Morvane n
  answer ERROR Return
  wait_exit "$PROGRAM_PID" 10
  expect_eq "$EXIT_STATUS" 1 "exit status after No"
  messages | grep -q "^ERROR: Program Will Now Close.$" || fail "no closing message on stderr"
  ;;
missing_music)
  rm "$WORK/data/Fast.mp3"
  screen 800x600
  start_program
  answer ERROR Return
  answer ERROR Return
  started=$(date +%s.%N)
  messages | grep -q "^ERROR: Bass file loading failed!$" || fail "no message for the music: $(messages)"
  messages | grep -q "^ERROR: Music failed to play!$" || fail "no message for the play request: $(messages)"
  id=$(main_window) || exit 1
  # The silent clock from the play request: the first flip frame after about 18.3 s.
  flipped=""
  while [ -z "$flipped" ]; do
    elapsed=$(awk -v s="$started" -v n="$(date +%s.%N)" 'BEGIN { printf "%.2f", n - s }')
    awk -v e="$elapsed" 'BEGIN { exit !(e < 22) }' || fail "no flip frame 22 s after the boxes"
    import -window root "$WORK/now.png" 2>/dev/null || continue
    if colour_is "$(mean_colour "$WORK/now.png" 380 470 40 40)" "$FLIP"; then flipped=$elapsed; fi
  done
  awk -v e="$flipped" 'BEGIN { exit !(e > 17.3 && e < 20.0) }' ||
    fail "the first flip frame came $flipped s after the boxes, expected about 18.3"
  xdotool key --window "$id" Escape
  wait_exit "$PROGRAM_PID" 10
  expect_eq "$EXIT_STATUS" 0 "exit status after Escape"
  ;;
ctrl_c)
  # Started from a Windows console (cmd), as Ctrl+C can reach only a program
  # that shares one; Wine hands the console's Ctrl+C to it as SIGINT.
  screen 800x600
  (cd "$WORK" && exec env --default-signal=INT SDL_AUDIODRIVER=dummy wine cmd /c "Z:${PROGRAM//\//\\}" \
     >"$WORK/out" 2>"$WORK/err") &
  PROGRAM_PID=$!
  main_window >/dev/null || exit 1
  sleep 2
  program=""
  for pid in $(pgrep -x dwip-this.exe); do
    tr '\0' '\n' <"/proc/$pid/environ" | grep -qx "WINEPREFIX=$WINEPREFIX" && program=$pid
  done
  [ -n "$program" ] || fail "the program's process was not found"
  kill -INT "$program"
  wait_exit "$PROGRAM_PID" 1
  expect_eq "$EXIT_STATUS" 130 "exit status within a second of Ctrl+C"
  [ -z "$(window_id "$TITLE")" ] || fail "the window is still on screen"
  ;;
*)
  fail "unknown case $CASE"
  ;;
esac
echo "PASS: $CASE"
