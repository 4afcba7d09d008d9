#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "editor/rules/canvas_rules.h"
#include "editor/rules/magnification.h"
#include "editor/rules/window_rules.h"

namespace orvane::editor {
namespace {

TEST(MagnificationRules, PixelFactorByDevice) {
    EXPECT_EQ(PixelFactorOf(0x0C4562C0u), 0.38093);
    EXPECT_EQ(PixelFactorOf(0x0C456320u), 0.38093);
    EXPECT_EQ(PixelFactorOf(0x0C456355u), 0.2);
    EXPECT_EQ(PixelFactorOf(0x0C456563u), 0.237725);
    EXPECT_EQ(PixelFactorOf(0), 0.355);
    EXPECT_EQ(PixelFactorOf(0x0C456564u), 0.355);
}

TEST(MagnificationRules, ScaleIsTheSmallerRatioOfRecordedToOpenedSize) {
    EXPECT_EQ(PictureScale(0x064004B0u, 1600, 1200), 1.0);
    EXPECT_EQ(PictureScale((2560u << 16) | 1920u, 1280, 960), 2.0);
    EXPECT_EQ(PictureScale(0x05000400u, 640, 480), 2.0);  // 2 and 2.1333
    EXPECT_EQ(PictureScale(0x05000400u, 0, 480), 1.0);
    EXPECT_EQ(PictureScale(0, 640, 480), 1.0);
}

TEST(MagnificationRules, OpeningPrefersTheCalibratedValue) {
    Magnifications m = OpenedMagnifications(40.0, 71.0);
    EXPECT_TRUE(m.useAdjusted);
    EXPECT_EQ(m.active, 71.0);
    EXPECT_EQ(MagnificationBoxText(m), "71.00");
    EXPECT_EQ(MeasureMagnification(m, false), 71.0);

    m = OpenedMagnifications(40.0, 1.0);
    EXPECT_FALSE(m.useAdjusted);
    EXPECT_EQ(MagnificationBoxText(m), "40.00");
    EXPECT_EQ(m.active, 40.0);

    m = OpenedMagnifications(0.5, 0.0);
    EXPECT_EQ(MagnificationBoxText(m), kNoMagnification);
    EXPECT_EQ(kNoMagnification.size(), 30u);
    EXPECT_EQ(MeasureMagnification(m, false), 0.5);
    EXPECT_EQ(MeasureMagnification(m, true), 50.0);
}

TEST(MagnificationRules, SetAndResetPictureMagnification) {
    Magnifications m = OpenedMagnifications(40.0, 71.0);
    EXPECT_EQ(SetPictureMagnification(m, 123.456), "123.5");
    EXPECT_EQ(m.picture, 123.456);
    EXPECT_EQ(m.adjusted, 0.0);
    EXPECT_FALSE(m.useAdjusted);
    EXPECT_EQ(SetPictureMagnification(m, 1.0), "");
    EXPECT_EQ(ResetPictureMagnification(m), kNoMagnification);
    EXPECT_EQ(m.picture, 0.0);
    EXPECT_EQ(m.active, 0.0);
    EXPECT_EQ(CalibrationReference(m.active), 50.0);
    m.adjusted = 0.0;
    m.picture = 20.0;
    RecomputeActive(m);
    EXPECT_EQ(m.active, 20.0);
    m.adjusted = 0.5;
    RecomputeActive(m);
    EXPECT_EQ(m.active, 0.5);
}

TEST(MagnificationRules, EntryRangeAndHyphens) {
    EXPECT_FALSE(AcceptsMagnification(0.5));
    EXPECT_FALSE(AcceptsMagnification(0.99));
    EXPECT_TRUE(AcceptsMagnification(1.0));
    EXPECT_TRUE(AcceptsMagnification(9999.99));
    EXPECT_FALSE(AcceptsMagnification(10000.0));
    EXPECT_FALSE(AcceptsMagnification(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(MagnificationEntryText(0.0), kNoMagnification);
    EXPECT_EQ(MagnificationEntryText(10000.0), kNoMagnification);
    EXPECT_EQ(MagnificationEntryText(71.5), "71.5");
    // The start value reads back whole, so OK without an edit changes nothing.
    EXPECT_EQ(MagnificationEntryText(123.456789), "123.456789");
    EXPECT_EQ(MagnificationEntryText(1660.8527272727274), "1660.8527272727274");
    for (double m : {1.0, 9999.99, 0.1 + 70.0, 1.0 / 3.0 + 40.0}) {
        double back = 0;
        ASSERT_TRUE(ParseMagnificationEntry(MagnificationEntryText(m), back));
        EXPECT_EQ(back, m);
    }
    double v = 0;
    EXPECT_TRUE(ParseMagnificationEntry(" 9999.99 ", v));
    EXPECT_EQ(v, 9999.99);
    EXPECT_FALSE(ParseMagnificationEntry("12x", v));
    EXPECT_FALSE(ParseMagnificationEntry("", v));
    EXPECT_FALSE(ParseMagnificationEntry(kNoMagnification, v));
}

TEST(MagnificationRules, DoubleTravelsInTwoHalves) {
    const double v = 35.5 * 71.0;
    const DoubleHalves h = SplitDouble(v);
    EXPECT_EQ(JoinDouble(h.low, h.high), v);
    EXPECT_EQ(SplitDouble(1.0).high, 0x3FF00000u);
    EXPECT_EQ(SplitDouble(1.0).low, 0u);
}

TEST(MagnificationRules, CalibrationOfAHundredPixelLine) {
    // 100 px x 0.355 x scale 1 at reference 50 posts v = 35.5 x 50.
    const double g = CalibrationReference(0.0);
    const double measured = 100 * 0.355 * 1.0 * g / g;
    EXPECT_EQ(AdjustedText(AdjustedFromActual(measured, "0.5", 0)), "71.00");
    EXPECT_EQ(AdjustedText(AdjustedFromActual(measured, "500", 1)), "71.00");
    EXPECT_NEAR(AdjustedFromActual(measured, "0.5", 0), 71.0, 1e-12);
    EXPECT_NEAR(AdjustedFromActual(25.4, "1", 3), 1.0, 1e-12);
    EXPECT_NEAR(AdjustedFromActual(0.0254, "1", 2), 1.0, 1e-12);
    EXPECT_FALSE(IsUsableAdjusted(AdjustedFromActual(measured, "0", 0)));
    EXPECT_FALSE(IsUsableAdjusted(AdjustedFromActual(measured, "abc", 1)));
    EXPECT_EQ(AdjustedText(AdjustedFromActual(measured, "abc", 1)), kNoMagnification);
}

TEST(CanvasRules, FitAndMapping) {
    CanvasFit fit = FitCanvas(640, 480, 2560, 1920);
    EXPECT_EQ(fit.width, 640);
    EXPECT_EQ(fit.height, 480);
    EXPECT_EQ(fit.left, 0);
    EXPECT_EQ(fit.scale, 0.25f);
    PicturePoint p = MapToPicture(320, 240, 2560, 1920, 640, 480);
    EXPECT_EQ(p.x, 1280);
    EXPECT_EQ(p.y, 960);

    fit = FitCanvas(700, 480, 1200, 1600);  // portrait: height decides
    EXPECT_EQ(fit.width, 360);
    EXPECT_EQ(fit.height, 480);
    EXPECT_EQ(fit.left, 170);
    EXPECT_EQ(fit.top, 0);

    fit = FitCanvas(640, 480, 0, 0);
    EXPECT_EQ(fit.width, 640);
    EXPECT_EQ(fit.scale, 1.0f);
    p = MapToPicture(5, 7, 100, 100, 0, 0);
    EXPECT_EQ(p.x, 5);
    EXPECT_EQ(p.y, 7);
    EXPECT_TRUE(OnCanvas(640, 480, 640, 480));
    EXPECT_FALSE(OnCanvas(641, 10, 640, 480));
    EXPECT_FALSE(OnCanvas(10, 481, 640, 480));
}

TEST(CanvasRules, Cursors) {
    EXPECT_EQ(CursorOfTool(32805), CanvasCursor::kPencil);
    EXPECT_EQ(CursorOfTool(32803), CanvasCursor::kCross);
    EXPECT_EQ(CursorOfTool(32814), CanvasCursor::kCross);
    EXPECT_EQ(CursorOfTool(33200), CanvasCursor::kCross);
    EXPECT_EQ(CursorOfTool(32808), CanvasCursor::kArrow);
    EXPECT_EQ(CursorOfTool(32813), CanvasCursor::kArrow);
    EXPECT_EQ(CursorOfTool(0), CanvasCursor::kArrow);
}

TEST(CanvasRules, ToolGestureAndModifiedCount) {
    CanvasState s;
    s.Loaded();
    EXPECT_FALSE(s.SetTool(32803, false));
    EXPECT_EQ(s.modifiedCount(), 0);
    s.SetGesture(6);
    EXPECT_TRUE(s.SetTool(32806, true));  // the half-placed line is committed
    EXPECT_EQ(s.modifiedCount(), 1);
    EXPECT_EQ(s.toolState(), 0);
    s.SetGesture(10);
    EXPECT_FALSE(s.Cancel());  // first right-click drops the gesture
    EXPECT_EQ(s.tool(), 32806);
    EXPECT_TRUE(s.Cancel());  // the second clears the tool
    EXPECT_EQ(s.tool(), 0);
    s.Undone();
    EXPECT_FALSE(s.modified());
    s.Redone();
    EXPECT_EQ(s.modifiedCount(), 1);
    s.Loaded();
    EXPECT_FALSE(s.modified());
}

TEST(WindowRules, TitleLineKeepsTheLastSeventyOfLongPaths) {
    std::u16string path90(90, u'a');
    for (size_t i = 0; i < 90; ++i) path90[i] = static_cast<char16_t>(u'0' + i % 10);
    const std::u16string line = TitleLine(path90, u"");
    EXPECT_EQ(line.size(), 76u);
    EXPECT_EQ(line.substr(0, 6), u"......");
    EXPECT_EQ(line.substr(6), path90.substr(20));
    const std::u16string path80(80, u'b');
    EXPECT_EQ(TitleLine(path80, u"note"), path80 + u"   --   note");
}

TEST(WindowRules, PropertiesRecordLayout) {
    EditorProperties p;
    p.drawColor = 0x00112233;
    p.measureWidth = 7;
    p.unit = 3;
    p.measureFont.height = -31;
    const EditorProperties::Bytes b = p.ToBytes();
    EXPECT_EQ(b[0], 0x33);
    EXPECT_EQ(b[2], 0x11);
    EXPECT_EQ(b[4], 1);      // draw width
    EXPECT_EQ(b[16], 0xE8);  // text font height -24
    EXPECT_EQ(b[16 + 28], 'A');
    EXPECT_EQ(b[112], 7);
    EXPECT_EQ(b[124], static_cast<uint8_t>(-31));
    EXPECT_EQ(b[216], 3);
    const EditorProperties back = EditorProperties::FromBytes(b.data(), b.size());
    EXPECT_EQ(back.ToBytes(), b);
}

TEST(WindowRules, DamagedPropertiesKeepDefaults) {
    EditorProperties p;
    p.drawWidth = 0;
    p.measureStyle = 9;
    p.unit = -1;
    p.drawColor = 0xFF;
    p.textFont.faceName.fill(u'x');
    const EditorProperties::Bytes b = p.ToBytes();
    const EditorProperties back = EditorProperties::FromBytes(b.data(), b.size());
    EXPECT_EQ(back.drawWidth, 1);
    EXPECT_EQ(back.measureStyle, 0);
    EXPECT_EQ(back.unit, 0);
    EXPECT_EQ(back.drawColor, 0xFFu);
    EXPECT_EQ(back.textFont.faceName[31], 0);
    EXPECT_EQ(back.textFont.faceName[30], u'x');
    EXPECT_EQ(EditorProperties::FromBytes(b.data(), 219).drawColor, 0u);
}

TEST(WindowRules, SaveAsNamesAndSampling) {
    EXPECT_EQ(SaveAsName(u"C:\\P\\abc", 2), u"C:\\P\\abc.JPG");
    EXPECT_EQ(SaveAsName(u"C:\\P\\abc", 1), u"C:\\P\\abc.BMP");
    EXPECT_EQ(SaveAsName(u"C:\\P\\abc.png", 2), u"C:\\P\\abc.png.BMP");
    EXPECT_EQ(SaveAsName(u"C:\\P.D\\abc", 2), u"C:\\P.D\\abc.JPG");
    EXPECT_EQ(SaveAsName(u"abc.jpg", 1), u"abc.jpg");
    // TIFF carries the calibration: the third filter, and .TIF or .TIFF names as typed.
    EXPECT_EQ(SaveAsName(u"C:\\P\\abc", 3), u"C:\\P\\abc.TIF");
    EXPECT_EQ(SaveAsName(u"C:\\P\\abc.tiff", 1), u"C:\\P\\abc.tiff");
    EXPECT_EQ(SaveAsName(u"C:\\P\\abc.tif", 2), u"C:\\P\\abc.tif");
    EXPECT_TRUE(IsTiffName(u"x.TIF") && IsTiffName(u"x.tiff") && !IsTiffName(u"x.TIFX"));
    EXPECT_TRUE(IsJpegName(u"abc.jpg"));
    EXPECT_FALSE(IsJpegName(u"abc.png.BMP"));
    const float r = SampleFactor(1280, 1024, 320, 240);
    EXPECT_EQ(r, 4.0f);
    EXPECT_EQ(SampleIndex(239, r), 956);  // the bottom rows are left out
    EXPECT_EQ(SampleFactor(1280, 960, 320, 240), 4.0f);
}

TEST(WindowRules, LanguageTablesAndMenuImages) {
    EXPECT_EQ(LocaleOfLanguage(501), 2052u);
    EXPECT_EQ(LocaleOfLanguage(513), 1066u);
    EXPECT_EQ(LocaleOfLanguage(500), 0u);
    EXPECT_EQ(EditorMenuOfLanguage(503), 234);
    EXPECT_EQ(EditorMenuOfLanguage(513), 286);
    EXPECT_EQ(EditorMenuImage(32803), 0);
    EXPECT_EQ(EditorMenuImage(32807), 4);
    EXPECT_EQ(EditorMenuImage(32876), 7);
    EXPECT_EQ(EditorMenuImage(32812), 11);
    EXPECT_EQ(EditorMenuImage(32802), 15);
    EXPECT_EQ(EditorMenuImage(32814), 16);
    EXPECT_EQ(EditorMenuImage(32808), -1);
}

}  // namespace
}  // namespace orvane::editor

namespace orvane::editor {
namespace {

TEST(NoteRules, ALongNoteIsCutToTheFieldNeverEmptied) {
    EXPECT_EQ(NoteThatFits(u"short"), u"short");
    const std::u16string full(259, u'n');
    EXPECT_EQ(NoteThatFits(full), full);
    EXPECT_EQ(NoteThatFits(full + u"xyz"), full);
    // A pair of surrogates across the end goes whole.
    std::u16string pair(258, u'n');
    pair += u"\xD83D\xDE00tail";
    EXPECT_EQ(NoteThatFits(pair), std::u16string(258, u'n'));
}

}  // namespace
}  // namespace orvane::editor
