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
. tools/progress.sh
jobs=$(nproc)
mkdir -p build

if [ "${ORVANE_WINE_SUITES:-}" = all ]; then
  wine_suites=$(orvane_runnable_builds)
else
  wine_suites=$(orvane_windows_build)
fi

# build PRESET [TARGET...]: configures and builds (everything, or only the targets named),
# named and timed, with its progress every few seconds.
build() {
  local preset=$1; shift
  orvane_begin "building $preset${1:+ ($*)}"
  cmake --preset "$preset" >/dev/null
  # The compiler's messages come on the build tool's standard output: keep both in the log.
  orvane_build "build/$preset-build.log" cmake --build --preset "$preset" -j "$jobs" ${1:+--target "$@"} || {
    cat "build/$preset-build.log" >&2; echo "build of $preset failed" >&2; exit 1; }
  orvane_end
}

# tests PRESET TEXT: runs a preset's tests (ctest prints each as it ends), named and timed.
tests() {
  local preset=$1; shift
  orvane_begin "$*"
  local rc=0
  ctest --preset "$preset" -j "$jobs" || rc=1
  orvane_end
  return $rc
}

status=0
echo "== native"
build native
tests native "native tests" || status=1

chosen=$(orvane_windows_build)
other=win64
[ "$chosen" = win64 ] && other=win32
build "$chosen"

# The Wine suite mostly waits on windows and on the camera's frame clock, so the sanitizer
# build and its tests and the other Windows build go on beside it, at the lowest priority.
beside() {
  echo "== native-asan"
  build native-asan
  tests native-asan "native tests with sanitizers" || return 1
  # The three programs and all they are made of; its test programs are built where that build
  # is the one run (or with ORVANE_WINE_SUITES=all).
  if [[ " $wine_suites " == *" $other "* ]]; then
    build "$other"
  else
    build "$other" Orvane OrvaneSetup OrvaneUninstall
  fi
  echo "== $other: built warning-free"
}
echo "== beside the Wine suite, at low priority: native-asan and $other (their output follows the suite's; log: build/beside.log)"
beside_started=$SECONDS
(nice -n 19 bash -c "$(declare -f build tests beside orvane_begin orvane_end orvane_duration orvane_build orvane_build_progress); jobs=$jobs other=$other wine_suites='$wine_suites'; beside") \
  >build/beside.log 2>&1 &
beside_pid=$!

tests "$chosen" "$chosen: its programs and tests under $([ "$chosen" = win32 ] && echo 32 || echo 64)-bit Wine" || status=1
wait "$beside_pid" || status=1
cat build/beside.log
echo "   (beside the Wine suite: $(orvane_duration $((SECONDS - beside_started))) in all)"

if [[ " $wine_suites " == *" $other "* ]]; then
  tests "$other" "$other: its programs and tests under Wine" || status=1
fi
echo "Wine suites run on this machine: $wine_suites (it can run: $(orvane_runnable_builds))"
exit $status
