#!/usr/bin/env bash
# Fuzzes what reads the user's files: each picture format as the texture set
# loads it, and a music file opened, decoded, moved in and its spectrum read.
# libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer (clang), each
# target for SECONDS (default 180), seeded from the sample media generator.
#   tools/fuzz.sh [SECONDS]
# Prints executions and findings per target; what crashes is kept under
# build-fuzz/artifacts/ and the script ends with status 1.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-180}
bash tools/install-deps.sh
cmake -S . -B build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSANITIZE=ON -DFUZZ=ON > /dev/null
cmake --build build-fuzz -j"$(nproc)" --target fuzz_jpeg_picture fuzz_png_picture fuzz_music make-media
bash tests/fuzz/make_seeds.sh build-fuzz/make-media build-fuzz/seeds

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
found=0
for run in "fuzz_jpeg_picture jpeg" "fuzz_png_picture png" "fuzz_music music"; do
  set -- $run
  target=$1 seeds=build-fuzz/seeds/$2
  corpus=build-fuzz/corpus/$target artifacts=build-fuzz/artifacts/$target
  mkdir -p "$corpus" "$artifacts"
  log=build-fuzz/$target.log
  status=0
  "./build-fuzz/tests/fuzz/$target" -max_total_time="$SECONDS_EACH" -timeout=20 -rss_limit_mb=2048 \
    -max_len=65536 -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" "$seeds" >"$log" 2>&1 || status=$?
  executions=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  findings=$(find "$artifacts" -type f | wc -l)
  echo "$target: $executions executions in ${SECONDS_EACH} s, $findings findings (status $status; log $log)"
  [ "$findings" -eq 0 ] && [ "$status" -eq 0 ] || found=1
done
exit $found
