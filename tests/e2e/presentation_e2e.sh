#!/usr/bin/env bash
# The whole presentation as a user runs it, with the sample media, on an
# 800 x 600 screen: screenshots of each scene, and its own end after about
# 145 seconds with status 0.
# usage: presentation_e2e.sh PROGRAM MEDIA_DIR SCREENSHOT_DIR
set -uo pipefail
PROGRAM=$1 MEDIA=$2 SHOTS=$3
. "$(dirname "$0")/../support/x_session.sh"

WORK=$(mktemp -d)
ln -s "$MEDIA" "$WORK/data"
mkdir -p "$SHOTS"
start_screen 800x600
(cd "$WORK" && exec env SDL_AUDIODRIVER=dummy "$PROGRAM" >"$WORK/out" 2>"$WORK/err") &
PROGRAM_PID=$!
wait_window "KX 2007 Zandrel - Dwip This" 20 >/dev/null || fail "no window; stderr: $(cat "$WORK/err")"
# The music starts a moment after the window appears, once the pictures are loaded.
START=$(date +%s.%N)

# shot NAME SECONDS: a screenshot that many seconds after the start.
shot() {
  local wait
  wait=$(awk -v s="$START" -v at="$2" -v now="$(date +%s.%N)" 'BEGIN { d = s + at - now; print (d > 0 ? d : 0) }')
  sleep "$wait"
  import -window root "$SHOTS/$1.png" || fail "no screenshot $1"
}

# mean NAME X Y W H: the mean colour of a region as "R G B", 0 to 255.
mean() {
  convert "$SHOTS/$1.png" -crop "$4x$5+$2+$3" +repage -resize 1x1\! -depth 8 -format "%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]" info:
}

# expect_colour NAME X Y W H CONDITION: CONDITION in awk over r, g, b.
expect_colour() {
  local rgb
  rgb=$(mean "$1" "$2" "$3" "$4" "$5")
  echo "$rgb" | awk "{ r = \$1; g = \$2; b = \$3; exit !($6) }" ||
    fail "$1: region $4x$5+$2+$3 is rgb($rgb), expected $6"
}

# Logo at 5 s (position about 0.9 MB, rising): its blue-purple gradient fills the screen.
shot logo 5
expect_colour logo 0 0 800 600 "b > 40 && b > g && r < 120"

# Flip animation at 30 s (about 5.2 MB): a red or blue disc over the background.
shot flip 30
expect_colour flip 380 470 40 40 "(r > 150 && b < 100) || (b > 150 && r < 100)"

# A single photograph at 42 s (about 7.3 MB): "Nerd", orange, in the middle.
shot photograph 42
expect_colour photograph 300 330 200 20 "r > 110 && r > g + 30 && g > b"

# First credits slide at 125 s (about 22.0 MB; the slide runs from 123.2 s to 127.0 s of music):
# "Credits 1: Vek", red, edge to edge.
shot credits 125
expect_colour credits 30 30 740 40 "r > 100 && r > 2 * g && r > 2 * b"

wait_exit "$PROGRAM_PID" 40
END=$(date +%s.%N)
expect_eq "$EXIT_STATUS" 0 "exit status at the end of the presentation"
awk -v s="$START" -v e="$END" 'BEGIN { d = e - s; printf "ended by itself after %.1f s\n", d; exit !(d > 140 && d < 160) }' ||
  fail "the presentation did not end after about 145 seconds"
grep -v "^$" "$WORK/err" && fail "unexpected messages on stderr"
rm -rf "$WORK"
echo "PASS: screenshots in $SHOTS"
