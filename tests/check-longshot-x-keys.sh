#!/usr/bin/env bash
# A long screenshot ended with the Enter key of a Linux desktop: an X key event typed into
# the display with xdotool while the session captures, which reaches it only when the
# session holds the keyboard at X level too. Over a page far taller than automatic
# scrolling gets through by then, the probe asks for the long screenshot, xdotool drags
# the selection and types Enter, and the probe finds the document before the page's end.
#   Usage: check-longshot-x-keys.sh PROGRAM_EXE SNAPCORE_DLL PROBE_EXE TALL_PAGE_EXE   (in a test session)
set -uo pipefail
source "$(dirname "$0")/x-key-session.sh"
cp "$1" "$2" "$work/"
probe=$3
read -r -a page_arguments < <(bash "$runner" "$probe" page | tr -d '\r')
read -r left top right bottom < <(bash "$runner" "$probe" place | tr -d '\r')

bash "$runner" "$4" "${page_arguments[@]}" &
page=$!
found_page() { xdotool search --onlyvisible --name '^tall-page$' >/dev/null 2>&1; }

failed=0
if ! wait_until found_page; then
  echo "FAIL: the tall page did not show"
  failed=1
elif ! start_program "$(basename "$1")"; then
  echo "FAIL: the program's window did not appear with the keyboard"
  failed=1
elif ! bash "$runner" "$probe" start; then
  echo "FAIL: the long screenshot froze no screen"
  failed=1
else
  drag "$left" "$top" "$right" "$bottom"
  if ! bash "$runner" "$probe" session; then
    echo "FAIL: the drag began no long screenshot with the keyboard"
    failed=1
  elif ! wait_until other_window_has_x_focus; then
    echo "FAIL: the long screenshot has no X keyboard focus; it is on: $(xdotool getwindowfocus getwindowname 2>&1)"
    failed=1
  else
    xdotool key Return
    bash "$runner" "$probe" document || { echo "FAIL: Enter did not end the long screenshot"; failed=1; }
  fi
fi
bash "$runner" "$probe" end >/dev/null 2>&1
kill "$program" "$page" 2>/dev/null
wait "$program" "$page" 2>/dev/null
exit $failed
