#!/usr/bin/env bash
# A GIF recording cancelled and then stopped with the Esc and Enter keys of a Linux desktop:
# X key events typed into the display with xdotool, which reach the recording's bar only when
# it holds the keyboard at X level too. The probe asks for the recording, xdotool drags the
# part to record and types the key, and the probe finds what the key should have done.
#   Usage: check-record-x-keys.sh PROGRAM_EXE SNAPCORE_DLL PROBE_EXE   (in a test session)
set -uo pipefail
source "$(dirname "$0")/x-key-session.sh"
cp "$1" "$2" "$work/"
probe=$3

# With the frozen screen up: a drag, the bar with the keyboard, the key, then what the probe checks.
#   Usage: record_then KEY PROBE_MODE
record_then() {
  drag 200 200 420 360
  if ! bash "$runner" "$probe" bar; then
    echo "FAIL: the drag began no recording with its bar in front"
    return 1
  elif ! wait_until other_window_has_x_focus; then
    echo "FAIL: the bar has no X keyboard focus; it is on: $(xdotool getwindowfocus getwindowname 2>&1)"
    return 1
  fi
  xdotool key "$1"
  bash "$runner" "$probe" "$2" || { echo "FAIL: $1 did not end the recording as it should"; return 1; }
  echo "ok: $1"
}

failed=0
if ! start_program "$(basename "$1")"; then
  echo "FAIL: the program's window did not appear with the keyboard"
  failed=1
elif ! bash "$runner" "$probe" start; then
  echo "FAIL: the recording froze no screen"
  failed=1
else
  # "cancelled" ends with the next recording's frozen screen up.
  record_then Escape cancelled || failed=1
  [ $failed = 0 ] && { record_then Return playback || failed=1; }
fi
bash "$runner" "$probe" end >/dev/null 2>&1
kill "$program" 2>/dev/null
wait "$program" 2>/dev/null
exit $failed
