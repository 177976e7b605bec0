#!/usr/bin/env bash
# Builds the static libraries the program and its tests link, from Debian's own
# sources, with the MinGW toolchain of one architecture:
#   libjpeg-turbo (IJG API 6b, SIMD), zlib and libpng (all three with -fexceptions),
#   and GoogleTest.
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

# Unpacks a Debian source package, with Debian's patches applied, into $src/NAME once
# and prints the tree's path. A security update whose files the mirror lacks falls
# back to the release's version of the same package.
unpack_source() {
  local package=$1 name=$2 dsc tree
  dsc=$(ls "$src/${package}"_*.dsc 2>/dev/null | head -n 1 || true)
  if [ -z "$dsc" ]; then
    (cd "$src" && { apt-get source --download-only -qq "$package" >/dev/null 2>&1 ||
                    apt-get source --download-only -qq "$package/bookworm" >/dev/null 2>&1; })
    dsc=$(ls "$src/${package}"_*.dsc | head -n 1)
  fi
  tree=$src/$name
  if [ ! -d "$tree" ]; then
    rm -rf "$tree.tmp"
    dpkg-source --no-check -x "$dsc" "$tree.tmp" >/dev/null
    mv "$tree.tmp" "$tree"
  fi
  echo "$tree"
}

# Configures, builds and installs a CMake project into $out: NAME TREE [CMAKE-ARGS...].
# Only zlib, which installs no static library of its own, is built by hand below.
cmake_install() {
  local name=$1 tree=$2
  shift 2
  rm -rf "$out/build-$name"
  cmake -S "$tree" -B "$out/build-$name" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$out" -Wno-dev "$@" >/dev/null
  cmake --build "$out/build-$name" -j "$jobs" >/dev/null
  cmake --install "$out/build-$name" >/dev/null
  rm -rf "$out/build-$name"
  touch "$out/.$name.done"
  echo "== built $name for $arch"
}

if [ ! -f "$out/.libjpeg-turbo.done" ]; then
  # -fexceptions lets the codec's error handler throw through libjpeg's frames.
  cmake_install libjpeg-turbo "$(unpack_source libjpeg-turbo libjpeg-turbo)" -DCMAKE_C_FLAGS="-fexceptions" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
    -DWITH_JPEG8=OFF -DWITH_JPEG7=OFF -DWITH_SIMD=ON -DREQUIRE_SIMD=ON
fi

# zlib and libpng are built with -fexceptions too: the PNG codec's error and I/O
# callbacks throw through their frames. Only the static libraries are installed.
if [ ! -f "$out/.zlib.done" ]; then
  tree=$(unpack_source zlib zlib)
  rm -rf "$out/build-zlib"
  cmake -S "$tree" -B "$out/build-zlib" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_C_FLAGS="-fexceptions" -Wno-dev >/dev/null
  cmake --build "$out/build-zlib" -j "$jobs" --target zlibstatic >/dev/null
  mkdir -p "$out/lib" "$out/include"
  cp "$out/build-zlib/libzlibstatic.a" "$out/lib/libz.a"
  cp "$out/build-zlib/zconf.h" "$tree/zlib.h" "$out/include/"
  rm -rf "$out/build-zlib"
  rm -f "$out/.libpng.done"  # libpng links against this zlib
  touch "$out/.zlib.done"
  echo "== built zlib for $arch"
fi

if [ ! -f "$out/.libpng.done" ]; then
  cmake_install libpng "$(unpack_source libpng1.6 libpng)" -DCMAKE_C_FLAGS="-fexceptions" \
    -DZLIB_LIBRARY="$out/lib/libz.a" -DZLIB_INCLUDE_DIR="$out/include" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_EXECUTABLES=OFF -DPNG_TESTS=OFF
fi

if [ ! -f "$out/.googletest.done" ]; then
  cmake_install googletest /usr/src/googletest -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON -Dgtest_disable_pthreads=OFF
fi
