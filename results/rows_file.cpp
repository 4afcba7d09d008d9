#include "results/rows_file.h"

#include <array>
#include <optional>

#include "media/companion_paths.h"
#include "results/csv.h"
#include "results/number_text.h"

namespace orvane::results {

namespace {

enum Key : size_t {
    kNumberKey,
    kKindKey,
    kAngleModeKey,
    kUnitKey,
    kMagnificationKey,
    kPixelFactorKey,
    kScaleKey,
    kFirstValueKey,  // the quantities in Quantity order, kEdge among them
    kPointsKey = kFirstValueKey + kQuantityCount,
    kKeyCount,
};

// Quantity order: length, edge, total, perimeter, circumference, arc length, area, radius,
// diameter, angle.
constexpr std::array<std::string_view, kKeyCount> kKeys = {
    "number",     "kind",   "angle_mode", "unit",     "magnification", "pixel_factor",
    "scale",      "length", "edges",      "total",    "perimeter",     "circumference",
    "arc_length", "area",   "radius",     "diameter", "angle",         "points"};
static_assert(static_cast<size_t>(Quantity::kEdge) == 1 && kQuantityCount == 10);

constexpr size_t kMaxListEntries = 1024;  // a figure's most points

std::string PointsText(const std::vector<editor::Point>& points) {
    std::string out;
    for (size_t i = 0; i < points.size(); ++i) {
        if (i > 0) out += ';';
        out += std::to_string(points[i].x) + ' ' + std::to_string(points[i].y);
    }
    return out;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    if (text.empty()) return parts;
    size_t start = 0;
    while (true) {
        const size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string_view::npos ? at : at - start));
        if (at == std::string_view::npos) break;
        start = at + 1;
        if (parts.size() > kMaxListEntries) break;
    }
    return parts;
}

bool ParsePoints(std::string_view text, std::vector<editor::Point>& points) {
    const std::vector<std::string_view> pairs = Split(text, ';');
    if (pairs.size() > kMaxListEntries) return false;
    for (std::string_view pair : pairs) {
        const size_t space = pair.find(' ');
        if (space == std::string_view::npos) return false;
        editor::Point p;
        if (!ParseInt32(pair.substr(0, space), p.x) || !ParseInt32(pair.substr(space + 1), p.y)) {
            return false;
        }
        points.push_back(p);
    }
    return true;
}

bool ParseEdges(std::string_view text, std::vector<double>& edges) {
    const std::vector<std::string_view> values = Split(text, ';');
    if (values.size() > kMaxListEntries) return false;
    for (std::string_view v : values) {
        double d = 0;
        if (!ParseNumber(v, d)) return false;
        edges.push_back(d);
    }
    return true;
}

std::optional<MeasurementRow> ParseRecord(const std::vector<std::string>& fields,
                                          const std::array<std::optional<size_t>, kKeyCount>& at) {
    auto field = [&](Key k) -> std::optional<std::string_view> {
        if (!at[k]) return std::nullopt;
        return std::string_view(fields[*at[k]]);
    };
    MeasurementRow row;
    int32_t kind = 0;
    int32_t unit = 0;
    if (!ParseInt32(field(kKindKey).value_or(""), kind) || !IsMeasureKind(kind)) return {};
    row.kind = static_cast<MeasureKind>(kind);
    if (const auto mode = field(kAngleModeKey); mode && !mode->empty()) {
        if (!ParseInt32(*mode, row.angleMode)) return {};
        if (row.angleMode != 0 && row.angleMode != 90 && row.angleMode != 45) return {};
    }
    if (!ParseInt32(field(kUnitKey).value_or(""), unit) || unit < 0 || unit > 3) return {};
    row.conversion.unit = static_cast<editor::Unit>(unit);
    if (!ParseNumber(field(kMagnificationKey).value_or(""), row.conversion.magnification)) {
        return {};
    }
    if (const auto pf = field(kPixelFactorKey); pf && !pf->empty()) {
        if (!ParseNumber(*pf, row.conversion.pixelFactor)) return {};
    }
    if (const auto scale = field(kScaleKey); scale && !scale->empty()) {
        if (!ParseNumber(*scale, row.conversion.scale)) return {};
    }
    for (size_t q = 0; q < kQuantityCount; ++q) {
        const auto text = field(static_cast<Key>(kFirstValueKey + q));
        if (!text || text->empty()) continue;
        if (static_cast<Quantity>(q) == Quantity::kEdge) {
            if (!ParseEdges(*text, row.edges)) return {};
            continue;
        }
        double v = 0;
        if (!ParseNumber(*text, v)) return {};
        row.values[q] = v;
    }
    if (const auto points = field(kPointsKey); points && !ParsePoints(*points, row.points)) {
        return {};
    }
    return row;
}

}  // namespace

std::string RowsFileText(std::span<const MeasurementRow> rows) {
    std::string out = CsvRecordText(std::vector<std::string>(kKeys.begin(), kKeys.end()));
    std::vector<std::string> fields(kKeyCount);
    for (const MeasurementRow& row : rows) {
        fields[kNumberKey] = std::to_string(row.number);
        fields[kKindKey] = std::to_string(static_cast<int32_t>(row.kind));
        fields[kAngleModeKey] = std::to_string(row.angleMode);
        fields[kUnitKey] = std::to_string(static_cast<int32_t>(row.conversion.unit));
        fields[kMagnificationKey] = RoundTripNumber(row.conversion.magnification);
        fields[kPixelFactorKey] = RoundTripNumber(row.conversion.pixelFactor);
        fields[kScaleKey] = RoundTripNumber(row.conversion.scale);
        for (size_t q = 0; q < kQuantityCount; ++q) {
            std::string& f = fields[kFirstValueKey + q];
            f.clear();
            if (static_cast<Quantity>(q) == Quantity::kEdge) {
                for (size_t i = 0; i < row.edges.size(); ++i) {
                    if (i > 0) f += ';';
                    f += RoundTripNumber(row.edges[i]);
                }
            } else if (row.values[q]) {
                f = RoundTripNumber(*row.values[q]);
            }
        }
        fields[kPointsKey] = PointsText(row.points);
        out += CsvRecordText(fields);
    }
    return out;
}

std::vector<MeasurementRow> ParseRowsFile(std::string_view text) {
    std::vector<MeasurementRow> rows;
    const std::vector<CsvRecord> records = ParseCsv(text, kMaxRows + 1);
    if (records.empty() || !records[0].terminated) return rows;
    const std::vector<std::string>& header = records[0].fields;
    std::array<std::optional<size_t>, kKeyCount> at{};
    for (size_t i = 0; i < header.size(); ++i) {
        for (size_t k = 0; k < kKeyCount; ++k) {
            if (header[i] == kKeys[k] && !at[k]) at[k] = i;
        }
    }
    if (!at[kKindKey] || !at[kUnitKey] || !at[kMagnificationKey]) return rows;
    for (size_t r = 1; r < records.size(); ++r) {
        const CsvRecord& record = records[r];
        if (!record.terminated || record.fields.size() != header.size()) continue;
        std::optional<MeasurementRow> row = ParseRecord(record.fields, at);
        if (!row) continue;
        row->number = static_cast<int32_t>(rows.size()) + 1;
        rows.push_back(std::move(*row));
    }
    return rows;
}

std::vector<MeasurementRow> ReadRowsFile(std::u16string_view mediaPath, MediaFiles& files) {
    const std::u16string path = MeasurementRowsPath(mediaPath);
    std::vector<uint8_t> bytes;
    if (path.empty() || !files.ReadPrefix(path, kMaxRowsFileBytes, bytes)) return {};
    return ParseRowsFile(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

RowsFileUpdate PlanRowsFile(std::u16string_view mediaPath, std::span<const MeasurementRow> rows) {
    RowsFileUpdate update;
    update.path = MeasurementRowsPath(mediaPath);
    if (update.path.empty()) return update;
    if (rows.empty()) {
        update.step = RowsFileUpdate::Step::kRemove;
        return update;
    }
    update.step = RowsFileUpdate::Step::kWrite;
    update.bytes = RowsFileText(rows);
    return update;
}

bool WriteRowsFile(const RowsFileUpdate& update, MediaFiles& files) {
    if (update.step != RowsFileUpdate::Step::kWrite) return false;
    return files.WriteWhole(update.path, reinterpret_cast<const uint8_t*>(update.bytes.data()),
                            update.bytes.size());
}

}  // namespace orvane::results
