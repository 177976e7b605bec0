#!/usr/bin/env bash
# Builds everything and runs the benchmarks (all of them, or those named as
# arguments, e.g. ./bench.sh JpegBench) under Wine on a virtual display of their own.
set -euo pipefail
cd "$(dirname "$0")"
./build.sh >/dev/null
bin=build/x86_64/bin
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for source in bench/*.cpp; do
    [ -e "$source" ] && names+=("$(basename "$source" .cpp)")
  done
fi
if [ ${#names[@]} -eq 0 ]; then
  echo "no benchmarks"
  exit 0
fi
export LUMIGRAB_TEST_STATE=$PWD/build/x86_64/bench-session
bash cmake/test-session.sh start "$LUMIGRAB_TEST_STATE"
trap 'bash cmake/test-session.sh stop "$LUMIGRAB_TEST_STATE"' EXIT
for name in "${names[@]}"; do
  echo "== $name"
  (cd "$bin" && bash ../../../cmake/wine-run.sh "./$name.exe")
done
