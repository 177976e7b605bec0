#!/usr/bin/env bash
# The capture overlay answers the keyboard of the X display it runs on, as on a Linux
# desktop: keys typed with xdotool (X key events, not Windows input). A probe program
# hides its main window on its hotkey and starts a region capture, as the program
# does; Esc must cancel it, and Enter, the arrow keys and Enter must select a region.
#   Usage: check-overlay-x-keys.sh PROBE_EXE SNAPCORE_DLL   (in a test session)
set -uo pipefail
probe=$1
engine=$2
source "$(dirname "$0")/x-key-session.sh"
cp "$probe" "$work/probe.exe"
cp "$engine" "$work/"
failures=0

wait_for() {
  for _ in $(seq 200); do [ -f "$work/$1" ] && return 0; sleep 0.1; done
  return 1
}

# One capture: the hotkey once the probe is up, then the keys once the overlay is on
# the screen, and the probe's answer must be the expected one. The probe gives up by
# itself when the keys do not end the capture.
check() {
  local expected=$1
  shift
  rm -f "$work"/*.txt
  bash "$runner" "$work/probe.exe" &
  local probe_run=$!
  if wait_for frame-up.txt; then
    xdotool mousemove 600 500 key ctrl+shift+F9
    if wait_for overlay-up.txt; then
      sleep 0.3
      local key
      for key in "$@"; do
        xdotool key "$key"
        sleep 0.05
      done
    fi
  fi
  wait "$probe_run"
  local result
  result=$(cat "$work/capture-result.txt" 2>/dev/null || echo "no answer")
  if [ "$result" = "$expected" ]; then
    echo "ok: keys $*: $result"
  else
    echo "FAIL: keys $*: expected '$expected', got '$result'"
    failures=$((failures + 1))
  fi
}

check cancelled Escape
check "5 3" Return Right Right Right Right Right Right Left Down Down Down Return
exit $((failures > 0))
