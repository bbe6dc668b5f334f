#!/usr/bin/env bash
# Seed corpora for the fuzz targets, made from the sample media generator's
# pictures and music: small files of every kind the program reads.
#   make_seeds.sh MAKE_MEDIA OUT_DIR
set -euo pipefail
MAKE_MEDIA=$1 OUT=$2
[ -f "$OUT/done" ] && exit 0
media=$(mktemp -d)
trap 'rm -rf "$media"' EXIT
"$MAKE_MEDIA" "$media" >/dev/null
mkdir -p "$OUT/jpeg" "$OUT/png" "$OUT/music"

small="-resize 64x48!"
convert "$media/Nerd.jpg" $small -quality 85 "$OUT/jpeg/baseline.jpg"
convert "$media/KX07.jpg" $small -interlace JPEG -quality 85 "$OUT/jpeg/progressive.jpg"
convert "$media/Ass.jpg" $small -colorspace Gray -quality 85 "$OUT/jpeg/grey.jpg"
convert "$media/VekCreds.jpg" $small -colorspace CMYK -quality 85 "$OUT/jpeg/ycck.jpg"
convert "$media/qorlogo.jpg" -resize 32x80! -sampling-factor 1x1 -quality 95 "$OUT/jpeg/tall_444.jpg"

convert "$media/Dwip1.png" $small "$OUT/png/rgba.png"
convert "$media/Dwip2.png" $small "png8:$OUT/png/palette.png"
convert "$media/Lyrics.png" $small -colorspace Gray -define png:color-type=0 "$OUT/png/grey.png"
convert "$media/DwipTuvrel.png" $small -depth 16 "png64:$OUT/png/deep.png"
convert "$media/Dwip1.png" $small -interlace PNG "$OUT/png/interlaced.png"

cut() { ffmpeg -v error -y -t 0.25 -i "$media/Fast.mp3" "$@"; }
ffmpeg -v error -y -t 0.3 -i "$media/Fast.mp3" -c copy "$OUT/music/cbr.mp3"
cut -ar 22050 -ac 1 -c:a libmp3lame -q:a 6 "$OUT/music/vbr_mono.mp3"
cut -ar 22050 -ac 1 "$OUT/music/mono.wav"
cut -ar 48000 -c:a pcm_s24be "$OUT/music/stereo.aiff"
cut -c:a flac "$OUT/music/stereo.flac"
cut -c:a libvorbis "$OUT/music/stereo.ogg"
cut -ar 48000 -c:a libopus "$OUT/music/stereo.opus"
touch "$OUT/done"
