#!/usr/bin/env bash
# Sets up the machine, builds the Windows programs and runs Orvane under Wine for a few
# seconds with the virtual microscope camera registered. Without a display it uses a virtual
# one and saves a screenshot of the main window.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target Orvane orvane_virtualcam >/dev/null
# The virtual microscope camera stands in for a real one.
bash tools/virtualcam/register.sh "$root/build/win32"

export ORVANE_BUILD=$root/build/win32
. tools/wine-env.sh
orvane_prefix_ready
seconds=${ORVANE_RUN_SECONDS:-6}
shot=$ORVANE_BUILD/orvane-main-window.png

if [ -n "${DISPLAY:-}" ] && [ -z "${ORVANE_VIRTUAL_DISPLAY:-}" ]; then
  wine "$ORVANE_BUILD/bin/Orvane.exe"
  exit 0
fi

xvfb=""
for n in $(seq 60 89); do
  [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
  Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
  export DISPLAY=:$n
  break
done
cleanup() { wineserver -k >/dev/null 2>&1 || true; [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true; }
trap cleanup EXIT

wine "$ORVANE_BUILD/bin/Orvane.exe" &
sleep "$seconds"
# The main window fills the work area; the root picture also shows any box over it.
import -window root "$shot"
echo "$shot"
