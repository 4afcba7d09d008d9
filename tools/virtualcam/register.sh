#!/usr/bin/env bash
# Registers (or with -u removes) the virtual microscope camera in a build tree's Wine prefix.
#   tools/virtualcam/register.sh BUILD_DIR [-u]
# The cameras registered are those of HKCU\Software\Orvane\VirtualCamera\Devices in that
# prefix (one 6320 camera when the value is absent); run it again after changing Devices.
set -eu
build=$(cd "${1:?usage: register.sh BUILD_DIR [-u]}" && pwd)
export ORVANE_BUILD=$build
. "$(dirname "$0")/../wine-env.sh"
# Inside a test run, the run's display and wineserver.
session=${ORVANE_WINE_SESSION:-$build/wine-session}
if [ -z "${DISPLAY:-}" ] && [ -f "$session/display" ]; then
  export DISPLAY=$(cat "$session/display")
fi
orvane_prefix_ready || exit 1
dll=$build/bin/OrvaneVirtualCam.dll
[ -f "$dll" ] || { echo "register.sh: $dll not built" >&2; exit 1; }
flag=""
[ "${2:-}" = "-u" ] && flag="/u"
timeout 60 "$ORVANE_WINE" regsvr32 /s $flag "$("$ORVANE_WINE" winepath -w "$dll")"
# Without a display the Wine server just started has no window system: let it end, so that a
# program started next (with a display) does not inherit a desktop that cannot show windows.
if [ -z "${DISPLAY:-}" ]; then
  timeout 30 wineserver -w
fi
