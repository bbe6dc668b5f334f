#!/usr/bin/env bash
# Installs what is missing, builds the presentation for web browsers into
# build-web/ (the page, the WebAssembly module, its glue and a copy of data/,
# where sample media fill in what is missing) and serves it on
# http://127.0.0.1:8080/ until stopped. Put build-web/ on any static web host
# to share it.
#   tools/web.sh [--build-only]
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh > /dev/null
./build/make-media data
bash tools/web/build.sh
rm -rf build-web/data
cp -r data build-web/data
[ "${1:-}" = --build-only ] && exit 0
exec node tools/web/serve.mjs build-web 8080
