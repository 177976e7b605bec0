#!/usr/bin/env bash
# Installs what is missing, builds both architectures and runs every test under
# Wine on a virtual display (ctest starts and stops the display itself).
set -euo pipefail
cd "$(dirname "$0")"
./build.sh
cd build/x86_64
ctest --output-on-failure "$@"
