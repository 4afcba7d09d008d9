#!/usr/bin/env bash
# Sets up the machine, builds the Windows programs and runs Orvane under Wine with the virtual
# microscope camera registered. The build is the one this machine can run (32-bit where it can,
# else 64-bit; tools/windows-build.sh). Without a display it uses a virtual one, lets the
# program run a few seconds and saves a screenshot of the screen.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. tools/windows-build.sh
. tools/progress.sh
mkdir -p build
logs=$root/build/run-logs
mkdir -p "$logs"

# step NAME LOG COMMAND...: runs one step with its output in LOG, named when it starts and
# timed when it ends; on failure names it and shows its log.
step() {
  local name=$1 log=$2
  shift 2
  orvane_begin "$name"
  if ! "$@" >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "run.sh: $name failed (full log: $log)" >&2
    exit 1
  fi
  orvane_end
}

# The set-up names what it installs itself (and prints nothing when nothing is missing).
if ! bash tools/setup.sh 2>&1 | tee "$logs/setup.log"; then
  echo "run.sh: setting up the machine (tools/setup.sh) failed (full log: $logs/setup.log)" >&2
  exit 1
fi
preset=$(orvane_windows_build) || exit 1
echo "run.sh: running the $preset build"
step "configuring $preset" "$logs/configure-$preset.log" cmake --preset "$preset"
orvane_begin "building $preset (Orvane, the virtual camera)"
if ! orvane_build "$logs/build-$preset.log" \
    cmake --build --preset "$preset" --target Orvane orvane_virtualcam; then
  tail -n 40 "$logs/build-$preset.log" >&2
  echo "run.sh: building $preset failed (full log: $logs/build-$preset.log)" >&2
  exit 1
fi
orvane_end
export ORVANE_BUILD=$root/build/$preset
. tools/wine-env.sh
step "preparing the Wine prefix $WINEPREFIX" "$logs/prefix-$preset.log" orvane_prefix_ready
# The virtual microscope camera stands in for a real one.
step "registering the virtual camera" "$logs/register-$preset.log" \
  bash tools/virtualcam/register.sh "$ORVANE_BUILD"

seconds=${ORVANE_RUN_SECONDS:-6}
shot=$ORVANE_BUILD/orvane-main-window.png

if [ -n "${DISPLAY:-}" ] && [ -z "${ORVANE_VIRTUAL_DISPLAY:-}" ]; then
  exec "$ORVANE_WINE" "$ORVANE_BUILD/bin/Orvane.exe"
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
[ -n "$xvfb" ] || { echo "run.sh: starting a virtual display failed (no free display :60..:89)" >&2; exit 1; }
cleanup() { wineserver -k >/dev/null 2>&1 || true; kill "$xvfb" 2>/dev/null || true; }
trap cleanup EXIT

orvane_begin "running Orvane.exe for $seconds s on a virtual display"
"$ORVANE_WINE" "$ORVANE_BUILD/bin/Orvane.exe" >"$logs/orvane-$preset.log" 2>&1 &
orvane=$!
sleep "$seconds"
if ! kill -0 "$orvane" 2>/dev/null; then
  wait "$orvane"
  echo "run.sh: Orvane.exe ended early with status $? (log: $logs/orvane-$preset.log)" >&2
  exit 1
fi
# The main window fills the work area; the root picture also shows any box over it.
step "taking the screenshot" "$logs/screenshot.log" import -window root "$shot"
echo "$shot"
