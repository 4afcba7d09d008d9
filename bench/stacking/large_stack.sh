#!/bin/sh
# Fifty frames of 2560 x 1920 through the command-line stacker: its time and peak memory
# (maximum resident set size from /usr/bin/time -v), the PSNR of the result and of the best
# frame against the truth. With ORVANE_BENCH_ENFUSE=1, enfuse on TIFF copies of the same
# frames (no alignment) the same way.
#   bench/stacking/large_stack.sh build/native [FRAMES [WIDTH HEIGHT]]
set -eu
bin="$1/bin"
frames="${2:-50}"
width="${3:-2560}"
height="${4:-1920}"
dir=$(mktemp -d "${TMPDIR:-/tmp}/orvane-large-stack.XXXXXX")
trap 'rm -rf "$dir"' EXIT

start=$(date +%s)
"$bin/focus_series_tool" write "$dir" "$width" "$height" "$frames" 8
echo "rendered $frames frames of ${width}x${height} in $(( $(date +%s) - start )) s"

measure() {  # name, then the command
  name="$1"; shift
  /usr/bin/time -v "$@" > "$dir/$name.out" 2> "$dir/$name.time" || { cat "$dir/$name.time"; exit 1; }
  elapsed=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$dir/$name.time")
  rss=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$dir/$name.time")
  echo "$name: wall $elapsed, max RSS $(( rss / 1024 )) MiB"
}

measure orvane-stack "$bin/orvane-stack" "$dir/out.bmp" "$dir"/frame*.bmp
cat "$dir/orvane-stack.out"
echo "orvane-stack PSNR $("$bin/focus_series_tool" psnr "$dir/truth.bmp" "$dir/out.bmp") dB"
best=0
for f in "$dir"/frame*.bmp; do
  p=$("$bin/focus_series_tool" psnr "$dir/truth.bmp" "$f")
  best=$(awk -v a="$best" -v b="$p" 'BEGIN { print (b > a ? b : a) }')
done
echo "best frame PSNR $best dB"

if [ "${ORVANE_BENCH_ENFUSE:-0}" = 1 ]; then
  for f in "$dir"/frame*.bmp; do convert "$f" -compress none "${f%.bmp}.tif"; rm "$f"; done
  measure enfuse enfuse --exposure-weight=0 --saturation-weight=0 --contrast-weight=1 \
    --hard-mask --compression=none -o "$dir/enfuse.tif" "$dir"/frame*.tif
  convert "$dir/enfuse.tif" -alpha off "BMP3:$dir/enfuse.bmp"
  echo "enfuse PSNR $("$bin/focus_series_tool" psnr "$dir/truth.bmp" "$dir/enfuse.bmp") dB"
fi
