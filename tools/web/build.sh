#!/usr/bin/env bash
# Builds the web page and the WebAssembly module into build-web/ with
# Debian's Emscripten (the packages come from tools/install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/../.."
# Debian's emscripten: its JavaScript optimiser finds acorn only there.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S platform/web -B build-web -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build build-web -j"$(nproc)"
