#!/usr/bin/env bash
# A picture of ImageJ's window with a TIFF the program saved, on a display of its own: the
# window's subtitle gives the size ImageJ read from the file's calibration.
# Usage: tools/imagej-screenshot.sh PICTURE.TIF OUT.png
set -euo pipefail
if [ "${1:-}" = --on-display ]; then
  java -jar /usr/share/java/ij.jar "$2" &
  pid=$!
  sleep 12  # ImageJ's start and the picture's window
  import -window root -crop 660x600+320+0 +repage "$3"
  kill "$pid"
  exit 0
fi
[ $# -eq 2 ] || { echo "usage: $0 PICTURE.TIF OUT.png" >&2; exit 2; }
timeout 90 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --on-display "$(realpath "$1")" \
  "$(realpath -m "$2")"
