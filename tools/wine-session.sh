#!/usr/bin/env bash
# start DIR: a virtual display and a persistent wineserver shared by the Wine tests of one run.
# stop DIR:  ends both. Used as ctest fixtures, so nothing outlives the test run.
set -u
cmd=$1 dir=$2
export ORVANE_BUILD=$(dirname "$dir")
. "$(dirname "$0")/wine-env.sh"
close_inherited_fds() {
  # ctest reads a test's output until every holder of the pipe is gone; the display and the
  # wine services outlive this script, so they must not inherit anything.
  local fd
  for fd in $(ls /proc/$$/fd); do
    [ "$fd" -gt 2 ] && eval "exec $fd>&-" 2>/dev/null
  done
  exec </dev/null >/dev/null 2>&1
}

case $cmd in
start)
  mkdir -p "$dir"
  close_inherited_fds
  orvane_prefix_ready || exit 1
  if [ -z "${DISPLAY:-}" ]; then
    # The server picks a free display itself and says which: two lanes starting at the same
    # moment must not both take the first free number (one of them would then share the
    # other's display, its input and its end).
    rm -f "$dir/display.number"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dir/display.number" \
      >/dev/null 2>&1 &
    echo $! >"$dir/xvfb.pid"
    for _ in $(seq 100); do [ -s "$dir/display.number" ] && break; sleep 0.1; done
    n=$(tr -dc '0-9' <"$dir/display.number")
    [ -n "$n" ] || exit 1
    echo ":$n" >"$dir/display"
  else
    echo "$DISPLAY" >"$dir/display"
  fi
  # A persistent server keeps start-up cheap across the many small test programs.
  wineserver -p 60
  # Start the prefix's services now, so that no test program's output pipe is inherited by them.
  DISPLAY=$(cat "$dir/display") timeout 60 "$ORVANE_WINE" cmd /c exit
  ;;
stop)
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  if [ -f "$dir/xvfb.pid" ]; then kill "$(cat "$dir/xvfb.pid")" 2>/dev/null; rm -f "$dir/xvfb.pid"; fi
  rm -f "$dir/display"
  ;;
esac
exit 0
