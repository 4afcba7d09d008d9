#!/usr/bin/env bash
# What the Wine tests left for the host's real clients: every TIFF opened in ImageJ must
# report the pixel size written beside it (centimetres, as the file's resolution unit), and the
# editor's exported CSV read by Python's csv module must hold the rows the clipboard held.
set -u
dir="$1"
jar="${ORVANE_IJ_JAR:-/usr/share/java/ij.jar}"
fail() { echo "FAIL: $*"; exit 1; }
[ -d "$dir" ] || fail "no artifacts in $dir (the Wine tests did not run)"
[ -f "$jar" ] || fail "no ImageJ at $jar (tools/setup.sh installs Debian's imagej)"
command -v xvfb-run > /dev/null || fail "no xvfb-run"
shopt -s nullglob
expected=("$dir"/*.expected)
[ ${#expected[@]} -ge 2 ] || fail "expected the main window's and the editor's TIFF, found ${#expected[@]}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
files=()
for e in "${expected[@]}"; do
  f="$dir/$(cut -d' ' -f1 "$e")"
  [ -f "$f" ] || fail "$(basename "$e") names $f, which is not there"
  files+=("$f")
done
cat > "$work/report.ijm" << 'MACRO'
files = split(getArgument(), ",");
for (i = 0; i < files.length; i++) {
  open(files[i]);
  getPixelSize(unit, pw, ph);
  e = 3 - floor(log(pw) / log(10));
  print("file " + getTitle() + " " + unit + " " + d2s(pw * pow(10, e), 9) + "e" + (-e));
  close();
}
MACRO
list=$(IFS=,; echo "${files[*]}")
HOME="$work" timeout 60 xvfb-run -a java -Djava.awt.headless=false -jar "$jar" -batch \
  "$work/report.ijm" "$list" > "$work/imagej.out" 2> "$work/imagej.err" ||
  { cat "$work/imagej.err"; fail "ImageJ did not run"; }

python3 - "$dir" "$work/imagej.out" << 'CHECK'
import csv, glob, io, os, sys
folder, report = sys.argv[1], sys.argv[2]
seen = {}
for line in open(report):
    w = line.split()
    if w and w[0] == "file":
        seen[w[1]] = (w[2], float(w[3]))
ok = True
for e in glob.glob(os.path.join(folder, "*.expected")):
    name, size = open(e).read().split()
    got = seen.get(name)
    if not got or got[0] != "cm" or abs(got[1] - float(size)) > 1e-9 * float(size):
        print("FAIL: %s: ImageJ reports %s, expected %s cm a pixel" % (name, got, size)); ok = False
    else:
        print("%s: ImageJ %s %s a pixel, as the editor's conversion" % (name, got[1], got[0]))
tsv = os.path.join(folder, "editor-table.tsv")
csvfile = os.path.join(folder, "editor-table.csv")
if not (os.path.exists(tsv) and os.path.exists(csvfile)):
    print("FAIL: no exported table"); sys.exit(1)
clip = [r.split("\t") for r in open(tsv, encoding="utf-8", newline="").read().split("\r\n") if r]
with open(csvfile, encoding="utf-8-sig", newline="") as f:
    rows = list(csv.reader(f))
# The same rows and, column by column under the clipboard's headers, the same values.
if rows[0][:2] != clip[0][:2] or len(rows) != len(clip):
    print("FAIL: CSV rows %s differ from the clipboard's %s" % (rows, clip)); ok = False
for c, r in zip(clip[1:], rows[1:]):
    for i, name in enumerate(clip[0]):
        j = rows[0].index(name) if name in rows[0] else -1
        if j < 0 or r[j] != c[i]:
            print("FAIL: column %s: CSV %s, clipboard %s" % (name, r[j] if j >= 0 else None, c[i])); ok = False
print("CSV: %d rows as on the clipboard" % (len(rows) - 1))
sys.exit(0 if ok else 1)
CHECK
