#!/usr/bin/env python3
"""The CSV export read by Python's csv module: the same values as the labels the editor drew."""
import csv
import math
import os
import subprocess
import sys
import tempfile


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def main():
    sample = sys.argv[1]
    with tempfile.TemporaryDirectory() as folder:
        csv_path = os.path.join(folder, "table.csv")
        expected_path = os.path.join(folder, "expected.txt")
        subprocess.run([sample, "csv", csv_path, expected_path], check=True)
        raw = open(csv_path, "rb").read()
        with open(expected_path, encoding="ascii") as f:
            expected = [line.rstrip("\n").split("\t") for line in f]
        with open(csv_path, encoding="utf-8-sig", newline="") as f:
            records = list(csv.reader(f, strict=True))

    if not raw.startswith(b"\xef\xbb\xbf"):
        fail("no UTF-8 byte-order mark")
    if raw.count(b"\n") != raw.count(b"\r\n") or not raw.endswith(b"\r\n"):
        fail("lines do not all end with CRLF")

    header = records[0]
    values = ["Length", "Edges", "Total", "Perimeter", "Circumference", "Arc length", "Area",
              "Radius", "Diameter", "Angle"]
    want = ["No.", "Tool"]
    for v in values:
        want += [v, v + " (full)"]
    want += ["Unit", "Magnification", "Points"]
    if header != want:
        fail("header %r" % header)
    rows = records[1:]
    if len(rows) != 6 or any(len(r) != len(header) for r in rows):
        fail("%d rows of %s fields" % (len(rows), [len(r) for r in rows]))
    column = {name: i for i, name in enumerate(header)}

    if rows[0][column["Tool"]] != "Ligne \"libre\", \u00e0 main lev\u00e9e":
        fail("tool name %r" % rows[0][column["Tool"]])
    if [r[column["No."]] for r in rows] != ["1", "2", "3", "4", "5", "6"]:
        fail("numbers")
    if [r[column["Unit"]] for r in rows] != ["um", "mm", "mil", "inch", "mm", "um"]:
        fail("units %r" % [r[column["Unit"]] for r in rows])
    if float(rows[0][column["Magnification"]]) != 48.5:
        fail("magnification")
    if rows[0][column["Points"]] != "(10,10) (310,90)":
        fail("points %r" % rows[0][column["Points"]])

    checked = 0
    for number, name, shown, full, edge in expected:
        row = rows[int(number) - 1]
        shown_field = row[column[name]]
        full_field = row[column[name + " (full)"]]
        if name == "Edges":
            shown_field = shown_field.split(";")[int(edge)]
            full_field = full_field.split(";")[int(edge)]
        value = float(full)
        if shown_field != (shown if math.isfinite(value) else ""):
            fail("row %s %s: %r, the label shows %r" % (number, name, shown_field, shown))
        if math.isfinite(value):
            if float(full_field) != value:
                fail("row %s %s: %r is not %r" % (number, name, full_field, full))
            if "%.3f" % float(full_field) != shown:
                fail("row %s %s: %r does not round to %r" % (number, name, full_field, shown))
        elif shown != "---" or full_field != "":
            fail("row %s %s: the label %r, the field %r" % (number, name, shown, full_field))
        checked += 1
    # line 1, diameter circle 3, arc 4, four-point angle 1, radius circle 3, polygon 5
    if checked != 17:
        fail("%d values compared, not 17" % checked)
    print("results_csv_reader: %d values agree" % checked)


main()
