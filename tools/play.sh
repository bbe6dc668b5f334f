#!/usr/bin/env bash
# Installs what is missing, builds, writes the sample media that data/ lacks
# (your own files there are never touched) and plays the presentation.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${SDL_VIDEODRIVER:-}" ]; then
  echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set): the presentation needs a screen to play on." >&2
  echo "To render it to a video instead, with no display and no sound device: tools/capture.sh presentation.mp4" >&2
  exit 1
fi
bash tools/build.sh
./build/make-media data
exec ./build/dwip-this
