#!/usr/bin/env bash
# Runs every test: the portable logic natively (plain and with sanitizers), then the Windows
# programs and their tests under Wine. Installs what the machine lacks first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/setup.sh
jobs=$(nproc)

status=0
for preset in native native-asan win32; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs" >/dev/null 2>build/$preset-build.log || {
    cat build/$preset-build.log >&2; echo "build of $preset failed" >&2; exit 1; }
  ctest --preset "$preset" -j "$jobs" || status=1
done
exit $status
