#!/usr/bin/env bash
# Runs a Windows test program under wine64 with the test session's display and
# prefix (see test-session.sh) and the Chinese code page 936.
state=$(realpath -m "${LUMIGRAB_TEST_STATE:?LUMIGRAB_TEST_STATE names the test session folder}")
export WINEPREFIX="$state/wineprefix"
export WINEDEBUG=-all
# No menu entries or icons of test installs in the home folder (winemenubuilder).
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LC_ALL=zh_CN.UTF-8
if [ -f "$state/display" ]; then
  DISPLAY=$(cat "$state/display")
  export DISPLAY
fi

# Wine's desktop process, started by the first program that opens a window, lives on
# and would keep our output pipe open, so ctest would wait for it until the timeout.
# The program writes into a file instead, which is passed on as it grows.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
/usr/lib/wine/wine64 "$@" >"$log" 2>&1 </dev/null &
program=$!
tail -n +1 -f --pid=$program "$log" &
follower=$!
wait $program
code=$?
wait $follower
exit $code
