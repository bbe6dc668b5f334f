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
# The music is written, as it is played, to a file: its length is the music's position.
SOUND="$WORK/sound.raw"
(cd "$WORK" && exec env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$SOUND" "$PROGRAM" >"$WORK/out" 2>"$WORK/err") &
PROGRAM_PID=$!
wait_window "KX 2007 Zandrel - Dwip This" 20 >/dev/null || fail "no window; stderr: $(cat "$WORK/err")"

size() { stat -c %s "$SOUND" 2>/dev/null || echo 0; }
# The device plays silence from the moment it opens; the music's first sound is byte 0 of its position.
for _ in $(seq 300); do [ "$(size)" -gt 176400 ] && break; sleep 0.1; done
MUSIC_START=$(od -An -v -tx1 -w4 "$SOUND" | grep -n -v -m1 '00 00 00 00' | cut -d: -f1)
[ -n "$MUSIC_START" ] || fail "no music was played in the first second"
MUSIC_START=$(( (MUSIC_START - 1) * 4 ))
START=$(awk -v now="$(date +%s.%N)" -v played="$(( $(size) - MUSIC_START ))" 'BEGIN { printf "%.3f", now - played / 176400 }')

# position: bytes of music played so far.
position() { echo $(( $(size) - MUSIC_START )); }

# shot NAME BYTES: a screenshot once the music has played that many bytes.
shot() {
  for _ in $(seq 3000); do
    [ "$(position)" -ge "$2" ] && break
    kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended before $1 (status: $(wait "$PROGRAM_PID"; echo $?))"
    sleep 0.05
  done
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

# Logo at 5 s of music (rising): its blue-purple gradient fills the screen.
shot logo 882000
expect_colour logo 0 0 800 600 "b > 40 && b > g && r < 120"

# Flip animation at 30 s: a red or blue disc over the background.
shot flip 5292000
expect_colour flip 380 470 40 40 "(r > 150 && b < 100) || (b > 150 && r < 100)"

# A single photograph at 42 s: "Nerd" (6905176 to 8005176 bytes), orange, in the middle.
shot photograph 7408800
expect_colour photograph 300 330 200 20 "r > 110 && r > g + 30 && g > b"

# First credits slide, in the middle of its 21727784 to 22397784 bytes (123.2 s to 127.0 s of music):
# "Credits 1: Vek", red, edge to edge.
shot credits 22062784
expect_colour credits 30 30 740 40 "r > 100 && r > 2 * g && r > 2 * b"

wait_exit "$PROGRAM_PID" 40
END=$(date +%s.%N)
expect_eq "$EXIT_STATUS" 0 "exit status at the end of the presentation"
awk -v s="$START" -v e="$END" 'BEGIN { d = e - s; printf "ended by itself after %.1f s\n", d; exit !(d > 140 && d < 160) }' ||
  fail "the presentation did not end after about 145 seconds"
# SDL's disk driver announces itself; nothing else may be said.
grep -v -e "^$" -e "^CRITICAL: You are using the SDL disk i/o audio driver!" -e "^CRITICAL:  Writing to file" "$WORK/err" &&
  fail "unexpected messages on stderr"
rm -rf "$WORK"
echo "PASS: screenshots in $SHOTS"
