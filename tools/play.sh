#!/usr/bin/env bash
# Installs what is missing, builds, writes the sample media that data/ lacks
# (your own files there are never touched) and plays the presentation.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh
./build/make-media data
exec ./build/dwip-this
