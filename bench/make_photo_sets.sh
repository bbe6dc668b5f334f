#!/usr/bin/env bash
# Writes the start-up benchmark's sets of camera-sized photographs, once:
#   make_photo_sets.sh SAMPLE_MEDIA_DIR OUT_DIR
# OUT_DIR/12mp: 4000 x 3000 photos with sensor-like noise (phone photos);
# OUT_DIR/24mp: 6000 x 4000 ones. Three JPEG photos under the fourteen .jpg
# names, and a PNG photo (the same, losslessly) under the four .png names,
# beside the sample music.
set -euo pipefail
MEDIA=$1 OUT=$2
names=(qorlogo.jpg VekCreds.jpg JubCreds.jpg SnurfelsCreds.jpg QuillackCreds.jpg ZephruntCreds.jpg
       SluttBilde.jpg Dwip1.png Dwip2.png DwipTuvrel.png Nerd.jpg Lyrics.png KX07.jpg Demoscene.jpg
       DwipVacation1.jpg DwipVacation2.jpg DwipVacation3.jpg Ass.jpg)
make_set() {
  local dir=$OUT/$1 size=$2
  [ -f "$dir/done" ] && [ -f "$dir/photos/0.png" ] && return
  mkdir -p "$dir/photos"
  local colours=("#6a8caf:#e0c090" "#3b5d2a:#c8d8a0" "#803020:#f0d0b0")
  for i in 0 1 2; do
    convert -size "$size" "gradient:${colours[$i]%%:*}-${colours[$i]##*:}" -attenuate 0.6 +noise Gaussian \
      -quality 90 "$dir/photos/$i.jpg"
  done
  convert "$dir/photos/0.jpg" "$dir/photos/0.png"
  for n in "${!names[@]}"; do
    case "${names[$n]}" in
      *.png) ln -sf "photos/0.png" "$dir/${names[$n]}" ;;
      *) ln -sf "photos/$((n % 3)).jpg" "$dir/${names[$n]}" ;;
    esac
  done
  ln -sf "$(realpath "$MEDIA")/Fast.mp3" "$dir/Fast.mp3"
  touch "$dir/done"
}
make_set 12mp 4000x3000
make_set 24mp 6000x4000
