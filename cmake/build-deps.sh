#!/usr/bin/env bash
# Builds the static libraries the program and its tests link, from Debian's own
# sources, with the MinGW toolchain of one architecture:
#   libjpeg-turbo (IJG API 6b, SIMD), zlib, libpng and giflib (all four with -fexceptions),
#   GoogleTest, and the text-recognition engine: Tesseract with Leptonica inside one
#   DLL (bin/lumiocr.dll) that exports Tesseract's C API, with its language data
#   (shared by both architectures in OUTDIR/../tessdata); the licences of all of them
#   go to OUTDIR/../licences.
# Usage: build-deps.sh ARCH OUTDIR        ARCH is i686 or x86_64
# Each library is built once; a stamp file marks a finished install.
set -euo pipefail

arch=$1
out=$(realpath -m "$2")
here=$(cd "$(dirname "$0")" && pwd)
toolchain=$here/toolchain-$arch.cmake
toolprefix=$arch-w64-mingw32-
usprefix=$([ "$arch" = i686 ] && echo _ || true)  # i686 C symbols carry a leading underscore
src=$(dirname "$out")/src
mkdir -p "$out" "$src"

jobs=$(nproc)

# Unpacks a Debian source package, with Debian's patches and then ours from
# patches/NAME applied, into $src/NAME once and prints the tree's path. A security
# update whose files the mirror lacks falls back to the release's version of the same
# package.
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
    for patch in "$here/patches/$name"/*.patch; do
      if [ -f "$patch" ]; then patch -s -p1 -d "$tree.tmp" < "$patch"; fi
    done
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

# giflib's own makefile builds shared libraries and tools too; its static library is
# only the C files it lists in SOURCES (after Debian's patches, quantize.c among them),
# so they are compiled directly. -fexceptions for the same reason as libpng: the GIF
# codec's write and read callbacks throw through its frames.
if [ ! -f "$out/.giflib.done" ]; then
  tree=$(unpack_source giflib giflib)
  rm -rf "$out/build-giflib"
  mkdir -p "$out/build-giflib" "$out/lib" "$out/include"
  for file in $(make -s -C "$tree" --no-print-directory --eval 'lumigrab-sources: ; @echo $(SOURCES)' lumigrab-sources); do
    ${toolprefix}gcc-posix -std=gnu99 -O2 -Wall -fexceptions -c "$tree/$file" -o "$out/build-giflib/${file%.c}.o"
  done
  rm -f "$out/lib/libgif.a"
  ${toolprefix}ar rcs "$out/lib/libgif.a" "$out/build-giflib"/*.o
  cp "$tree/gif_lib.h" "$out/include/"
  rm -rf "$out/build-giflib"
  touch "$out/.giflib.done"
  echo "== built giflib for $arch"
fi

if [ ! -f "$out/.googletest.done" ]; then
  cmake_install googletest /usr/src/googletest -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON -Dgtest_disable_pthreads=OFF
fi

# Leptonica only ever gets pixels in memory from the engine, so every image format
# (and the libraries of this directory that would be found for them) stays out; the
# engine's own line images then travel as BMP. A DLL of a windowed program has no
# console for its messages.
if [ ! -f "$out/.leptonica.done" ]; then
  cmake_install leptonica "$(unpack_source leptonlib leptonica)" -DCMAKE_C_FLAGS="-DNO_CONSOLE_IO" \
    -DSW_BUILD=OFF -DBUILD_SHARED_LIBS=OFF -DBUILD_PROG=OFF \
    -DCMAKE_DISABLE_FIND_PACKAGE_GIF=ON -DCMAKE_DISABLE_FIND_PACKAGE_JPEG=ON \
    -DCMAKE_DISABLE_FIND_PACKAGE_PNG=ON -DCMAKE_DISABLE_FIND_PACKAGE_TIFF=ON \
    -DCMAKE_DISABLE_FIND_PACKAGE_ZLIB=ON -DCMAKE_DISABLE_FIND_PACKAGE_PkgConfig=ON
  rm -f "$out/.tesseract.done"  # the engine's DLL holds this Leptonica
fi

# The engine as a static library, only the LSTM recogniser (the shipped language data
# are LSTM models), without training tools, OpenMP, libarchive, curl, tiff or the
# debugging viewer. -march=native would tie the generic code to the build machine's
# CPU; the AVX paths are chosen at run time. Should GCC spill an AVX register, it would
# assume a 32-byte aligned stack, which Windows does not give: aligned vector moves are
# assembled as unaligned ones.
# The debugging fonts would be read from TIFF data that this Leptonica cannot read.
if [ ! -f "$out/.tesseract.done" ]; then
  cmake_install tesseract "$(unpack_source tesseract tesseract)" \
    -DSW_BUILD=OFF -DBUILD_SHARED_LIBS=OFF -DBUILD_TRAINING_TOOLS=OFF -DBUILD_TESTS=OFF \
    -DOPENMP_BUILD=OFF -DDISABLE_ARCHIVE=ON -DDISABLE_CURL=ON -DENABLE_OPENCL=OFF \
    -DGRAPHICS_DISABLED=ON -DDISABLED_LEGACY_ENGINE=ON -DINSTALL_CONFIGS=OFF \
    -DCOMPILER_SUPPORTS_MARCH_NATIVE=OFF -DCMAKE_DISABLE_FIND_PACKAGE_TIFF=ON \
    -DCMAKE_DISABLE_FIND_PACKAGE_PkgConfig=ON -DLeptonica_DIR="$out/lib/cmake/leptonica" \
    -DCMAKE_CXX_FLAGS="-Wa,-muse-unaligned-vector-move -DTESSERACT_DISABLE_DEBUG_FONTS"
  # One DLL, loaded when the program first recognises text, so that the program runs
  # without it: it exports the C API only and needs nothing but system DLLs.
  lib=$(ls "$out"/lib/libtesseract*.a | head -n 1)
  exports=$(${toolprefix}nm -g --defined-only "$lib" | awk '$2 == "T" { print $3 }' |
            sed 's/^_//' | grep -E '^Tess' | sort -u)
  { echo "LIBRARY lumiocr.dll"; echo "EXPORTS"; echo "$exports" | sed 's/^/  /'; } > "$out/lib/lumiocr.def"
  mkdir -p "$out/bin"
  ${toolprefix}g++-posix -shared -s -o "$out/bin/lumiocr.dll" "$out/lib/lumiocr.def" \
    $(echo "$exports" | sed "s/^/-Wl,-u,${usprefix}/") \
    "$lib" "$(ls "$out"/lib/libleptonica*.a | head -n 1)" \
    -static -static-libgcc -static-libstdc++
  touch "$out/.tesseract.done"
  echo "== linked lumiocr.dll for $arch"
fi

# The language data (Debian's fast LSTM models for Simplified Chinese and English) and
# the licences to ship with the engine, shared by both architectures.
shared=$(dirname "$out")
if [ ! -f "$shared/.tessdata.done" ]; then
  rm -rf "$shared/tessdata" "$shared/licences" "$src/tessdata-debs"
  mkdir -p "$shared/tessdata" "$shared/licences" "$src/tessdata-debs"
  for package in tesseract-ocr-chi-sim tesseract-ocr-eng; do
    deb=$(ls "$src/${package}"_*.deb 2>/dev/null | head -n 1 || true)
    if [ -z "$deb" ]; then
      (cd "$src" && apt-get download -qq "$package" >/dev/null 2>&1)
      deb=$(ls "$src/${package}"_*.deb | head -n 1)
    fi
    dpkg-deb -x "$deb" "$src/tessdata-debs"
    cp "$src/tessdata-debs/usr/share/doc/$package/copyright" "$shared/licences/$package.copyright"
  done
  cp "$src"/tessdata-debs/usr/share/tesseract-ocr/*/tessdata/*.traineddata "$shared/tessdata/"
  rm -rf "$src/tessdata-debs"
  tree=$(unpack_source tesseract tesseract)
  cp "$tree/LICENSE" "$shared/licences/tesseract-LICENSE.txt"
  cp "$tree/debian/copyright" "$shared/licences/tesseract.copyright"
  tree=$(unpack_source leptonlib leptonica)
  cp "$tree/leptonica-license.txt" "$shared/licences/leptonica-license.txt"
  cp "$tree/debian/copyright" "$shared/licences/leptonica.copyright"
  touch "$shared/.tessdata.done"
  echo "== unpacked the language data and licences"
fi

# The notices of the image libraries that the program links in, from the sources they
# are built from. A cheap step of its own, not part of a library's build: it fills in
# whatever is missing, also beside libraries built before it existed.
ship_notice() {  # PACKAGE NAME FILE-IN-TREE SHIPPED-NAME
  local package=$1 name=$2 file=$3 target=$shared/licences/$4 tree
  if [ ! -s "$target" ]; then
    tree=$(unpack_source "$package" "$name")
    mkdir -p "$shared/licences"
    cp "$tree/$file" "$target.tmp"
    mv "$target.tmp" "$target"
    echo "== added the licence $4"
  fi
}
ship_notice libjpeg-turbo libjpeg-turbo LICENSE.md libjpeg-turbo-LICENSE.txt
ship_notice libjpeg-turbo libjpeg-turbo README.ijg libjpeg-turbo-README-ijg.txt
ship_notice libjpeg-turbo libjpeg-turbo debian/copyright libjpeg-turbo.copyright
ship_notice libpng1.6 libpng LICENSE libpng-LICENSE.txt
ship_notice libpng1.6 libpng debian/copyright libpng.copyright
ship_notice zlib zlib LICENSE zlib-LICENSE.txt
ship_notice zlib zlib debian/copyright zlib.copyright
ship_notice giflib giflib COPYING giflib-COPYING.txt
ship_notice giflib giflib debian/copyright giflib.copyright
