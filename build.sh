#!/usr/bin/env bash
# Installs what is missing, builds the dependencies once, and builds the program
# for i686 (what ships) and x86_64 (what the tests run under wine64).
# Idempotent: a second run only rebuilds what changed.
set -euo pipefail
cd "$(dirname "$0")"

bash cmake/setup-machine.sh

for arch in i686 x86_64; do
  bash cmake/build-deps.sh "$arch" "build/deps/$arch"
  if [ ! -f "build/$arch/build.ninja" ]; then
    cmake -S . -B "build/$arch" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/toolchain-$arch.cmake" >/dev/null
  fi
  echo "== building $arch"
  cmake --build "build/$arch"
done
