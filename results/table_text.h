#pragma once
// The measurement table as text for other programs: tab-separated for the clipboard (pastes
// into a spreadsheet as columns) and CSV for export. Both have a header line and the same
// columns; every value column comes twice, as the label shows it (three decimals) and at full
// double precision (the shortest text that reads back as the same double). Numbers use "."
// as decimal point whatever the locale; lines end with CRLF; text is UTF-8.
#include <array>
#include <cstddef>
#include <span>
#include <string>

#include "results/measurement_row.h"

namespace orvane::results {

enum class Column : int32_t {
    kNumber,
    kTool,  // the Measure menu's name of the tool
    kLength,
    kEdges,  // every edge label, separated by ";"
    kTotal,
    kPerimeter,
    kCircumference,
    kArcLength,
    kArea,  // in the unit squared
    kRadius,
    kDiameter,
    kAngle,  // degrees
    kUnit,   // as the labels write it: mm, um, mil, inch
    kMagnification,
    kPoints,  // "(x,y)" in picture pixels, separated by spaces
};
inline constexpr size_t kColumnCount = static_cast<size_t>(Column::kPoints) + 1;

// The localized texts, UTF-8, that the window code supplies.
struct TableTexts {
    std::array<std::string, kColumnCount> headers;
    // Appended to a value column's header for its full-precision twin, e.g. " (full)".
    std::string fullPrecisionSuffix;
    std::array<std::string, kToolCount> toolNames;  // by MeasureTool
};

// The header fields and one row's fields, in output order: number, tool, then each value
// column as shown and at full precision, then unit, magnification and points. A value the row
// lacks, or one the label shows as "---" (no usable magnification), is an empty field: a
// spreadsheet would read "---" as the start of a formula.
std::vector<std::string> HeaderFields(const TableTexts& texts);
std::vector<std::string> RowFields(const MeasurementRow& row, const TableTexts& texts);

// Tab-separated lines for the clipboard; tabs and line ends inside a text become spaces.
std::string TabSeparatedText(std::span<const MeasurementRow> rows, const TableTexts& texts);
// RFC 4180 CSV, led by a UTF-8 byte-order mark when asked (spreadsheet programs then read the
// localized headers as UTF-8).
std::string CsvText(std::span<const MeasurementRow> rows, const TableTexts& texts,
                    bool byteOrderMark = true);

// Points as the table shows them: "(x,y) (x,y) ...". No field starts with a sign, which a
// spreadsheet would take for the start of a formula.
std::string TablePointsText(const std::vector<editor::Point>& points);

}  // namespace orvane::results
