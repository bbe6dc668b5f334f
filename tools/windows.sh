#!/usr/bin/env bash
# The presentation as a Windows program, cross-built on Debian:
#   tools/windows.sh            installs what is missing, builds and writes build-windows/dwip-this-windows.zip
#   tools/windows.sh --play     ... and plays it under Wine (needs a display)
#   tools/windows.sh --build-only   the executable alone, no zip
# The libraries are built for Windows from Debian's own source packages, at
# the versions this machine's native packages have, into a cache outside the
# work tree (${XDG_CACHE_HOME:-~/.cache}/dwip-this-windows): the first run takes
# about ten minutes on two cores, later ones seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
MODE=${1:-zip}
case "$MODE" in
  zip|--play|--build-only) ;;
  -h|--help) sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
  *) echo "usage: tools/windows.sh [--play|--build-only]" >&2; exit 2 ;;
esac

bash tools/install-deps.sh
PACKAGES=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
          wine wine64 dpkg-dev make zip)
missing=()
for pkg in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The source packages, each at the version of the native package built from it.
SOURCES=(zlib:zlib1g-dev libspng:libspng-dev libjpeg-turbo:libturbojpeg0-dev libexif:libexif-dev
         mpg123:libmpg123-dev libsndfile:libsndfile1-dev libsdl2:libsdl2-dev ffmpeg:libswscale-dev)
pins=()
for entry in "${SOURCES[@]}"; do
  pins+=("${entry%%:*}=$(dpkg-query -W -f='${source:Version}' "${entry#*:}")")
done
CACHE=${XDG_CACHE_HOME:-$HOME/.cache}/dwip-this-windows
# Raise when a library's recipe below changes.
RECIPES=1
KEY=$(printf '%s\n' "${pins[@]}" "$RECIPES" | sha256sum | cut -c1-12)
PREFIX=$CACHE/prefix-$KEY
mkdir -p "$CACHE"

# A private list of Debian's source packages, made from this machine's own
# package sources: the same suites, "deb-src" for "deb".
apt_private() {
  local apt=$CACHE/apt
  mkdir -p "$apt/lists/partial" "$apt/archives/partial" "$apt/sources.list.d"
  : >"$apt/sources.list"
  rm -f "$apt/sources.list.d/"*
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' /etc/apt/sources.list >>"$apt/sources.list"
  fi
  for file in /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] && sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$file" >>"$apt/sources.list"
  done
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] && sed 's/^Types:.*/Types: deb-src/' "$file" >"$apt/sources.list.d/$(basename "$file")"
  done
  APT_OPTIONS=(-o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=$apt/sources.list.d"
               -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache::Archives=$apt/archives" -o "APT::Get::Only-Source=true")
  # The cache may be in a home folder apt's own user cannot enter.
  [ "$(id -u)" -eq 0 ] && APT_OPTIONS+=(-o "APT::Sandbox::User=root")
  apt-get "${APT_OPTIONS[@]}" -q update >/dev/null
}

# download_source NAME=VERSION: the source package's files, each checked
# against the hash of apt's signed index. An upstream signature (.asc) that a
# mirror lacks is not needed for that.
download_source() {
  local uri file size hash
  mkdir -p "$CACHE/download"
  apt-get "${APT_OPTIONS[@]}" -q source --print-uris "$1" | grep "^'" |
    while read -r uri file size hash; do
      uri=${uri//\'/}
      [ -f "$CACHE/download/$file" ] && echo "${hash#SHA256:}  $CACHE/download/$file" | sha256sum -c --quiet - 2>/dev/null &&
        continue
      if ! curl -fsSL -o "$CACHE/download/$file.part" "$uri" 2>/dev/null; then
        [[ $file == *.asc ]] && continue
        echo "Could not download $uri" >&2
        return 1
      fi
      echo "${hash#SHA256:}  $CACHE/download/$file.part" | sha256sum -c --quiet - ||
        { echo "$file does not match apt's index" >&2; return 1; }
      mv "$CACHE/download/$file.part" "$CACHE/download/$file"
    done
}

# fetch NAME=VERSION: the unpacked source in $CACHE/src/NAME-VERSION.
fetch() {
  local name=${1%%=*} version=${1#*=}
  # No epoch in the folder name: make takes its colon for a rule.
  local dir=$CACHE/src/$name-${version#*:}
  if [ ! -d "$dir" ]; then
    [ -n "${APT_OPTIONS+x}" ] || apt_private
    download_source "$1"
    rm -rf "$dir.part" && mkdir -p "$CACHE/src"
    dpkg-source --no-check -x "$CACHE/download/${name}_${version#*:}.dsc" "$dir.part" >/dev/null
    mv "$dir.part" "$dir"
  fi
  SRC=$dir
}

HOST=x86_64-w64-mingw32
export CC=$HOST-gcc-posix CXX=$HOST-g++-posix AR=$HOST-ar RANLIB=$HOST-ranlib
JOBS=$(nproc)
CMAKE_CROSS=(-DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" -DCMAKE_INSTALL_PREFIX="$PREFIX"
             -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DWINDOWS_PREFIX="$PREFIX")

# built NAME: whether NAME is in the prefix already; done NAME marks it.
built() { [ -f "$PREFIX/.done-$1" ]; }
done_with() { touch "$PREFIX/.done-$1"; }

build_libraries() {
  mkdir -p "$PREFIX/lib" "$PREFIX/include"
  local started=$SECONDS pin name
  for pin in "${pins[@]}"; do
    name=${pin%%=*}
    built "$name" && continue
    echo "Building $pin for Windows ..."
    fetch "$pin"
    local work=$CACHE/build/$name
    rm -rf "$work" && mkdir -p "$work"
    case "$name" in
      zlib)
        cmake -S "$SRC" -B "$work" "${CMAKE_CROSS[@]}" >/dev/null
        cmake --build "$work" -j"$JOBS" --target zlibstatic >/dev/null
        cp "$work/libzlibstatic.a" "$PREFIX/lib/libz.a" && cp "$SRC/zlib.h" "$work/zconf.h" "$PREFIX/include/" ;;
      libspng)
        # One C file; its CMake list cannot build the static library alone.
        "$CC" -O2 -DSPNG_STATIC -I"$PREFIX/include" -c "$SRC/spng/spng.c" -o "$work/spng.o"
        "$AR" rcs "$PREFIX/lib/libspng.a" "$work/spng.o" && cp "$SRC/spng/spng.h" "$PREFIX/include/" ;;
      libjpeg-turbo)
        cmake -S "$SRC" -B "$work" "${CMAKE_CROSS[@]}" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF \
          -DWITH_TURBOJPEG=ON >/dev/null
        cmake --build "$work" -j"$JOBS" >/dev/null && cmake --install "$work" >/dev/null ;;
      libexif)
        # Its C files alone: the source package has no configure script, and
        # the library needs nothing a small config header cannot say.
        mkdir -p "$work/libexif" "$PREFIX/include/libexif"
        printf '#define GETTEXT_PACKAGE "libexif-12"\n#define HAVE_LOCALTIME_S 1\n' >"$work/config.h"
        printf '#include <stdint.h>\n' >"$work/libexif/_stdint.h"
        local file objects=()
        for file in "$SRC"/libexif/*.c "$SRC"/libexif/*/*.c; do
          objects+=("$work/$(basename "${file%.c}").o")
          "$CC" -O2 -I"$work" -I"$SRC" -c "$file" -o "${objects[-1]}"
        done
        "$AR" rcs "$PREFIX/lib/libexif.a" "${objects[@]}"
        cp "$SRC"/libexif/*.h "$work/libexif/_stdint.h" "$PREFIX/include/libexif/" ;;
      mpg123)
        # The decoding library alone, with nothing of this machine's audio.
        (cd "$work" && PKG_CONFIG_LIBDIR=/nonexistent "$SRC/configure" -q --host=$HOST --prefix="$PREFIX" \
           --disable-shared --enable-static --enable-modules=no --with-audio=dummy --with-default-audio=dummy \
           --with-cpu=x86-64 >/dev/null &&
         make -s -j"$JOBS" src/libmpg123/libmpg123.la >/dev/null &&
         cp src/libmpg123/.libs/libmpg123.a "$PREFIX/lib/" &&
         cp src/libmpg123/mpg123.h "$SRC/src/libmpg123/fmt123.h" "$PREFIX/include/") ;;
      libsndfile)
        cmake -S "$SRC" -B "$work" "${CMAKE_CROSS[@]}" -DENABLE_EXTERNAL_LIBS=OFF -DENABLE_MPEG=OFF \
          -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF -DENABLE_CPACK=OFF -DINSTALL_PKGCONFIG_MODULE=OFF \
          >/dev/null
        cmake --build "$work" -j"$JOBS" >/dev/null && cmake --install "$work" >/dev/null ;;
      libsdl2)
        # Audio is all the program asks of SDL on Windows (the video part
        # stays: SDL's table of its own calls names it).
        cmake -S "$SRC" -B "$work" "${CMAKE_CROSS[@]}" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
          -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_SENSOR=OFF -DSDL_HIDAPI=OFF -DSDL_POWER=OFF -DSDL_LOCALE=OFF \
          -DSDL_MISC=OFF >/dev/null
        cmake --build "$work" -j"$JOBS" >/dev/null && cmake --install "$work" >/dev/null ;;
      ffmpeg)
        # Only the scaler (and the utilities it rests on), without assembly.
        (cd "$work" && "$SRC/configure" --prefix="$PREFIX" --enable-cross-compile --cross-prefix=$HOST- \
           --cc="$CC" --arch=x86_64 --target-os=mingw32 --disable-everything --disable-programs --disable-doc \
           --disable-network --disable-autodetect --disable-avdevice --disable-avcodec --disable-avformat \
           --disable-swresample --disable-postproc --disable-avfilter --enable-swscale --disable-x86asm \
           --disable-debug --enable-static --disable-shared >/dev/null &&
         make -s -j"$JOBS" >/dev/null && make -s install >/dev/null) ;;
    esac
    done_with "$name"
  done
  [ $((SECONDS - started)) -gt 0 ] && echo "Libraries for Windows built in $((SECONDS - started)) s into $PREFIX"
  return 0
}

build_libraries
cmake -S platform/windows -B build-windows "${CMAKE_CROSS[@]}" >/dev/null
cmake --build build-windows -j"$JOBS"
EXE=$ROOT/build-windows/dwip-this.exe
[ "$MODE" = --build-only ] && exit 0

# The zip: the program, the sample media, and a word for whoever receives it.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target make-media -j"$JOBS" >/dev/null
PACKAGE=$ROOT/build-windows/package
rm -rf "$PACKAGE" && mkdir -p "$PACKAGE"
cp "$EXE" "$PACKAGE/"
./build/make-media "$PACKAGE/data" >/dev/null
cp platform/windows/README.txt "$PACKAGE/README.txt"
rm -f build-windows/dwip-this-windows.zip
(cd "$PACKAGE" && zip -q -r -X ../dwip-this-windows.zip dwip-this.exe README.txt data)
echo "Wrote build-windows/dwip-this-windows.zip"

if [ "$MODE" = --play ]; then
  if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: Wine needs a screen to play on." >&2
    exit 1
  fi
  # Its own prefix, made on the first play without the runtimes Wine would offer to download.
  export WINEPREFIX=${WINEPREFIX:-$CACHE/wineprefix} WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
  cd "$PACKAGE" && exec wine "$PACKAGE/dwip-this.exe"
fi
