#include "results/table_text.h"

#include <cmath>

#include "results/csv.h"
#include "results/number_text.h"

namespace orvane::results {

namespace {

// The value columns and the quantity each shows (the edges are apart).
struct ValueColumn {
    Column column;
    Quantity quantity;
};
constexpr std::array<ValueColumn, 10> kValueColumns = {{
    {Column::kLength, Quantity::kLength},
    {Column::kEdges, Quantity::kEdge},
    {Column::kTotal, Quantity::kTotal},
    {Column::kPerimeter, Quantity::kPerimeter},
    {Column::kCircumference, Quantity::kCircumference},
    {Column::kArcLength, Quantity::kArcLength},
    {Column::kArea, Quantity::kArea},
    {Column::kRadius, Quantity::kRadius},
    {Column::kDiameter, Quantity::kDiameter},
    {Column::kAngle, Quantity::kAngle},
}};

const std::string& Header(const TableTexts& texts, Column c) {
    return texts.headers[static_cast<size_t>(c)];
}

std::string FullNumber(double v) {
    return std::isfinite(v) ? RoundTripNumber(v) : std::string();
}

// "---" would start a formula in a spreadsheet: a value without a number stays empty.
std::string ShownNumber(double v) {
    return std::isfinite(v) ? LabelNumber(v) : std::string();
}

template <typename Format>
std::string Joined(const std::vector<double>& values, Format format) {
    std::string out;
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0) out += ';';
        out += format(values[i]);
    }
    return out;
}

std::string TabField(std::string field) {
    for (char& c : field) {
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    }
    return field;
}

}  // namespace

std::vector<std::string> HeaderFields(const TableTexts& texts) {
    std::vector<std::string> out{Header(texts, Column::kNumber), Header(texts, Column::kTool)};
    for (const ValueColumn& v : kValueColumns) {
        out.push_back(Header(texts, v.column));
        out.push_back(Header(texts, v.column) + texts.fullPrecisionSuffix);
    }
    out.push_back(Header(texts, Column::kUnit));
    out.push_back(Header(texts, Column::kMagnification));
    out.push_back(Header(texts, Column::kPoints));
    return out;
}

std::vector<std::string> RowFields(const MeasurementRow& row, const TableTexts& texts) {
    std::vector<std::string> out{std::to_string(row.number),
                                 texts.toolNames[static_cast<size_t>(row.Tool())]};
    for (const ValueColumn& v : kValueColumns) {
        if (v.quantity == Quantity::kEdge) {
            out.push_back(Joined(row.edges, ShownNumber));
            out.push_back(Joined(row.edges, FullNumber));
            continue;
        }
        const std::optional<double> value = row.Value(v.quantity);
        out.push_back(value ? ShownNumber(*value) : std::string());
        out.push_back(value ? FullNumber(*value) : std::string());
    }
    out.push_back(editor::UnitText(row.conversion.unit));
    out.push_back(FullNumber(row.conversion.magnification));
    out.push_back(TablePointsText(row.points));
    return out;
}

std::string TabSeparatedText(std::span<const MeasurementRow> rows, const TableTexts& texts) {
    auto line = [](const std::vector<std::string>& fields) {
        std::string out;
        for (size_t i = 0; i < fields.size(); ++i) {
            if (i > 0) out += '\t';
            out += TabField(fields[i]);
        }
        out += kCrLf;
        return out;
    };
    std::string out = line(HeaderFields(texts));
    for (const MeasurementRow& row : rows) out += line(RowFields(row, texts));
    return out;
}

std::string CsvText(std::span<const MeasurementRow> rows, const TableTexts& texts,
                    bool byteOrderMark) {
    std::string out = byteOrderMark ? std::string(kUtf8ByteOrderMark) : std::string();
    out += CsvRecordText(HeaderFields(texts));
    for (const MeasurementRow& row : rows) out += CsvRecordText(RowFields(row, texts));
    return out;
}

std::string TablePointsText(const std::vector<editor::Point>& points) {
    std::string out;
    for (size_t i = 0; i < points.size(); ++i) {
        if (i > 0) out += ' ';
        out += '(' + std::to_string(points[i].x) + ',' + std::to_string(points[i].y) + ')';
    }
    return out;
}

}  // namespace orvane::results
