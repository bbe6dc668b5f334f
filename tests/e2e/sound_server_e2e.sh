#!/usr/bin/env bash
# The whole presentation on a desktop's sound server that dies during the
# show and comes back: the show goes on in time, the sound returns with the
# server, and the presentation ends by itself with status 0.
# usage: sound_server_e2e.sh pulseaudio|pipewire PROGRAM MEDIA_DIR
set -uo pipefail
KIND=$1 PROGRAM=$2 MEDIA=$3
. "$(dirname "$0")/../support/x_session.sh"
. "$(dirname "$0")/../support/sound_server.sh"

WORK=$(mktemp -d)
ln -s "$MEDIA" "$WORK/data"
start_screen 800x600
cleanup() { stop_sound_server; stop_screen; rm -rf "$WORK"; }
trap cleanup EXIT
"start_$KIND" "$WORK/server" || fail "no $KIND server"

# monitor FILE: records what the sink plays until the server goes.
monitor() { parec -d out.monitor --rate=44100 --channels=1 --format=s16le --latency-msec=20 >"$1" 2>/dev/null & }
# loud FILE: whether any sample in it is far from silence.
loud() { od -An -v -td2 -w2 "$1" | awk '$1 > 3000 || $1 < -3000 { found = 1 } END { exit !found }'; }

monitor "$WORK/before.raw"
sleep 2.5  # a null sink takes a moment to wake
(cd "$WORK" && exec env -u SDL_AUDIODRIVER "$PROGRAM" >"$WORK/out" 2>"$WORK/err") &
PROGRAM_PID=$!
wait_window "KX 2007 Zandrel - Dwip This" 20 >/dev/null || fail "no window; stderr: $(cat "$WORK/err")"
START=$(date +%s.%N)
sleep 5
loud "$WORK/before.raw" || fail "no sound before the server died"
kill_sound_server
sleep 5
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended with the server"
"start_$KIND" "$WORK/server" || fail "the server did not start again"
monitor "$WORK/after.raw"
sleep 4
loud "$WORK/after.raw" || fail "the sound did not come back within 4 s of the server; stderr: $(cat "$WORK/err")"

wait_exit "$PROGRAM_PID" 170
END=$(date +%s.%N)
expect_eq "$EXIT_STATUS" 0 "exit status at the end of the presentation"
awk -v s="$START" -v e="$END" 'BEGIN { d = e - s; printf "ended by itself after %.1f s\n", d; exit !(d > 140 && d < 155) }' ||
  fail "the presentation did not end on time after its sound server died"
grep -q "^Sound lost: " "$WORK/err" || fail "nothing said of the lost sound: $(cat "$WORK/err")"
grep -q "^Sound back through PulseAudio" "$WORK/err" || fail "nothing said of the sound's return: $(cat "$WORK/err")"
echo "PASS ($KIND): $(tr '\n' ' ' <"$WORK/err")"
