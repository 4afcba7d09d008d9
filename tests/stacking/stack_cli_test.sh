#!/bin/sh
# Runs orvane-stack on a small rendered focus series: a good stack, and every kind of bad
# input, each of which must give one error line, exit code 1 and no output file.
set -u
tool="$1"
series="$2"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$series" write "$dir" 160 120 4 3 || fail "cannot write the series"
mkdir "$dir/wide" && "$series" write "$dir/wide" 161 120 1 || fail "cannot write the wide frame"
f="$dir/frame00.bmp $dir/frame01.bmp $dir/frame02.bmp $dir/frame03.bmp"

# A good stack: the picture, its size, and sharper than every frame.
"$tool" "$dir/out.bmp" $f > "$dir/log" || fail "good stack: $(cat "$dir/log")"
grep -q "stacked 4 of 4 pictures of 160x120 in" "$dir/log" || fail "no summary: $(cat "$dir/log")"
[ "$(wc -c < "$dir/out.bmp")" -eq 57654 ] || fail "bmp size"   # 54 + 120 rows of 480 bytes
[ ! -e "$dir/out.bmp.part" ] || fail "temporary file left"
fused=$("$series" psnr "$dir/truth.bmp" "$dir/out.bmp")
for i in 0 1 2 3; do
  one=$("$series" psnr "$dir/truth.bmp" "$dir/frame0$i.bmp")
  awk -v a="$fused" -v b="$one" 'BEGIN { exit !(a > b + 3) }' || fail "fused $fused dB, frame $i $one dB"
done

# Damaged and foreign inputs.
head -c 2000 "$dir/frame01.bmp" > "$dir/short.bmp"
head -c 57654 /dev/urandom > "$dir/random.bmp"
printf 'P6\n1 1\n255\nabc' > "$dir/picture.ppm"
: > "$dir/empty.bmp"
cp "$dir/frame01.bmp" "$dir/eight.bmp"
printf '\010\000' | dd of="$dir/eight.bmp" bs=1 seek=28 conv=notrunc 2>/dev/null   # 8 bits
# A picture of noise with a good header matches nothing: with it only one usable picture.
{ head -c 54 "$dir/frame01.bmp"; head -c 57600 /dev/urandom; } > "$dir/noise.bmp"

expect_error() {
  want="$1"; shift
  rm -f "$dir/x.bmp"
  if "$tool" "$@" > /dev/null 2> "$dir/err"; then fail "accepted: $*"; fi
  [ "$(grep -c "^orvane-stack: " "$dir/err")" -ge 1 ] || fail "no error line: $*"
  tail -n 1 "$dir/err" | grep -q -- "$want" || fail "expected '$want' for $*, got: $(cat "$dir/err")"
  [ ! -e "$dir/x.bmp" ] && [ ! -e "$dir/x.bmp.part" ] || fail "output written: $*"
}
expect_error "usage"
expect_error "usage" "$dir/x.bmp" "$dir/frame00.bmp"
expect_error "must be a .bmp" "$dir/x.jpg" $f
expect_error "missing.bmp: cannot open" "$dir/x.bmp" "$dir/frame00.bmp" "$dir/missing.bmp"
expect_error "short.bmp: BMP shorter than its rows" "$dir/x.bmp" "$dir/frame00.bmp" "$dir/short.bmp"
expect_error "random.bmp: not a picture" "$dir/x.bmp" "$dir/random.bmp" "$dir/frame00.bmp"
expect_error "picture.ppm: not a picture" "$dir/x.bmp" "$dir/frame00.bmp" "$dir/picture.ppm"
expect_error "empty.bmp: empty file" "$dir/x.bmp" "$dir/frame00.bmp" "$dir/empty.bmp"
expect_error "eight.bmp: BMP of 8 bits" "$dir/x.bmp" "$dir/frame00.bmp" "$dir/eight.bmp"
expect_error "frame00.bmp: 161x120, the first picture is 160x120" "$dir/x.bmp" "$dir/frame00.bmp" "$dir/wide/frame00.bmp"
expect_error "at least two matching pictures" "$dir/x.bmp" "$dir/frame00.bmp" "$dir/noise.bmp"
grep -q "noise.bmp: does not match the first picture, left out" "$dir/err" || fail "no note on the left-out picture"
expect_error "$dir/no/such/x.bmp: cannot create" "$dir/no/such/x.bmp" $f

# A failed run leaves an existing output as it was.
printf 'keep' > "$dir/x.bmp"
if "$tool" "$dir/x.bmp" "$dir/frame00.bmp" "$dir/short.bmp" 2> /dev/null; then fail "accepted a short input"; fi
[ "$(cat "$dir/x.bmp")" = "keep" ] || fail "existing output changed"
echo "stack_cli: all passed"
