#!/usr/bin/env bash
# Installs what is missing, builds and runs every test. The tests draw on a
# virtual X screen of their own, whatever display this machine has.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh
exec xvfb-run -a -s "-screen 0 800x600x24 -nolisten tcp" \
  ctest --test-dir build --output-on-failure --timeout 600 -j2 "$@"
