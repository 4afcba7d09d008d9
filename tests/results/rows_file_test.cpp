// The rows file beside the side file: written, read back, damaged, removed.
#include "results/rows_file.h"

#include <random>

#include <cmath>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

#include "fake_media_files.h"

namespace orvane::results {
namespace {

const std::u16string kPicture = u"C:\\P\\TX1000001.JPG";
const std::u16string kRowsPath = u"C:\\P\\Info\\TX1000001.csv";

// Values compare as bits, so NaN equals NaN.
bool Same(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}
bool SameRow(const MeasurementRow& a, const MeasurementRow& b) {
    if (a.number != b.number || a.kind != b.kind || a.angleMode != b.angleMode ||
        a.conversion.unit != b.conversion.unit || a.points != b.points ||
        a.edges.size() != b.edges.size() ||
        !Same(a.conversion.magnification, b.conversion.magnification) ||
        !Same(a.conversion.pixelFactor, b.conversion.pixelFactor) ||
        !Same(a.conversion.scale, b.conversion.scale)) {
        return false;
    }
    for (size_t i = 0; i < a.edges.size(); ++i) {
        if (!Same(a.edges[i], b.edges[i])) return false;
    }
    for (size_t q = 0; q < kQuantityCount; ++q) {
        if (a.values[q].has_value() != b.values[q].has_value()) return false;
        if (a.values[q] && !Same(*a.values[q], *b.values[q])) return false;
    }
    return true;
}

std::vector<MeasurementRow> SampleRows() {
    std::vector<MeasurementRow> rows;
    editor::MeasureState line;
    line.kind = MeasureKind::kLine;
    line.angleMode = 45;
    line.conversion = {0.38093, 2.0, 48.5, Unit::kMicrometre};
    line.points = {{1, 2}, {301, 70}};
    line.pointCount = 2;
    rows.push_back(RowOfFigure(line));
    editor::MeasureState poly;
    poly.kind = MeasureKind::kContinuousLine;
    poly.conversion = {0.355, 1.0, 0.0, Unit::kInch};  // no magnification: NaN values
    poly.points = {{}, {0, 0}, {12, 0}, {12, -2147483647}};
    poly.pointCount = 3;
    poly.labelPoints = {{}, {5, 5}, {9, 9}, {20, 20}};
    poly.labelCount = 3;
    poly.polyStage = 5;
    rows.push_back(RowOfFigure(poly));
    MeasurementRow arc;
    arc.kind = MeasureKind::kThreePointArc;
    arc.conversion = {0.2, 0.5, 71.25, Unit::kMil};
    arc.values[static_cast<size_t>(Quantity::kAngle)] = 180;
    arc.values[static_cast<size_t>(Quantity::kArea)] = 1.0 / 3;
    rows.push_back(arc);
    for (size_t i = 0; i < rows.size(); ++i) rows[i].number = static_cast<int32_t>(i) + 1;
    return rows;
}

TEST(RowsFile, WrittenAndReadBackBesideTheSideFile) {
    test::FakeMediaFiles files;
    files.AddFolder(u"C:\\P\\INFO");
    const std::vector<MeasurementRow> rows = SampleRows();
    ASSERT_EQ(rows[1].edges.size(), 2u);
    const RowsFileUpdate update = PlanRowsFile(kPicture, rows);
    EXPECT_EQ(update.step, RowsFileUpdate::Step::kWrite);
    EXPECT_EQ(update.path, kRowsPath);
    ASSERT_TRUE(WriteRowsFile(update, files));
    ASSERT_NE(files.Find(kRowsPath), nullptr);
    const std::vector<MeasurementRow> back = ReadRowsFile(u"c:\\p\\tx1000001.jpg", files);
    ASSERT_EQ(back.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_TRUE(SameRow(back[i], rows[i])) << i;
    // The text itself: the header and the line, numbers at full precision.
    const std::string text = RowsFileText(std::vector<MeasurementRow>{rows[0]});
    EXPECT_EQ(text.substr(0, text.find("\r\n")),
              "number,kind,angle_mode,unit,magnification,pixel_factor,scale,length,edges,total,"
              "perimeter,circumference,arc_length,area,radius,diameter,angle,points");
    // hypot(68, 68) * 0.38093 * 2 / 48.5 mm in um.
    EXPECT_NE(text.find("\r\n1,1,45,1,48.5,0.38093,2,1510.6273532950618,,"), std::string::npos)
        << text;
    EXPECT_EQ(text.substr(text.size() - 13), ",,1 2;69 70\r\n");
}

TEST(RowsFile, NoRowsMeansNoFile) {
    RowsFileUpdate update = PlanRowsFile(kPicture, {});
    EXPECT_EQ(update.step, RowsFileUpdate::Step::kRemove);
    EXPECT_EQ(update.path, kRowsPath);
    test::FakeMediaFiles files;
    files.AddFolder(u"C:\\P\\Info");
    EXPECT_FALSE(WriteRowsFile(update, files));
    EXPECT_EQ(files.FileCount(), 0u);
    // A path that names no capture has no rows file at all.
    update = PlanRowsFile(u"C:\\a.bmp", SampleRows());
    EXPECT_EQ(update.step, RowsFileUpdate::Step::kNone);
    EXPECT_TRUE(update.path.empty());
    EXPECT_TRUE(ReadRowsFile(u"C:\\a.bmp", files).empty());
    // A missing file, or a folder that cannot take it.
    EXPECT_TRUE(ReadRowsFile(kPicture, files).empty());
    EXPECT_FALSE(WriteRowsFile(PlanRowsFile(u"D:\\X\\TX1000001.BMP", SampleRows()), files));
}

TEST(RowsFile, AFileCutShortGivesTheRowsBeforeTheCut) {
    const std::vector<MeasurementRow> rows = SampleRows();
    const std::string text = RowsFileText(rows);
    size_t complete = 0;
    for (size_t n = 0; n <= text.size(); ++n) {
        const std::vector<MeasurementRow> back = ParseRowsFile(text.substr(0, n));
        ASSERT_LE(back.size(), rows.size());
        for (size_t i = 0; i < back.size(); ++i) ASSERT_TRUE(SameRow(back[i], rows[i])) << n;
        if (n == text.size()) complete = back.size();
    }
    EXPECT_EQ(complete, rows.size());
}

TEST(RowsFile, DamagedRecordsAreLeftOut) {
    const std::string header =
        "number,kind,angle_mode,unit,magnification,pixel_factor,scale,length,edges,total,"
        "perimeter,circumference,arc_length,area,radius,diameter,angle,points\r\n";
    const std::string good = "9,1,0,0,50,0.355,1,0.71,,,,,,,,,,0 0;100 0\r\n";
    const std::vector<std::string> bad = {
        "1,2,0,0,50,0.355,1,0.71,,,,,,,,,,0 0\r\n",            // no kind 2
        "1,1,30,0,50,0.355,1,0.71,,,,,,,,,,0 0\r\n",           // no lock of 30 degrees
        "1,1,0,4,50,0.355,1,0.71,,,,,,,,,,0 0\r\n",            // no unit 4
        "1,1,0,0,,0.355,1,0.71,,,,,,,,,,0 0\r\n",              // no magnification
        "1,1,0,0,50,0.355,1,0.71x,,,,,,,,,,0 0\r\n",           // no number
        "1,1,0,0,50,0.355,1,0.71,,,,,,,,,,0 0;5\r\n",          // half a point
        "1,1,0,0,50,0.355,1,0.71,,,,,,,,,,0 99999999999\r\n",  // beyond int32
        "1,1,0,0,50,0.355,1,0.71,1;;2,,,,,,,,,0 0\r\n",        // an empty edge
        "1,1,0,0,50,0.355,1,0.71,,,,,,,,,0 0\r\n",             // a field missing
        "1,1,0,0,50,0.355,1,0.71,,,,,,,,,,0 0,extra\r\n",      // a field too many
    };
    for (const std::string& b : bad) {
        const std::vector<MeasurementRow> rows = ParseRowsFile(header + good + b + good);
        ASSERT_EQ(rows.size(), 2u) << b;
        EXPECT_EQ(rows[1].number, 2);  // numbered in table order
        EXPECT_EQ(rows[1].points, (std::vector<editor::Point>{{0, 0}, {100, 0}}));
    }
    // Too many points for a figure.
    std::string many = "1,1,0,0,50,0.355,1,0.71,,,,,,,,,,0 0";
    for (int i = 0; i < 1024; ++i) many += ";1 1";
    EXPECT_EQ(ParseRowsFile(header + good + many + "\r\n").size(), 1u);
    // No header, another header, or the header alone: no rows.
    EXPECT_TRUE(ParseRowsFile(good + good).empty());
    EXPECT_TRUE(ParseRowsFile("a,b,c\r\n" + good).empty());
    EXPECT_TRUE(ParseRowsFile(header).empty());
    EXPECT_TRUE(ParseRowsFile(header.substr(0, header.size() - 2)).empty());
    // Columns found by name: reordered, an unknown one added, optional ones left out.
    const std::vector<MeasurementRow> moved =
        ParseRowsFile("unit,points,colour,kind,magnification,length\r\n1,3 4,red,6,20,\r\n");
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved[0].kind, MeasureKind::kThreePointAngle);
    EXPECT_EQ(moved[0].conversion.unit, Unit::kMicrometre);
    EXPECT_EQ(moved[0].conversion.pixelFactor, 0.355);
    EXPECT_EQ(moved[0].points, (std::vector<editor::Point>{{3, 4}}));
    EXPECT_FALSE(moved[0].Value(Quantity::kLength));
}

TEST(RowsFile, RandomBytesNeverCrash) {
    std::mt19937 rng(99);
    const std::string text = RowsFileText(SampleRows());
    const std::string alphabet = ",;\r\n\" 0123456789.-einfa";
    for (int i = 0; i < 3000; ++i) {
        std::string damaged = text;
        const int flips = 1 + i % 8;
        for (int k = 0; k < flips; ++k) {
            damaged[rng() % damaged.size()] = alphabet[rng() % alphabet.size()];
        }
        const std::vector<MeasurementRow> rows = ParseRowsFile(damaged);
        EXPECT_LE(rows.size(), 3u);
        for (const MeasurementRow& r : rows) EXPECT_LE(r.points.size(), 1024u);
    }
    std::string noise(4096, '\0');
    for (char& c : noise) c = static_cast<char>(rng());
    EXPECT_TRUE(ParseRowsFile(noise).empty());
}

}  // namespace
}  // namespace orvane::results
