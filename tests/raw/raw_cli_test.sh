#!/bin/sh
# Runs orvane-raw on small files: good conversions and every kind of bad input.
set -u
tool="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

head -c 24 /dev/urandom > "$dir/in.raw"          # 6 x 4
printf '0x1191 0x80\n0x1192 0x90\nbrightness 10\n' > "$dir/regs.txt"
printf '0x1191 0x80\nnot a line\n' > "$dir/bad.txt"

"$tool" 6 4 "$dir/in.raw" "$dir/out.bmp" > "$dir/log" || fail "plain conversion"
grep -q "converted 6x4 in" "$dir/log" || fail "no time printed"
[ "$(wc -c < "$dir/out.bmp")" -eq 134 ] || fail "bmp size"   # 54 + 4 rows of 20 bytes
"$tool" 6 4 "$dir/in.raw" "$dir/out2.bmp" "$dir/regs.txt" > /dev/null || fail "with registers"

expect_error() {
    if "$tool" "$@" > /dev/null 2> "$dir/err"; then fail "accepted: $*"; fi
    [ "$(wc -l < "$dir/err")" -eq 1 ] || fail "not one error line: $*"
}
expect_error
expect_error 6 4 "$dir/in.raw"
expect_error 6 5 "$dir/in.raw" "$dir/x.bmp"
expect_error 0 4 "$dir/in.raw" "$dir/x.bmp"
expect_error 6x 4 "$dir/in.raw" "$dir/x.bmp"
expect_error 99999999 99999999 "$dir/in.raw" "$dir/x.bmp"
expect_error 6 4 "$dir/missing.raw" "$dir/x.bmp"
expect_error 6 4 "$dir/in.raw" "$dir/no/dir/x.bmp"
expect_error 6 4 "$dir/in.raw" "$dir/x.bmp" "$dir/bad.txt"
expect_error 6 4 "$dir/in.raw" "$dir/x.bmp" "$dir/missing.txt"
echo "raw_cli: all passed"
