#!/usr/bin/env bash
# Builds the static libraries the program and its tests link, from Debian's own
# sources, with the MinGW toolchain of one architecture:
#   libjpeg-turbo (IJG API 6b, SIMD, -fexceptions)  and  GoogleTest.
# Usage: build-deps.sh ARCH OUTDIR        ARCH is i686 or x86_64
# Each library is built once; a stamp file marks a finished install.
set -euo pipefail

arch=$1
out=$(realpath -m "$2")
here=$(cd "$(dirname "$0")" && pwd)
toolchain=$here/toolchain-$arch.cmake
src=$(dirname "$out")/src
mkdir -p "$out" "$src"

jobs=$(nproc)

if [ ! -f "$out/.libjpeg-turbo.done" ]; then
  tarball=$(ls "$src"/libjpeg-turbo_*.orig.tar.gz 2>/dev/null | head -n 1 || true)
  if [ -z "$tarball" ]; then
    (cd "$src" && apt-get source --download-only -qq libjpeg-turbo >/dev/null 2>&1)
    tarball=$(ls "$src"/libjpeg-turbo_*.orig.tar.gz | head -n 1)
  fi
  tree=$src/libjpeg-turbo
  if [ ! -d "$tree" ]; then
    mkdir -p "$tree.tmp"
    tar -xzf "$tarball" -C "$tree.tmp" --strip-components=1
    mv "$tree.tmp" "$tree"
  fi
  rm -rf "$out/build-libjpeg-turbo"
  # -fexceptions lets the codec's error handler throw through libjpeg's frames.
  cmake -S "$tree" -B "$out/build-libjpeg-turbo" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$out" -DCMAKE_C_FLAGS="-fexceptions" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
    -DWITH_JPEG8=OFF -DWITH_JPEG7=OFF -DWITH_SIMD=ON -DREQUIRE_SIMD=ON \
    -Wno-dev >/dev/null
  cmake --build "$out/build-libjpeg-turbo" -j "$jobs" >/dev/null
  cmake --install "$out/build-libjpeg-turbo" >/dev/null
  rm -rf "$out/build-libjpeg-turbo"
  touch "$out/.libjpeg-turbo.done"
  echo "== built libjpeg-turbo for $arch"
fi

if [ ! -f "$out/.googletest.done" ]; then
  rm -rf "$out/build-googletest"
  cmake -S /usr/src/googletest -B "$out/build-googletest" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$out" -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON \
    -Dgtest_disable_pthreads=OFF >/dev/null
  cmake --build "$out/build-googletest" -j "$jobs" >/dev/null
  cmake --install "$out/build-googletest" >/dev/null
  rm -rf "$out/build-googletest"
  touch "$out/.googletest.done"
  echo "== built GoogleTest for $arch"
fi
