#!/usr/bin/env bash
# The capture overlay answers the keyboard of the X display it runs on, as on a Linux
# desktop: keys typed with xdotool (X key events, not Windows input). A probe program
# hides its main window on its hotkey and starts a region capture, as the program
# does; Esc must cancel it, and Enter, the arrow keys and Enter must select a region.
#   Usage: check-overlay-x-keys.sh PROBE_EXE SNAPCORE_DLL   (in a test session)
set -uo pipefail
source "$(dirname "$0")/x-key-session.sh"
cp "$1" "$work/probe.exe"
cp "$2" "$work/"

overlay_up() { wait_for overlay-up.txt && sleep 0.3; }
# One capture: the keys typed once the overlay is on the screen.
check() {
  local expected=$1
  shift
  check_probe "$expected" overlay_up capture-result.txt "${@/#/key }"
}

check cancelled Escape
check "5 3" Return Right Right Right Right Right Right Left Down Down Down Return
exit $((failures > 0))
