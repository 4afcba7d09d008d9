#!/usr/bin/env bash
# Runs one Windows program under Wine for ctest (CMAKE_CROSSCOMPILING_EMULATOR) or by hand:
# the private prefix of the build tree, no debug output, a display (the test run's shared
# one, or a virtual one of its own), a time limit. Passes the program's exit code through.
set -u
exe=$1; shift
exe_dir=$(cd "$(dirname "$exe")" && pwd)
export ORVANE_BUILD=${ORVANE_BUILD:-$(dirname "$exe_dir")}
. "$(dirname "$0")/wine-env.sh"
orvane_prefix_ready || { echo "wine-run: cannot prepare $WINEPREFIX" >&2; exit 125; }

own_xvfb=""
session=${ORVANE_WINE_SESSION:-$ORVANE_BUILD/wine-session}
if [ -z "${DISPLAY:-}" ] && [ -f "$session/display" ]; then
  export DISPLAY=$(cat "$session/display")
elif [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 141 190); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    own_xvfb=$!
    for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
    export DISPLAY=:$n
    break
  done
fi

timeout -k 5 "${ORVANE_TIMEOUT:-180}" "$ORVANE_WINE" "$exe" "$@"
rc=$?
if [ -n "$own_xvfb" ]; then
  wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1
  kill "$own_xvfb" 2>/dev/null
fi
exit $rc
