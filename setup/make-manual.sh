#!/usr/bin/env bash
# Typesets the user manual: make-manual.sh SOURCE_ROOT OUT_DIR -> OUT_DIR/Manual.pdf.
# The screenshots are shrunk and turned into one-page PDFs that groff's PDF output places.
set -euo pipefail
root=$1 out=$2
mkdir -p "$out"
: >"$out/pictures.ms.tmp"
while read -r name width; do
  src=$root/docs/screenshots/$name.png
  [ -f "$src" ] || { echo "make-manual: $src missing" >&2; exit 1; }
  convert "$src" -alpha off -resize "${width}x>" -quality 85 "$out/$name.jpg"
  img2pdf -o "$out/$name.pdf" "$out/$name.jpg"
  identify -format ".nr $name-wd %w\n.nr $name-ht %h\n" "$out/$name.jpg" >>"$out/pictures.ms.tmp"
done < <(sed -n 's/^\.\\" picture \([^ ]*\) \([0-9]*\)$/\1 \2/p' "$root/docs/manual/manual.ms")
mv "$out/pictures.ms.tmp" "$out/pictures.ms"
# -U: the pictures are files; -k: the text is UTF-8.
(cd "$out" && groff -U -k -ms -Tpdf -P-pa4 "$root/docs/manual/manual.ms" >Manual.pdf.tmp)
mv "$out/Manual.pdf.tmp" "$out/Manual.pdf"
