#!/usr/bin/env bash
# Installs what is missing, builds, and starts lumigrab.exe (the x86_64 build;
# 32-bit programs cannot run on this kind of machine) under Wine with the Chinese
# code page. Without an X display it starts a virtual one and says how to look at it.
set -euo pipefail
cd "$(dirname "$0")"
./build.sh

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
export WINEPREFIX="$PWD/build/run-prefix"
xvfb_pid=
if [ -z "${DISPLAY:-}" ]; then
  n=50
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null' EXIT
  trap 'exit 130' INT TERM
  export DISPLAY=":$n"
  # A prefix of its own: on a display without a window manager Wine must draw the
  # window frames itself, which a prefix used on a desktop should not.
  export WINEPREFIX="$PWD/build/run-prefix-virtual"
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  echo "== no X display: started a virtual one, $DISPLAY"
  echo "   screenshot: DISPLAY=$DISPLAY import -window root lumigrab.png"
  echo "   drive it:   DISPLAY=$DISPLAY xdotool ...   (close the window or press Ctrl+C to stop)"
fi
if [ ! -f "$WINEPREFIX/.lumigrab-ready" ]; then
  /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
  if [ -n "$xvfb_pid" ]; then
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  fi
  touch "$WINEPREFIX/.lumigrab-ready"
fi
echo "== starting build/x86_64/bin/lumigrab.exe on $DISPLAY"
set +e
/usr/lib/wine/wine64 build/x86_64/bin/lumigrab.exe
code=$?
echo "== lumigrab.exe exited with code $code"
