#!/usr/bin/env bash
# The capture desk answers the keyboard of the X display it runs on, as on a Linux
# desktop: keys and drags typed with xdotool (X events, not Windows input). A probe hides
# its main window on its hotkey and shows the desk, as the program does; Esc must cancel,
# the arrows must move the selection, R and a drag must draw a rectangle after which the
# selection stays put, and Enter must copy.
#   Usage: check-desk-x-keys.sh PROBE_EXE   (in a test session)
set -uo pipefail
probe=$1
source "$(dirname "$0")/x-key-session.sh"
cp "$probe" "$work/probe.exe"
failures=0

wait_for() {
  for _ in $(seq 200); do [ -f "$work/$1" ] && return 0; sleep 0.1; done
  return 1
}

# The X server gives the keys to the desk: the focused X window covers the whole display.
screen=$(xdotool getdisplaygeometry | tr ' ' x)
desk_has_x_focus() {
  for _ in $(seq 200); do
    xdotool getwindowfocus getwindowgeometry 2>/dev/null | grep -q "Geometry: $screen" && return 0
    sleep 0.05
  done
  return 1
}

# One desk: the hotkey once the probe is up, then the steps (xdotool arguments, one
# command each) once the desk has the keyboard; the probe's answer must be the expected one.
check() {
  local expected=$1
  shift
  rm -f "$work"/*.txt
  bash "$runner" "$work/probe.exe" &
  local probe_run=$!
  if wait_for frame-up.txt; then
    xdotool mousemove 600 500 key ctrl+shift+F9
    if wait_for desk-up.txt && desk_has_x_focus; then
      local step
      for step in "$@"; do
        # shellcheck disable=SC2086
        xdotool $step
        sleep 0.05
      done
    fi
  fi
  wait "$probe_run"
  local result
  result=$(cat "$work/desk-result.txt" 2>/dev/null || echo "no answer")
  if [ "$result" = "$expected" ]; then
    echo "ok: $*: $result"
  else
    echo "FAIL: $*: expected '$expected', got '$result'"
    failures=$((failures + 1))
  fi
}

check cancelled "key Escape"
check "copy 102 110 302 260 marks 0" "key Right" "key Right" "key shift+Down" "key Return"
check "copy 100 100 300 250 marks 1" "key r" "mousemove 150 150" "mousedown 1" "mousemove 200 180" \
  "mousemove 250 200" "mouseup 1" "key Right" "key Return"
exit $((failures > 0))
