# Sourced by the checks that type X keys into the test session's display: sets runner
# (the Wine runner), DISPLAY, and work, a folder removed on exit, and the steps they share.
runner="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/cmake/wine-run.sh"
state=$(realpath -m "${LUMIGRAB_TEST_STATE:?LUMIGRAB_TEST_STATE names the test session folder}")
DISPLAY=$(cat "$state/display")
export DISPLAY
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Up to 15 s, asking without a pause: a key must follow what it waits for at once.
wait_until() {
  local deadline=$((SECONDS + 15))
  until "$@"; do [ $SECONDS -lt $deadline ] || return 1; done
}

# Starts the program copied into the work folder as NAME (its process in program) and
# waits until its window (frame) is on the display with the keyboard, as a user's would
# be before the hotkey.   Usage: start_program NAME
start_program() {
  bash "$runner" "$work/$1" &
  program=$!
  frame=""
  wait_until found_frame && wait_until has_keyboard
}
found_frame() { frame=$(xdotool search --onlyvisible --name '^Lumigrab' 2>/dev/null | head -1); [ -n "$frame" ]; }
has_keyboard() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$frame" ]; }
# The X keyboard focus is on a window of the program's process other than its main window
# (a capture session's windows have no name to search by).
other_window_has_x_focus() {
  local focus
  focus=$(xdotool getwindowfocus 2>/dev/null) && [ "$focus" != "$frame" ] &&
    [ "$(xdotool getwindowpid "$focus" 2>/dev/null)" = "$(xdotool getwindowpid "$frame" 2>/dev/null)" ]
}

# Up to 20 s for the file NAME in the work folder.
wait_for() {
  for _ in $(seq 200); do [ -f "$work/$1" ] && return 0; sleep 0.1; done
  return 1
}

# One run of the hotkey probe copied into the work folder as probe.exe: its hotkey once
# it is up, then, once READY succeeds, the steps (xdotool arguments, one command each);
# the probe's answer in RESULT_FILE must be EXPECTED, else failures is counted up. The
# probe gives up by itself when the steps do not end it.
#   Usage: check_probe EXPECTED READY RESULT_FILE STEP...
failures=0
check_probe() {
  local expected=$1 ready=$2 result_file=$3
  shift 3
  rm -f "$work"/*.txt
  bash "$runner" "$work/probe.exe" &
  local probe_run=$!
  if wait_for frame-up.txt; then
    xdotool mousemove 600 500 key ctrl+shift+F9
    if "$ready"; then
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
  result=$(cat "$work/$result_file" 2>/dev/null || echo "no answer")
  if [ "$result" = "$expected" ]; then
    echo "ok: $*: $result"
  else
    echo "FAIL: $*: expected '$expected', got '$result'"
    failures=$((failures + 1))
  fi
}

# A drag in eight steps, paced as a hand moves.
drag() {
  local steps=(mousemove "$1" "$2" mousedown 1)
  for i in 1 2 3 4 5 6 7 8; do
    steps+=(sleep 0.015 mousemove $(( $1 + ($3 - $1) * i / 8 )) $(( $2 + ($4 - $2) * i / 8 )))
  done
  xdotool "${steps[@]}" mouseup 1
}
