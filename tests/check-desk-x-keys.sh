#!/usr/bin/env bash
# The capture desk answers the keyboard of the X display it runs on, as on a Linux
# desktop: keys and drags typed with xdotool (X events, not Windows input). A probe hides
# its main window on its hotkey and shows the desk, as the program does; Esc must cancel,
# the arrows must move the selection, R and a drag must draw a rectangle after which the
# selection stays put, and Enter must copy.
#   Usage: check-desk-x-keys.sh PROBE_EXE   (in a test session)
set -uo pipefail
source "$(dirname "$0")/x-key-session.sh"
cp "$1" "$work/probe.exe"

# The X server gives the keys to the desk: the focused X window covers the whole display.
screen=$(xdotool getdisplaygeometry | tr ' ' x)
desk_has_x_focus() {
  for _ in $(seq 200); do
    xdotool getwindowfocus getwindowgeometry 2>/dev/null | grep -q "Geometry: $screen" && return 0
    sleep 0.05
  done
  return 1
}
desk_up() { wait_for desk-up.txt && desk_has_x_focus; }
check() { check_probe "$1" desk_up desk-result.txt "${@:2}"; }

check cancelled "key Escape"
check "copy 102 110 302 260 marks 0" "key Right" "key Right" "key shift+Down" "key Return"
check "copy 100 100 300 250 marks 1" "key r" "mousemove 150 150" "mousedown 1" "mousemove 200 180" \
  "mousemove 250 200" "mouseup 1" "key Right" "key Return"
exit $((failures > 0))
