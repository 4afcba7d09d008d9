#!/usr/bin/env bash
# Saved TIFFs opened in ImageJ, the real client: the pixel size and unit it reports must be the
# editor's conversion of the same picture, its pixels those written.
#
# ImageJ runs its macro in batch mode under a virtual display (its menus need one even then):
#   xvfb-run -a java -jar /usr/share/java/ij.jar -batch macro.ijm 'file1,file2,...'
# (Debian's imagej package; its "imagej -b" wrapper works too but exits with 1.)
set -u
sample="$1"
jar="${ORVANE_IJ_JAR:-/usr/share/java/ij.jar}"
skip() { echo "SKIP: $* (install Debian's imagej, see tools/setup.sh)"; exit 77; }
[ -f "$jar" ] || skip "no ImageJ at $jar"
command -v java > /dev/null || skip "no java"
command -v xvfb-run > /dev/null || skip "no xvfb-run"

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# name device stillW stillH width height magnification adjusted unit
cases=(
  "live 0C4562C0 1280 960 640 480 48.5 0 1"      # the virtual stage: 0.38093 * 2 / 48.5 mm
  "calibrated 0C456355 2560 1920 2560 1920 30 71 0"  # the adjusted magnification counts
  "plain 0 0 0 320 240 1 0 3"                     # 0.355 mm a pixel, the editor in inches
  "none 0C456563 1280 1024 1280 1024 0 0 0"       # no magnification: no scale
)
files=()
for c in "${cases[@]}"; do
  set -- $c
  "$sample" tiff "$dir/$1.tif" "$2" "$3" "$4" "$5" "$6" "$7" "$8" "$9" > "$dir/$1.expected" ||
    fail "writing $1.tif"
  files+=("$dir/$1.tif")
done

cat > "$dir/report.ijm" << 'MACRO'
// d2s writes at most 9 decimals: write v scaled to about 1000 with them, and the power of ten.
function exact(v) {
  if (v <= 0) return d2s(v, 9);
  e = 3 - floor(log(v) / log(10));
  return d2s(v * pow(10, e), 9) + "e" + (-e);
}
files = split(getArgument(), ",");
for (i = 0; i < files.length; i++) {
  open(files[i]);
  getPixelSize(unit, pw, ph);
  w = getWidth();
  h = getHeight();
  print("file " + getTitle() + " " + unit + " " + exact(pw) + " " + exact(ph) + " " + w + " " + h);
  xs = newArray(0, floor(w / 2), w - 1);
  ys = newArray(0, floor(h / 3), h - 1);
  for (b = 0; b < 3; b++) for (a = 0; a < 3; a++) {
    v = getPixel(xs[a], ys[b]);
    print("pixel " + xs[a] + " " + ys[b] + " " + ((v >> 16) & 255) + " " + ((v >> 8) & 255) + " " + (v & 255));
  }
  close();
}
MACRO

list=$(IFS=,; echo "${files[*]}")
start=$(date +%s)
HOME="$dir" timeout 50 xvfb-run -a java -Djava.awt.headless=false -Dfile.encoding=UTF-8 \
  -jar "$jar" -batch "$dir/report.ijm" "$list" > "$dir/imagej.out" 2> "$dir/imagej.err"
status=$?
if [ $status -ne 0 ] || ! grep -q '^file ' "$dir/imagej.out"; then
  cat "$dir/imagej.err" "$dir/imagej.out"
  fail "ImageJ did not report (exit $status)"
fi
echo "ImageJ took $(( $(date +%s) - start )) s"

python3 - "$dir" << 'CHECK' || exit 1
import math, sys
folder = sys.argv[1]
report, current = {}, None
for line in open(folder + "/imagej.out"):
    word = line.split()
    if not word:
        continue
    if word[0] == "file":
        current = word[1].rsplit(".", 1)[0]
        report[current] = {"unit": word[2], "pw": float(word[3]), "ph": float(word[4]),
                           "size": (int(word[5]), int(word[6])), "pixels": set()}
    elif word[0] == "pixel" and current:
        report[current]["pixels"].add(tuple(int(v) for v in word[1:]))
sizes = {"live": (640, 480), "calibrated": (2560, 1920), "plain": (320, 240), "none": (1280, 1024)}
failed = False
for name, size in sizes.items():
    expected = [l.split() for l in open("%s/%s.expected" % (folder, name))]
    mm = float(next(l[1] for l in expected if l[0] == "mm_per_pixel"))
    pixels = {tuple(int(v) for v in l[1:]) for l in expected if l[0] == "pixel"}
    got = report.get(name)
    if got is None:
        print("FAIL: ImageJ did not open %s.tif" % name); failed = True; continue
    if got["size"] != size or got["pixels"] != pixels:
        print("FAIL: %s: size %s or pixels %s differ" % (name, got["size"], sorted(got["pixels"] ^ pixels)))
        failed = True
    if math.isfinite(mm):
        # The files name centimetres, the unit of their resolution fields.
        if got["unit"] != "cm":
            print("FAIL: %s: unit %r" % (name, got["unit"])); failed = True; continue
        for axis in ("pw", "ph"):
            if abs(got[axis] * 10 - mm) > mm * 1e-11:
                print("FAIL: %s: %s %.17g cm is not %.17g mm" % (name, axis, got[axis], mm))
                failed = True
        print("%s: ImageJ %.15g cm a pixel, the editor %.15g mm" % (name, got["pw"], mm))
    elif got["unit"] != "pixels" or got["pw"] != 1.0:
        print("FAIL: %s: uncalibrated, yet ImageJ reports %s %s" % (name, got["pw"], got["unit"]))
        failed = True
    else:
        print("%s: uncalibrated in ImageJ too" % name)
sys.exit(1 if failed else 0)
CHECK
echo "results_imagej: all passed"
