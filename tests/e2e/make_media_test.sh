#!/usr/bin/env bash
# The sample media generator: nineteen files, the same bytes every run, and
# never a file of the user's overwritten.
# usage: make_media_test.sh MAKE_MEDIA
set -uo pipefail
MAKE_MEDIA=$1
. "$(dirname "$0")/../support/x_session.sh"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

"$MAKE_MEDIA" "$WORK/a" >/dev/null || fail "first run failed"
"$MAKE_MEDIA" "$WORK/b" >/dev/null || fail "second run failed"
expect_eq "$(ls "$WORK/a" | wc -l)" 19 "files written"
diff -r "$WORK/a" "$WORK/b" >/dev/null || fail "two runs wrote different bytes"
ls -A "$WORK/a" | grep -q '^\.' && fail "temporary files left behind"

# A file of the user's stays as it is; only what is missing is written.
mkdir "$WORK/c"
echo "my own picture" >"$WORK/c/Nerd.jpg"
out=$("$MAKE_MEDIA" "$WORK/c") || fail "run beside a user's file failed"
expect_eq "$(cat "$WORK/c/Nerd.jpg")" "my own picture" "the user's file"
echo "$out" | grep -q "kept     $WORK/c/Nerd.jpg" || fail "the kept file is not reported"
expect_eq "$(ls "$WORK/c" | wc -l)" 19 "files beside the user's"
cmp -s "$WORK/a/Ass.jpg" "$WORK/c/Ass.jpg" || fail "the missing files differ from a fresh run"

# Shapes for the quads that show them.
size() { identify -format "%w %h" "$WORK/a/$1"; }
expect_eq "$(size qorlogo.jpg)" "512 1280" "the tall logo (2 by 5)"
for f in VekCreds.jpg JubCreds.jpg SnurfelsCreds.jpg QuillackCreds.jpg ZephruntCreds.jpg SluttBilde.jpg; do
  expect_eq "$(size $f)" "1080 800" "credits picture $f (2.7 by 2)"
done
for f in Dwip1.png Dwip2.png KX07.jpg Nerd.jpg Demoscene.jpg DwipVacation1.jpg DwipVacation2.jpg DwipVacation3.jpg \
  DwipTuvrel.png Lyrics.png Ass.jpg; do
  read -r w h <<<"$(size $f)"
  [ $((w * 3)) = $((h * 4)) ] || [ "$w" = "$h" ] || fail "$f is $w x $h, neither 4:3 nor square"
  [ "$w" -ge 768 ] || fail "$f is only $w wide"
done
for f in qorlogo.jpg VekCreds.jpg KX07.jpg; do
  expect_eq "$(identify -format %m "$WORK/a/$f")" JPEG "format of $f"
done

# Real transparency on both sides of the alpha test's references 0.4 and 0.6.
for f in Lyrics.png Dwip1.png Dwip2.png DwipTuvrel.png; do
  expect_eq "$(identify -format %m "$WORK/a/$f")" PNG "format of $f"
  share() { convert "$WORK/a/$f" -alpha extract -fx "$1" -format "%[fx:mean]" info:; }
  for band in "u<0.4" "u>0.4&&u<0.6" "u>0.6"; do
    awk -v m="$(share "$band")" 'BEGIN { exit !(m > 0.001) }' || fail "$f has no alpha where $band"
  done
done

file "$WORK/a/Fast.mp3" | grep -q "layer III.*44.1 kHz" || fail "Fast.mp3 is not 44.1 kHz MP3: $(file "$WORK/a/Fast.mp3")"
echo "PASS"
