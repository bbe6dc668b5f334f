#!/usr/bin/env bash
# Builds and runs every benchmark on a virtual X screen; prints figures only.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh >/dev/null
./build/make-media build/bench-media >/dev/null
echo "== audio clock (10 s of play, dummy driver)"
./build/bench/audio_bench clock
echo "== audio memory"
./build/bench/audio_bench memory 2
./build/bench/audio_bench memory 20
bash bench/make_photo_sets.sh build/bench-media build/bench-photos
for set in bench-media bench-photos/12mp bench-photos/24mp; do
  echo "== start-up: $set"
  xvfb-run -a -s "-screen 0 800x600x24" ./build/bench/startup_bench "$PWD/build/$set"
done
echo "== frames"
xvfb-run -a -s "-screen 0 800x600x24" ./build/bench/frame_bench "$PWD/build/bench-media"
echo "== capture (no display)"
env -u DISPLAY ./build/bench/capture_bench "$PWD/build/bench-media"
echo "== web build in headless Chromium (beside the frames above)"
bash tools/web.sh --build-only > /dev/null
(cd tests/web && npm ci --no-audit --no-fund --silent)
node bench/web_bench.mjs build-web
