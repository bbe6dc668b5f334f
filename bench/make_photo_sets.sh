#!/usr/bin/env bash
# Writes the start-up benchmark's sets of camera-sized photographs, once:
#   make_photo_sets.sh SAMPLE_MEDIA_DIR OUT_DIR
# OUT_DIR/12mp: eighteen 4000 x 3000 JPEGs with sensor-like noise (phone photos);
# OUT_DIR/24mp: eighteen 6000 x 4000 ones. Three photos each, under all eighteen
# names, beside the sample music.
set -euo pipefail
MEDIA=$1 OUT=$2
names=(qorlogo.jpg VekCreds.jpg JubCreds.jpg SnurfelsCreds.jpg QuillackCreds.jpg ZephruntCreds.jpg
       SluttBilde.jpg Dwip1.png Dwip2.png DwipTuvrel.png Nerd.jpg Lyrics.png KX07.jpg Demoscene.jpg
       DwipVacation1.jpg DwipVacation2.jpg DwipVacation3.jpg Ass.jpg)
make_set() {
  local dir=$OUT/$1 size=$2
  [ -f "$dir/done" ] && return
  mkdir -p "$dir/photos"
  local colours=("#6a8caf:#e0c090" "#3b5d2a:#c8d8a0" "#803020:#f0d0b0")
  for i in 0 1 2; do
    convert -size "$size" "gradient:${colours[$i]%%:*}-${colours[$i]##*:}" -attenuate 0.6 +noise Gaussian \
      -quality 90 "$dir/photos/$i.jpg"
  done
  for n in "${!names[@]}"; do
    ln -sf "photos/$((n % 3)).jpg" "$dir/${names[$n]}"
  done
  ln -sf "$(realpath "$MEDIA")/Fast.mp3" "$dir/Fast.mp3"
  touch "$dir/done"
}
make_set 12mp 4000x3000
make_set 24mp 6000x4000
