#!/usr/bin/env bash
# Measures the speed table of docs/performance.md ("Where users wait"): the program's work and
# its anchor side by side in one benchmark run each, one thread, medians of five repetitions,
# and the ratio. Natively: the preview converter against libyuv's YUY2ToARGB, the raw pipeline
# against OpenCV's Bayer demosaicing alone, and the raw pipeline on two threads. The anchors are
# measured when libyuv-dev and libopencv-imgproc-dev are installed (tools/setup.sh installs
# them). Run from anywhere; builds the two benchmarks of the native preset first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

echo "== building the native benchmarks" >&2
cmake --preset native >/dev/null
cmake --build --preset native --target preview_bench raw_bench >/dev/null

# bench BINARY FILTER: the benchmarks' medians as "name milliseconds" lines (real time). The
# repetitions of all benchmarks run in random order, so that a change in the machine's load
# during the run weighs on the program and its anchor alike.
bench() {
  "build/native/bin/$1" --benchmark_filter="$2" --benchmark_repetitions=5 \
    --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true \
    --benchmark_format=csv 2>/dev/null |
    awk -F, '/_median"/ { name = $1; gsub(/"/, "", name); sub(/_median$/, "", name);
                          t = $3; if ($5 == "us") t /= 1000; if ($5 == "ns") t /= 1e6;
                          printf "%s %.3f\n", name, t }'
}

echo "== preview conversion (preview_bench)" >&2
preview=$(bench preview_bench 'BM_Yuy2ToBgrx/|BM_LibyuvYuy2ToArgb/')
echo "== raw pipeline (raw_bench)" >&2
raw=$(bench raw_bench 'BM_ConvertRaw/|BM_OpenCvBayerBG2BGR_EA/')

# ms LINES NAME: the median of one benchmark, or "-" when it did not run.
ms() { awk -v n="$2" '$1 == n { print $2; found = 1 } END { if (!found) print "-" }' <<<"$1"; }
# ratio A B: A / B to one decimal, or "-".
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "-" || b == "-" || b == 0) print "-";
                                            else printf "%.2f", a / b }'; }

model=$(lscpu | awk -F: '/^Model name/ { sub(/^ +/, "", $2); print $2; exit }')
echo
echo "Machine: $model, $(nproc) cores; $(date +%Y-%m-%d); load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| Work | Orvane | Anchor, same run | Ratio |"
echo "|---|---|---|---|"
for size in 1280/960 1600/1200; do
  own=$(ms "$preview" "BM_Yuy2ToBgrx/$size")
  anchor=$(ms "$preview" "BM_LibyuvYuy2ToArgb/$size")
  echo "| YUY2 -> 32-bit RGB, ${size/\// x } (preview converter) | $own ms | libyuv YUY2ToARGB $anchor ms | $(ratio "$own" "$anchor") |"
done
for size in 2560/1920 3488/2616; do
  own=$(ms "$raw" "BM_ConvertRaw/$size/1/real_time")
  anchor=$(ms "$raw" "BM_OpenCvBayerBG2BGR_EA/$size/1/real_time")
  echo "| ConvertRaw ${size/\// x }, whole pipeline | $own ms | OpenCV BayerBG2BGR_EA alone $anchor ms | $(ratio "$own" "$anchor") |"
done
one=$(ms "$raw" "BM_ConvertRaw/3488/2616/1/real_time")
two=$(ms "$raw" "BM_ConvertRaw/3488/2616/2/real_time")
echo "| ConvertRaw 3488 x 2616, two threads | $two ms | the same on one thread $one ms | speed-up $(ratio "$one" "$two") |"

# ---- Wine figures (32-bit build, virtual camera): not measured by this script yet.
# The rows below come from the Windows build under Wine, e.g.
#   tools/wine-run.sh build/win32/bin/capture_figures.exe convert 100   (preview converter)
#   tools/wine-run.sh build/win32/bin/capture_figures.exe mjpg          (MJPG decoding per frame)
#   tools/wine-run.sh build/win32/bin/capture_figures.exe photo 3       (F4 to picture)
echo "| (Wine figures: see docs/performance.md) | | | |"
