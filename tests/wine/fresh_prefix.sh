#!/usr/bin/env bash
# fresh_prefix.sh NAME EXE [ARGS...]: runs a Wine test program in a Wine prefix of its own,
# new for this run: a copy of a prefix that was only ever set up (made once per build tree),
# with the virtual camera registered. The prefix's wineserver and the prefix go afterwards.
set -u
name=$1 exe=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
tools=$here/../../tools
build=$(cd "$(dirname "$exe")/.." && pwd)
export ORVANE_BUILD=$build
base=$build/fresh-prefixes
mkdir -p "$base"

# The template: set up once, its server ended so its registry is on disk.
export ORVANE_WINEPREFIX=$base/template
. "$tools/wine-env.sh"
orvane_prefix_ready || { echo "fresh_prefix: cannot set up $WINEPREFIX" >&2; exit 125; }
# Links saved into the Start menu must stay inside the prefix: no menu entries in $HOME.
if [ ! -f "$WINEPREFIX/.orvane-setup-ready" ]; then
  printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\DllOverrides]\n"winemenubuilder.exe"=""\n' \
    >"$WINEPREFIX/orvane-setup.reg"
  "$ORVANE_WINE" regedit "$WINEPREFIX/orvane-setup.reg" >/dev/null 2>&1 || exit 125
  wineserver -w
  touch "$WINEPREFIX/.orvane-setup-ready"
fi
wineserver -k >/dev/null 2>&1
wineserver -w >/dev/null 2>&1

prefix=$base/$name
rm -rf "$prefix"
cp -a "$base/template" "$prefix"
export ORVANE_WINEPREFIX=$prefix WINEPREFIX=$prefix

session=${ORVANE_WINE_SESSION:-$build/wine-session}
own_xvfb=""
if [ -z "${DISPLAY:-}" ] && [ -f "$session/display" ]; then
  export DISPLAY=$(cat "$session/display")
elif [ -z "${DISPLAY:-}" ]; then
  # Run by hand: the prefix's services need a display from their start.
  for n in $(seq 191 240); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    own_xvfb=$!
    for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
    export DISPLAY=:$n
    break
  done
fi
# The prefix's services are started with no descriptor of this script open, so that ctest
# does not wait for them; the server stays while the test runs.
(
  for fd in $(ls /proc/$BASHPID/fd); do [ "$fd" -gt 2 ] && eval "exec $fd>&-" 2>/dev/null; done
  exec </dev/null >/dev/null 2>&1
  wineserver -p 30
  timeout 60 "$ORVANE_WINE" cmd /c exit
)
bash "$tools/virtualcam/register.sh" "$build" || { echo "fresh_prefix: camera registration failed" >&2; exit 1; }
"$tools/wine-run.sh" "$exe" "$@"
rc=$?
wineserver -k >/dev/null 2>&1
wineserver -w >/dev/null 2>&1
[ -n "$own_xvfb" ] && kill "$own_xvfb" 2>/dev/null
[ -n "${ORVANE_KEEP_PREFIX:-}" ] || rm -rf "$prefix"
exit $rc
