#!/usr/bin/env bash
# Capture and mark up with the keys and the mouse of a Linux desktop: X events typed and
# dragged into the display with xdotool. Over the probe's window of known pixels, the
# hotkey (Ctrl+F7, turned on in lumigrab.ini), a drag for the region, R and a drag, A and a
# drag, then Enter; the probe then finds the region with its marks on the clipboard. Under
# Wine the hotkey's Ctrl may be let go while another window has the keyboard, so the next
# key must not pass for Ctrl plus that key.
#   Usage: check-markup-x-keys.sh PROGRAM_EXE SNAPCORE_DLL PROBE_EXE   (in a test session)
set -uo pipefail
source "$(dirname "$0")/x-key-session.sh"
cp "$1" "$2" "$work/"
printf '[Options]\r\nMarkupHotkey=1\r\nMarkupKey=118\r\nMarkupModifiers=2\r\n' > "$work/lumigrab.ini"
probe=$3
read -r rl rt rr rb bl bt br bb al at ar ab < <(bash "$runner" "$probe" place | tr -d '\r')

bash "$runner" "$probe" check >"$work/probe.out" 2>&1 &
checker=$!
found_probe() { xdotool search --onlyvisible --name '^markup-probe$' >/dev/null 2>&1; }
wait_until found_probe || { echo "FAIL: the window of known pixels did not show"; exit 1; }

failed=0
if ! start_program "$(basename "$1")"; then
  echo "FAIL: the program's window did not appear with the keyboard"
  failed=1
else
  xdotool key ctrl+F7
  # The overlay, then the desk, each takes the keyboard when it shows.
  if ! bash "$runner" "$probe" overlay; then
    echo "FAIL: the hotkey froze no screen"
    failed=1
  else
    drag "$rl" "$rt" "$rr" "$rb"
    if ! bash "$runner" "$probe" desk; then
      echo "FAIL: the drag gave no desk"
      failed=1
    else
      xdotool key r
      drag "$bl" "$bt" "$br" "$bb"
      xdotool key a
      drag "$al" "$at" "$ar" "$ab"
      xdotool key Return
    fi
  fi
fi
wait "$checker"
checked=$?
cat "$work/probe.out"
[ $checked -eq 0 ] || failed=1
kill "$program" 2>/dev/null
bash "$runner" "$(dirname "$probe")/tool_key_probe.exe" end >/dev/null 2>&1
wait "$program" 2>/dev/null
exit $failed
