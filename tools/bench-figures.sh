#!/usr/bin/env bash
# Measures the speed table of docs/performance.md ("Where users wait"): the program's work and
# its anchor side by side in one benchmark run each, one thread, medians of five repetitions,
# and the ratio. Natively: the preview converter against libyuv's YUY2ToARGB, the raw pipeline
# against OpenCV's Bayer demosaicing alone, and the raw pipeline on two threads. The anchors are
# measured when libyuv-dev and libopencv-imgproc-dev are installed (tools/setup.sh installs
# them). Then, where the 32-bit build runs, the Wine figures of the 32-bit build with the
# virtual camera: the preview converter and the MJPG decoding per frame, the raw conversion
# (orvane-raw.exe), and the photo request to the picture by photo option, in a hosted graph with
# its steps one by one and in the real program (ORVANE_BENCH_WINE=0 leaves them out; the real
# program's figures reset Orvane's settings and pictures in build/win32's prefix, as the Wine
# tests do). Run from anywhere; builds what it measures first (the native benchmarks, the 32-bit
# programs).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

echo "== building the native benchmarks" >&2
cmake --preset native >/dev/null
cmake --build --preset native --target preview_bench raw_bench >/dev/null

# bench BINARY FILTER: the benchmarks' medians as "name milliseconds" lines (real time). The
# repetitions of all benchmarks run in random order, so that a change in the machine's load
# during the run weighs on the program and its anchor alike. (JSON: the CSV reporter refuses
# runs whose counters differ, which random order brings.)
bench() {
  "build/native/bin/$1" --benchmark_filter="$2" --benchmark_repetitions=5 \
    --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true \
    --benchmark_format=json 2>/dev/null |
    python3 -c '
import json, sys
scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}
for b in json.load(sys.stdin)["benchmarks"]:
    if b.get("aggregate_name") == "median":
        print("%s %.3f" % (b["run_name"], b["real_time"] * scale[b["time_unit"]]))'
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

# ---- Wine figures (32-bit build, virtual camera)
. tools/windows-build.sh
if [ "${ORVANE_BENCH_WINE:-1}" = 0 ]; then
  exit 0
fi
if [[ " $(orvane_runnable_builds) " != *" win32 "* ]]; then
  echo
  echo "(Wine figures: the 32-bit build does not run on this machine)"
  exit 0
fi
echo "== building the 32-bit programs (capture_figures, Orvane, the virtual camera, orvane-raw)" >&2
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target capture_figures orvane-raw >/dev/null
session=$root/build/win32/bench-session
tools/wine-session.sh start "$session"
export ORVANE_WINE_SESSION=$session
work=$(mktemp -d)
trap 'tools/wine-session.sh stop "$session"; rm -rf "$work"' EXIT
figures() { { tools/wine-run.sh build/win32/bin/capture_figures.exe "$@" 2>/dev/null || true; } | tr -d '\r'; }

echo "== preview converter, 32-bit build (capture_figures convert 100)" >&2
convert=$(figures convert 100 | awk '/^YUY2 1280 x 960/ { for (i = 1; i < NF; i++) if ($(i + 1) == "ms") { print $i; exit } }')
echo "== MJPG decoding per frame (capture_figures mjpg 50)" >&2
mjpg=$(figures mjpg 50 | grep -a '^MJPG 1280 x 960' | tail -n 1)
mjpg_before=$(awk '{ for (i = 1; i < NF; i++) if ($i == "before)") { print $(i + 1); exit } }' <<<"$mjpg")
mjpg_now=$(awk '{ for (i = 1; i < NF; i++) if ($i == "thread") { print $(i + 1); exit } }' <<<"$mjpg")

echo "== raw conversion, 32-bit build (orvane-raw.exe, one thread, five runs a size)" >&2
raw_wine() {  # W H: the median of five conversion times
  head -c $(($1 * $2)) /dev/urandom >"$work/in.raw"
  for _ in 1 2 3 4 5; do
    { ORVANE_RAW_THREADS=1 tools/wine-run.sh build/win32/bin/orvane-raw.exe "$1" "$2" \
        "Z:$work/in.raw" "Z:$work/out.bmp" 2>/dev/null || true; } | tr -d '\r' |
      awk '/^converted/ { print $(NF - 1) }'
  done | sort -n | awk '{ v[NR] = $1 } END { print (NR ? v[int((NR + 1) / 2)] : "-") }'
}
raw_small=$(raw_wine 2560 1920)
raw_large=$(raw_wine 3488 2616)

echo "== photo request to picture (capture_figures photo 5; photo-app 3: Orvane.exe)" >&2
photo=$(figures photo 5)
app=$(figures photo-app 3)
# The programs' whole output, for a closer look.
mkdir -p build/win32/bench-figures
printf '%s\n' "$photo" >build/win32/bench-figures/photo.txt
printf '%s\n' "$app" >build/win32/bench-figures/photo-app.txt

# median VALUES...: the median of the numbers given.
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR ? v[int((NR + 1) / 2)] : "-") }'; }
range() { printf '%s\n' "$@" | sort -n | awk 'NR == 1 { lo = $1 } { hi = $1 } END { print (NR ? lo "–" hi : "-") }'; }

echo
echo "Wine 8, 32-bit build, virtual camera; load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| Work (Wine, 32-bit build) | Orvane | Beside it, same run | Ratio |"
echo "|---|---|---|---|"
echo "| YUY2 -> 32-bit RGB, one 1280 x 960 frame (preview converter) | $convert ms | natively $(ms "$preview" "BM_Yuy2ToBgrx/1280/960") ms | $(ratio "$convert" "$(ms "$preview" "BM_Yuy2ToBgrx/1280/960")") |"
echo "| MJPG 1280 x 960 decoding per frame, one decoder per streaming thread | ${mjpg_now:--} ms | everything made per frame (before) ${mjpg_before:--} ms | $(ratio "${mjpg_before:--}" "${mjpg_now:--}") faster |"
echo "| ConvertRaw 2560 x 1920, one thread (orvane-raw.exe) | $raw_small ms | natively $(ms "$raw" "BM_ConvertRaw/2560/1920/1/real_time") ms | $(ratio "$raw_small" "$(ms "$raw" "BM_ConvertRaw/2560/1920/1/real_time")") |"
echo "| ConvertRaw 3488 x 2616, one thread (orvane-raw.exe) | $raw_large ms | natively $(ms "$raw" "BM_ConvertRaw/3488/2616/1/real_time") ms | $(ratio "$raw_large" "$(ms "$raw" "BM_ConvertRaw/3488/2616/1/real_time")") |"
# One row per photo option: the request to the announced picture in a hosted graph (median and
# range of five), the Photo command to the stored picture in Orvane.exe (median of three), and
# beside it the raw conversion plus the encoder and file alone (the steps, same run).
while IFS= read -r line; do
  key=${line%%,*}  # "6355 option 4"
  what=${line#*, }
  what=${what%%, size code*}
  times=$(grep -o '[0-9]* ms' <<<"${line#*:}" | awk '{ print $1 }')
  step=$(grep -a "^$key," <<<"$photo" | grep -a '||' | head -n 1 || true)
  stored=$(grep -a "^$key," <<<"$app" | head -n 1 | sed 's/^[^:]*://' |
           awk '{ for (i = 1; i + 2 <= NF; i += 3) print $i }' || true)
  if [ -n "$step" ]; then
    # camera | conversion || HALFTONE | GDI+ || scaling | encoder and file | scaled save || copy
    conversion=$(awk -F'|' '{ gsub(/ /, "", $2); print $2 }' <<<"${step#*:}")
    encoder=$(awk -F'|' '{ gsub(/ /, "", $8); print $8 }' <<<"${step#*:}")
    alone=$(awk -v a="$conversion" -v b="$encoder" 'BEGIN { print a + b }')
    echo "| F4 to picture, $key: $what | $(median $times) ms ($(range $times)); in Orvane.exe $(median $stored) ms | conversion $conversion + encoder and file $encoder = $alone ms | $(ratio "$(median $times)" "$alone") |"
  else
    echo "| F4 to picture, $key: $what | $(median $times) ms ($(range $times)); in Orvane.exe $(median $stored) ms | - | - |"
  fi
done < <(grep -a '^[0-9a-f]* option [0-9], .*size code' <<<"$photo")
echo
echo "Steps of a raw photo (capture_figures photo, medians of five, ms):"
grep -a '||' <<<"$photo" | sed 's/^/    /' || true
echo "Photo command to the stored picture / to the main window answering again, in Orvane.exe (ms):"
grep -a 'option' <<<"$app" | sed 's/^/    /' || true
echo "(whole outputs: build/win32/bench-figures/)"
