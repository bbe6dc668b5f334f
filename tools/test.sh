#!/usr/bin/env bash
# Installs what is missing, builds and runs every test. The tests draw on a
# virtual X screen of their own, whatever display this machine has.
#   tools/test.sh [--sanitize] [CTEST ARGUMENTS...]
# --sanitize builds into build-sanitize with AddressSanitizer (and its leak
# checker) and UndefinedBehaviorSanitizer, and runs every test there: any
# memory error, undefined behaviour or leak of ours fails the run. Without it,
# the Windows program is cross-built as well and tested under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = --sanitize ]; then
  shift
  bash tools/install-deps.sh
  cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSANITIZE=ON > /dev/null
  cmake --build build-sanitize -j"$(nproc)"
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1
  export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
  BUILD=build-sanitize
else
  bash tools/build.sh
  # The Windows program too, run under Wine by the tests.
  bash tools/windows.sh --build-only
  cmake -S . -B build -DWINDOWS_PROGRAM="$PWD/build-windows/dwip-this.exe" > /dev/null
  BUILD=build
fi
# The web build and the browser that tests it.
bash tools/web/build.sh > /dev/null
(cd tests/web && npm ci --no-audit --no-fund --silent)
exec xvfb-run -a -s "-screen 0 800x600x24 -nolisten tcp -noreset" \
  ctest --test-dir "$BUILD" --output-on-failure --timeout 600 -j2 "$@"
