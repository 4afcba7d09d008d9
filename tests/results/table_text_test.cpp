// The clipboard and CSV texts of the table.
#include "results/table_text.h"

#include <cmath>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

#include "results/csv.h"
#include "results/number_text.h"

namespace orvane::results {
namespace {

TableTexts Texts() {
    TableTexts t;
    const char* headers[] = {"No.",       "Tool",          "Length", "Edges",         "Total",
                             "Perimeter", "Circumference", "Arc",    "Area",          "Radius",
                             "Diameter",  "Angle",         "Unit",   "Magnification", "Points"};
    for (size_t i = 0; i < kColumnCount; ++i) t.headers[i] = headers[i];
    t.fullPrecisionSuffix = " (full)";
    for (size_t i = 0; i < kToolCount; ++i) t.toolNames[i] = "tool" + std::to_string(i);
    return t;
}

MeasurementRow LineRow() {
    MeasurementRow r;
    r.number = 1;
    r.kind = MeasureKind::kLine;
    r.angleMode = 90;
    r.conversion = {0.355, 1.0, 50.0, Unit::kMicrometre};
    r.values[static_cast<size_t>(Quantity::kLength)] = 0.1 + 0.2;
    r.points = {{0, 0}, {-3, 40}};
    return r;
}

TEST(TableText, RowFieldsShownAndFull) {
    const TableTexts texts = Texts();
    const std::vector<std::string> header = HeaderFields(texts);
    ASSERT_EQ(header.size(), 25u);
    EXPECT_EQ(header[2], "Length");
    EXPECT_EQ(header[3], "Length (full)");
    EXPECT_EQ(header[22], "Unit");
    const std::vector<std::string> f = RowFields(LineRow(), texts);
    ASSERT_EQ(f.size(), header.size());
    EXPECT_EQ(f[0], "1");
    EXPECT_EQ(f[1], "tool2");  // the straight angle line
    EXPECT_EQ(f[2], "0.300");
    EXPECT_EQ(f[3], "0.30000000000000004");  // reads back as the same double
    EXPECT_EQ(f[4], "");                     // no edges
    EXPECT_EQ(f[22], "um");
    EXPECT_EQ(f[23], "50");
    EXPECT_EQ(f[24], "(0,0) (-3,40)");

    MeasurementRow poly;
    poly.kind = MeasureKind::kPolygon;
    poly.edges = {4.26, std::numeric_limits<double>::quiet_NaN(), 1e-7};
    poly.values[static_cast<size_t>(Quantity::kArea)] = std::numeric_limits<double>::infinity();
    const std::vector<std::string> p = RowFields(poly, texts);
    EXPECT_EQ(p[1], "tool9");
    EXPECT_EQ(p[4], "4.260;;0.000");
    EXPECT_EQ(p[5], "4.26;;1e-07");
    EXPECT_EQ(p[14], "");  // shown as "---": no number
    EXPECT_EQ(p[15], "");
}

TEST(TableText, ClipboardAndCsvText) {
    TableTexts texts = Texts();
    texts.headers[0] = "N\to, \"x\"";  // a translation with a tab, a comma and quotes
    MeasurementRow second = LineRow();
    second.number = 2;
    const std::vector<MeasurementRow> rows{LineRow(), second};
    const std::string tsv = TabSeparatedText(rows, texts);
    EXPECT_EQ(tsv.substr(0, tsv.find("\r\n")),
              "N o, \"x\"\tTool\tLength\tLength (full)\tEdges\tEdges (full)\tTotal\tTotal "
              "(full)\tPerimeter\tPerimeter (full)\tCircumference\tCircumference (full)\tArc\tArc "
              "(full)\tArea\tArea (full)\tRadius\tRadius (full)\tDiameter\tDiameter "
              "(full)\tAngle\tAngle (full)\tUnit\tMagnification\tPoints");
    EXPECT_NE(tsv.find("\r\n2\ttool2\t0.300\t0.30000000000000004\t"), std::string::npos);
    EXPECT_EQ(tsv.substr(tsv.size() - 2), "\r\n");

    const std::string csv = CsvText(rows, texts);
    EXPECT_EQ(csv.substr(0, 3), kUtf8ByteOrderMark);
    EXPECT_EQ(csv.substr(3, 17), "\"N\to, \"\"x\"\"\",Tool");
    EXPECT_EQ(CsvText(rows, texts, false).substr(0, 1), "\"");
    // Read back: the same fields, three records, each ended.
    const std::vector<CsvRecord> back = ParseCsv(csv, 10);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[0].fields, HeaderFields(texts));
    EXPECT_EQ(back[2].fields, RowFields(second, texts));
    EXPECT_TRUE(back[2].terminated);
}

TEST(TableText, CsvFieldsAndRecords) {
    EXPECT_EQ(CsvField("plain"), "plain");
    EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(CsvField("two\r\nlines"), "\"two\r\nlines\"");
    EXPECT_EQ(CsvRecordText({"", "x", ""}), ",x,\r\n");
    // Reading: quoted separators and line ends, LF and CR line ends, empty fields, a record
    // cut short, an unclosed quote.
    const std::vector<CsvRecord> r = ParseCsv("a,\"b,\r\nc\",\"\"\"\"\nx\ry,,\n\"open", 10);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0].fields, (std::vector<std::string>{"a", "b,\r\nc", "\""}));
    EXPECT_EQ(r[1].fields, (std::vector<std::string>{"x"}));
    EXPECT_EQ(r[2].fields, (std::vector<std::string>{"y", "", ""}));
    EXPECT_TRUE(r[2].terminated);
    EXPECT_EQ(r[3].fields, (std::vector<std::string>{"open"}));
    EXPECT_FALSE(r[3].terminated);
    EXPECT_EQ(ParseCsv("a\nb\nc\n", 2).size(), 2u);
    EXPECT_TRUE(ParseCsv("", 10).empty());
    EXPECT_TRUE(ParseCsv(kUtf8ByteOrderMark, 10).empty());
}

TEST(TableText, NumbersReadBackExactly) {
    for (double v : {0.1, 1.0 / 3, -2.5e-7, 1.7976931348623157e308, 4.9406564584124654e-324}) {
        double back = 1;
        ASSERT_TRUE(ParseNumber(RoundTripNumber(v), back)) << v;
        EXPECT_EQ(back, v);
    }
    double v = 0;
    EXPECT_TRUE(ParseNumber("nan", v));
    EXPECT_TRUE(std::isnan(v));
    for (const char* bad : {"", " 1", "1 ", "1,5", "1e", "+1"}) EXPECT_FALSE(ParseNumber(bad, v));
    int32_t i = 0;
    EXPECT_FALSE(ParseInt32("2147483648", i));
    EXPECT_FALSE(ParseInt32("1.0", i));
    EXPECT_EQ(LabelNumber(-1234.5678), "-1234.568");
}

}  // namespace
}  // namespace orvane::results
