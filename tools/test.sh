#!/usr/bin/env bash
# Runs every test: the portable logic natively (plain and with sanitizers), then both Windows
# builds, with the programs and their tests under Wine for the build this machine can run
# (tools/windows-build.sh). Installs what the machine lacks first.
# ORVANE_WINE_SUITES=all runs the Wine suite of every build the machine can run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/setup.sh
. tools/windows-build.sh
jobs=$(nproc)
mkdir -p build

if [ "${ORVANE_WINE_SUITES:-}" = all ]; then
  wine_suites=$(orvane_runnable_builds)
else
  wine_suites=$(orvane_windows_build)
fi

# build PRESET [TARGET...]: configures and builds (everything, or only the targets named).
build() {
  local preset=$1; shift
  cmake --preset "$preset" >/dev/null
  # The compiler's messages come on the build tool's standard output: keep both in the log.
  cmake --build --preset "$preset" -j "$jobs" ${1:+--target "$@"} >"build/$preset-build.log" 2>&1 || {
    cat "build/$preset-build.log" >&2; echo "build of $preset failed" >&2; exit 1; }
}

status=0
echo "== native"
build native
ctest --preset native -j "$jobs" || status=1

chosen=$(orvane_windows_build)
other=win64
[ "$chosen" = win64 ] && other=win32
build "$chosen"

# The Wine suite mostly waits on windows and on the camera's frame clock, so the sanitizer
# build and its tests and the other Windows build go on beside it, at the lowest priority.
beside() {
  echo "== native-asan"
  build native-asan
  ctest --preset native-asan -j "$jobs" || return 1
  # The three programs and all they are made of; its test programs are built where that build
  # is the one run (or with ORVANE_WINE_SUITES=all).
  if [[ " $wine_suites " == *" $other "* ]]; then
    build "$other"
  else
    build "$other" Orvane OrvaneSetup OrvaneUninstall
  fi
  echo "== $other: built warning-free"
}
(nice -n 19 bash -c "$(declare -f build beside); jobs=$jobs other=$other wine_suites='$wine_suites'; beside") \
  >build/beside.log 2>&1 &
beside_pid=$!

echo "== $chosen: its programs and tests under $([ "$chosen" = win32 ] && echo 32 || echo 64)-bit Wine"
ctest --preset "$chosen" -j "$jobs" || status=1
wait "$beside_pid" || status=1
cat build/beside.log

if [[ " $wine_suites " == *" $other "* ]]; then
  echo "== $other: its programs and tests under Wine"
  ctest --preset "$other" -j "$jobs" || status=1
fi
echo "Wine suites run on this machine: $wine_suites (it can run: $(orvane_runnable_builds))"
exit $status
