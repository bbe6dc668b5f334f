#!/usr/bin/env bash
# Installs what is missing, builds, writes the sample media that data/ lacks
# (your own files there are never touched) and renders the presentation to
# a video, an image sequence, a still or a contact sheet. Needs no display and
# no sound device. Arguments are dwip-capture's (tools/capture.sh --help);
# OUT is taken relative to the folder you run this from.
set -euo pipefail
caller=$PWD
cd "$(dirname "$0")/.."

# Help is answered at once, before anything is installed or built.
for arg in "$@"; do
  case "$arg" in
    --help|-h) cat capture/usage.txt; exit 0 ;;
  esac
done

args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --fps|--size|--from|--to|--at|--sheet) args+=("$1" "${2-}"); shift $(( $# > 1 ? 2 : 1 )) ;;
    -*) args+=("$1"); shift ;;
    /*) args+=("$1"); shift ;;
    *) args+=("$caller/$1"); shift ;;
  esac
done

bash tools/build.sh
./build/make-media data
exec ./build/capture/dwip-capture "${args[@]}"
