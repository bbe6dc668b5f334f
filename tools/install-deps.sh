#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the media generator need.
# Packages already present are skipped; sudo is used only when not running as root.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config
  libsdl2-dev libepoxy-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri
  libturbojpeg0-dev libspng-dev libexif-dev libjpeg-dev
  libmpg123-dev libsndfile1-dev libkissfft-dev libmp3lame-dev libpulse-dev
  libavformat-dev libavcodec-dev libswscale-dev ffmpeg
  googletest libgtest-dev
  libx11-dev xvfb xauth xdotool x11-utils xfonts-base file
  pulseaudio pulseaudio-utils pipewire pipewire-pulse wireplumber dbus
  libsdl2-ttf-dev fonts-dejavu-core
  imagemagick
  clang libclang-rt-14-dev
  emscripten chromium
)

# Node.js runs the web build's tools and tests; npm installs their packages.
# Either may come from elsewhere already (NodeSource ships npm with Node.js).
command -v node > /dev/null || PACKAGES+=(nodejs)
command -v npm > /dev/null || PACKAGES+=(npm)

missing=()
for pkg in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$pkg")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
