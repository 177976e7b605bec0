#!/usr/bin/env bash
# Starts or stops what a test run shares: one Xvfb display and a persistent
# wineserver for the test prefix.   Usage: test-session.sh start|stop STATE_DIR
set -uo pipefail
action=$1
state=$(realpath -m "$2")
mkdir -p "$state"
export WINEPREFIX="$state/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" LC_ALL=zh_CN.UTF-8
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64

xvfb_alive() { [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; }

stop() {
  "$wineserver" -k 2>/dev/null
  if xvfb_alive; then kill "$(cat "$state/xvfb.pid")"; fi
  rm -f "$state/xvfb.pid" "$state/display"
}

start() {
  if ! xvfb_alive; then
    rm -f "$state/xvfb.pid" "$state/display"
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$state/xvfb.log" 2>&1 < /dev/null &
    echo $! > "$state/xvfb.pid"
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    [ -e "/tmp/.X11-unix/X$n" ] || { echo "Xvfb did not start"; cat "$state/xvfb.log"; exit 1; }
    echo ":$n" > "$state/display"
  fi
  export DISPLAY=$(cat "$state/display")
  if [ ! -f "$WINEPREFIX/.lumigrab-ready" ]; then
    echo "creating the Wine prefix (once)"
    "$wine" wineboot --init >/dev/null 2>&1
    # Without a window manager Wine draws captions and frames itself only for unmanaged windows.
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    "$wineserver" -w
    touch "$WINEPREFIX/.lumigrab-ready"
  fi
  # A persistent server makes every later program start take about a second.
  "$wineserver" -p >/dev/null 2>&1 </dev/null
  echo "display $DISPLAY, prefix $WINEPREFIX"
}

case $action in
  start) start ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop STATE_DIR"; exit 2 ;;
esac
