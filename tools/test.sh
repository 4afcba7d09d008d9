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

build() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1" -j "$jobs" >/dev/null 2>"build/$1-build.log" || {
    cat "build/$1-build.log" >&2; echo "build of $1 failed" >&2; exit 1; }
}

status=0
for preset in native native-asan; do
  echo "== $preset"
  build "$preset"
  ctest --preset "$preset" -j "$jobs" || status=1
done
for preset in win32 win64; do
  build "$preset"
  if [[ " $wine_suites " == *" $preset "* ]]; then
    echo "== $preset: its programs and tests under $([ $preset = win32 ] && echo 32 || echo 64)-bit Wine"
    ctest --preset "$preset" -j "$jobs" || status=1
  else
    echo "== $preset: built warning-free; its Wine tests run where $preset is the build chosen"
  fi
done
echo "Wine suites run on this machine: $wine_suites (it can run: $(orvane_runnable_builds))"
exit $status
