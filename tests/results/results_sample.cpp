// Writes the files that other programs read in the results checks:
//   results_sample csv <out.csv> <expected.txt>
//     the CSV export of a table of sample figures, and per value "row<TAB>header<TAB>label
//     number<TAB>%.17g of the value" for the reader to compare with;
//   results_sample tiff <out.tif> <device> <stillW> <stillH> <width> <height> <mag> <adjusted>
//                  <unit 0..3>
//     a TIFF of a test pattern calibrated as the editor calibrates a picture of that record,
//     and "mm_per_pixel <%.17g>" and "pixel <x> <y> <r> <g> <b>" lines for the checks.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "results/calibrated_tiff.h"
#include "results/table_text.h"

namespace {

using namespace orvane;
using namespace orvane::results;

bool WriteFile(const char* path, const void* data, size_t size) {
    FILE* f = std::fopen(path, "wb");
    if (f == nullptr) return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

editor::MeasureState Figure(editor::MeasureKind kind, std::vector<editor::Point> points,
                            int32_t count, Unit unit, double magnification) {
    editor::MeasureState s;
    s.kind = kind;
    s.conversion = {0.38093, 2.0, magnification, unit};
    s.points = std::move(points);
    s.pointCount = count;
    s.cursor = {500, 400};
    s.fontHeight = -16;
    return s;
}

int Csv(const char* csvPath, const char* expectedPath) {
    using K = editor::MeasureKind;
    std::vector<editor::MeasureState> figures = {
        Figure(K::kLine, {{10, 10}, {310, 90}}, 2, Unit::kMicrometre, 48.5),
        Figure(K::kDiameterCircle, {{0, 0}, {200, 0}}, 2, Unit::kMillimetre, 71.0),
        Figure(K::kThreePointArc, {{}, {0, -10}, {10, 0}, {0, 10}}, 3, Unit::kMil, 20.0),
        Figure(K::kFourPointAngle, {{}, {0, 0}, {100, 0}, {0, 50}, {100, 108}}, 4, Unit::kInch,
               10.0),
        Figure(K::kRadiusCircle, {{5, 5}, {8, 9}}, 2, Unit::kMillimetre, 0.0),  // "---"
    };
    editor::MeasureState poly = Figure(K::kPolygon, {{}, {0, 0}, {120, 0}, {120, 100}, {0, 100}}, 4,
                                       Unit::kMicrometre, 35.5);
    poly.labelPoints = {{}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}};
    poly.labelCount = 5;
    poly.polyStage = 5;
    figures.push_back(poly);
    figures[0].angleMode = 0;

    TableTexts texts;
    const char* headers[] = {"No.",       "Tool",          "Length",     "Edges",         "Total",
                             "Perimeter", "Circumference", "Arc length", "Area",          "Radius",
                             "Diameter",  "Angle",         "Unit",       "Magnification", "Points"};
    for (size_t i = 0; i < kColumnCount; ++i) texts.headers[i] = headers[i];
    texts.fullPrecisionSuffix = " (full)";
    // A translated name with a comma, quotes and non-ASCII text.
    for (size_t i = 0; i < kToolCount; ++i) texts.toolNames[i] = "Tool " + std::to_string(i);
    texts.toolNames[static_cast<size_t>(MeasureTool::kAnyAngleLine)] =
        "Ligne \"libre\", \xC3\xA0 main lev\xC3\xA9"
        "e";

    std::vector<MeasurementRow> rows;
    FILE* expected = std::fopen(expectedPath, "w");
    if (expected == nullptr) return 1;
    for (const editor::MeasureState& s : figures) {
        const editor::MeasureDrawing d = editor::SketchMeasure(s);
        MeasurementRow row = RowOfDrawing(s, d);
        row.number = static_cast<int32_t>(rows.size()) + 1;
        // Every value label the editor drew, with the header of its column.
        size_t edge = 0;
        for (const editor::ShownValue& v : d.values) {
            static const char* kHeader[] = {"Length",        "Edges",      "Total", "Perimeter",
                                            "Circumference", "Arc length", "Area",  "Radius",
                                            "Diameter",      "Angle"};
            std::fprintf(expected, "%d\t%s\t%s\t%.17g\t%zu\n", row.number,
                         kHeader[static_cast<size_t>(v.quantity)],
                         editor::FormatValue(v.value).c_str(), v.value,
                         v.quantity == editor::Quantity::kEdge ? edge++ : 0);
        }
        rows.push_back(std::move(row));
    }
    std::fclose(expected);
    const std::string csv = CsvText(rows, texts);
    return WriteFile(csvPath, csv.data(), csv.size()) ? 0 : 1;
}

int Tiff(char** a) {
    MediaInfoRecord record;
    record.deviceCode = static_cast<uint32_t>(std::strtoul(a[1], nullptr, 16));
    record.stillSize =
        (static_cast<uint32_t>(std::atoi(a[2])) << 16) | static_cast<uint32_t>(std::atoi(a[3]));
    const int32_t width = std::atoi(a[4]);
    const int32_t height = std::atoi(a[5]);
    record.magnification = std::atof(a[6]);
    record.adjustedMagnification = std::atof(a[7]);
    const Conversion c =
        PictureConversion(record, width, height, static_cast<Unit>(std::atoi(a[8])));
    PixelRows picture;
    picture.width = width;
    picture.height = height;
    picture.topDown = false;  // as a bottom-up BMP holds them
    picture.bytes.resize(static_cast<size_t>(width) * height * 3);
    for (int32_t y = 0; y < height; ++y) {
        const int32_t top = height - 1 - y;
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* p = picture.Row(y) + static_cast<size_t>(x) * 3;
            p[0] = static_cast<uint8_t>(x + top);  // blue
            p[1] = static_cast<uint8_t>(top * 3);  // green
            p[2] = static_cast<uint8_t>(x * 5);    // red
        }
    }
    const std::vector<uint8_t> file = WriteTiff24(picture, CalibratedTiffFields(c, "Orvane"));
    if (file.empty() || !WriteFile(a[0], file.data(), file.size())) return 1;
    std::printf("mm_per_pixel %.17g\n", editor::ObjectMillimetres(1, c));
    const int32_t xs[] = {0, width / 2, width - 1};
    const int32_t ys[] = {0, height / 3, height - 1};
    for (int32_t y : ys) {
        for (int32_t x : xs) {
            std::printf("pixel %d %d %d %d %d\n", x, y, (x * 5) & 255, (y * 3) & 255,
                        (x + y) & 255);
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "csv") return Csv(argv[2], argv[3]);
    if (argc == 11 && std::string(argv[1]) == "tiff") return Tiff(argv + 2);
    std::fprintf(stderr,
                 "usage: results_sample csv <out.csv> <expected.txt> | tiff <out.tif> "
                 "<device> <stillW> <stillH> <width> <height> <mag> <adjusted> <unit>\n");
    return 2;
}
