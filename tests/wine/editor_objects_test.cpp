// The editor's drawing and measuring objects drawn into memory surfaces, and the picture
// history's bitmaps.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "editor/objects/draw_figures.h"
#include "editor/objects/draw_measure.h"
#include "editor/objects/stack.h"
#include "gdi_objects.h"

namespace orvane {
namespace {

constexpr COLORREF kGrey = RGB(128, 128, 128);

// A 32-bit memory surface filled with one colour.
class Canvas {
  public:
    Canvas(int width, int height, COLORREF fill) : dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap_.Reset(CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<const uint32_t*>(bits);
        size_ = static_cast<size_t>(width) * static_cast<size_t>(height);
        old_ = SelectObject(dc_.Get(), bitmap_.Get());
        UniqueBrush brush(CreateSolidBrush(fill));
        RECT all{0, 0, width, height};
        FillRect(dc_.Get(), &all, brush.Get());
    }
    ~Canvas() { SelectObject(dc_.Get(), old_); }
    HDC Dc() const { return dc_.Get(); }
    COLORREF At(int x, int y) const { return GetPixel(dc_.Get(), x, y); }
    std::vector<uint32_t> Pixels() const {
        GdiFlush();
        return std::vector<uint32_t>(bits_, bits_ + size_);
    }

  private:
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    const uint32_t* bits_ = nullptr;
    size_t size_ = 0;
    HGDIOBJ old_ = nullptr;
};

// Draws obj and checks the surface's pen, brush and font are the ones it had before.
void DrawRestoring(CDrawObject& obj, const Canvas& canvas) {
    const HGDIOBJ pen = GetCurrentObject(canvas.Dc(), OBJ_PEN);
    const HGDIOBJ brush = GetCurrentObject(canvas.Dc(), OBJ_BRUSH);
    const HGDIOBJ font = GetCurrentObject(canvas.Dc(), OBJ_FONT);
    obj.Draw(canvas.Dc());
    EXPECT_EQ(GetCurrentObject(canvas.Dc(), OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(canvas.Dc(), OBJ_BRUSH), brush);
    EXPECT_EQ(GetCurrentObject(canvas.Dc(), OBJ_FONT), font);
}

LOGFONTW Font(int height) {
    LOGFONTW font{};
    font.lfHeight = height;
    font.lfWeight = FW_BOLD;
    lstrcpyW(font.lfFaceName, L"Arial");
    return font;
}

TEST(EditorObjects, LineBeingPlacedShowsDottedGuidesInTheComplementColour) {
    Canvas canvas(200, 200, kGrey);
    CDrawShape line(CDrawShape::kLine, {});
    line.SetPen(RGB(255, 0, 0), 2, 0);
    line.start = {50, 100};
    line.end = {150, 100};
    line.SetCorners(line.start, line.end);
    DrawRestoring(line, canvas);
    for (int x = 60; x <= 140; x += 10) EXPECT_EQ(canvas.At(x, 100), RGB(255, 0, 0)) << x;
    // Each guide column is dotted: cyan and untouched grey alternate, nothing else.
    for (int x : {50, 150}) {
        int guide = 0;
        for (int y = 0; y < 90; ++y) {
            const COLORREF c = canvas.At(x, y);
            ASSERT_TRUE(c == RGB(0, 255, 255) || c == kGrey) << x << "," << y << " " << c;
            guide += c == RGB(0, 255, 255);
        }
        EXPECT_GT(guide, 30) << x;
        EXPECT_LT(guide, 60) << x;
    }
    for (int y : {10, 190}) EXPECT_EQ(canvas.At(100, y), kGrey);

    // Fixed by the second click: the line alone.
    Canvas fixed(200, 200, kGrey);
    line.stage = 2;
    line.Draw(fixed.Dc());
    EXPECT_EQ(fixed.At(50, 20), kGrey);
    EXPECT_EQ(fixed.At(100, 100), RGB(255, 0, 0));
}

TEST(EditorObjects, RectangleDraggedEitherWayDrawsTheSameHollowOutline) {
    Canvas forward(160, 120, kGrey), backward(160, 120, kGrey);
    CDrawShape a(CDrawShape::kRectangle, {}), b(CDrawShape::kRectangle, {});
    a.SetPen(RGB(0, 0, 255), 4, 1);
    b.SetPen(RGB(0, 0, 255), 4, 1);
    a.SetCorners({30, 40}, {120, 90});
    b.SetCorners({120, 90}, {30, 40});
    EXPECT_TRUE(EqualRect(&a.rect, &b.rect));
    EXPECT_EQ(b.rect.left, 30);
    EXPECT_EQ(b.rect.bottom, 90);
    DrawRestoring(a, forward);
    DrawRestoring(b, backward);
    EXPECT_EQ(forward.Pixels(), backward.Pixels());
    int dashes = 0;  // the left edge in dashes of 6 on, 3 off pen widths
    for (int y = 40; y <= 90; ++y) dashes += forward.At(30, y) == RGB(0, 0, 255);
    EXPECT_GT(dashes, 25);
    EXPECT_LT(dashes, 45);
    EXPECT_EQ(forward.At(75, 65), kGrey);  // hollow
    // Lines keep their corners: the tail stays first.
    CDrawShape line(CDrawShape::kLine, {});
    line.SetCorners({120, 90}, {30, 40});
    EXPECT_EQ(line.rect.left, 120);
    EXPECT_EQ(line.rect.bottom, 40);
}

TEST(EditorObjects, TextBeingTypedHasAnInvertedCursorBlockACommittedOneNone) {
    const COLORREF back = RGB(200, 100, 50), inverted = RGB(55, 155, 205);
    CDrawText text;
    text.SetFont(Font(-20), RGB(0, 0, 0));
    text.PlaceCursorBlock({100, 100});
    EXPECT_EQ(text.rect.left, 94);
    EXPECT_EQ(text.rect.top, 80);
    for (wchar_t c : std::wstring(L"Hi\x00E9\x4E2D")) text.OnChar(c);
    EXPECT_EQ(text.Text(), L"Hi\x4E2D");
    EXPECT_EQ(text.ClassifyPress({96, 90}), editor::PressWhileTyping::kDiscardText);

    Canvas typing(200, 150, back);
    DrawRestoring(text, typing);
    EXPECT_EQ(typing.At(94, 80), inverted);
    EXPECT_EQ(typing.At(99, 99), inverted);
    EXPECT_EQ(typing.At(93, 90), back);
    EXPECT_EQ(typing.At(97, 100), back);
    int ink = 0;  // the text runs right of the block
    for (int y = 80; y < 100; ++y)
        for (int x = 100; x < 140; ++x) ink += typing.At(x, y) == RGB(0, 0, 0);
    EXPECT_GT(ink, 20);

    text.committed = 1;
    Canvas done(200, 150, back);
    text.Draw(done.Dc());
    for (int y = 80; y < 100; ++y)
        for (int x = 94; x < 100; ++x) ASSERT_EQ(done.At(x, y), back) << x << "," << y;
}

TEST(EditorObjects, MeasuringLineDrawsItsLabelAndHandsOnItsLength) {
    Canvas canvas(300, 200, RGB(255, 255, 255));
    CDrawMeasure line(1, {});
    line.SetPen(RGB(0, 128, 0), 2, 0);
    line.SetFont(Font(-16), RGB(255, 0, 0));
    line.magnification = 50;
    line.SetPoint(0, {20, 50});
    line.SetPoint(1, {120, 50});
    line.pointCount = 2;
    line.SetCorners({120, 50}, {150, 120});
    EXPECT_EQ(line.rect.left, 120);  // never normalised: the pointer stays second
    EXPECT_FALSE(line.SetPoint(1024, {1, 1}));
    DrawRestoring(line, canvas);
    EXPECT_DOUBLE_EQ(line.result, 35.5);
    EXPECT_EQ(canvas.At(70, 50), RGB(0, 128, 0));
    EXPECT_EQ(canvas.At(120, 55), RGB(0, 128, 0));  // the short end mark, 3 widths long
    EXPECT_EQ(canvas.At(120, 58), RGB(255, 255, 255));
    int label = 0;  // "0.710 mm" at the pointer in the label colour
    for (int y = 120; y < 140; ++y)
        for (int x = 150; x < 220; ++x) label += canvas.At(x, y) == RGB(255, 0, 0);
    EXPECT_GT(label, 30);
    const auto labels = line.Sketch(-16).ops;
    EXPECT_EQ(std::get<editor::Label>(labels.back()).text, "0.710 mm");
}

TEST(EditorObjects, ObjectsAndAFullHistoryReleaseEveryGdiObject) {
    Canvas canvas(64, 64, kGrey);
    const int before = test::LiveGdiObjects();
    {
        Stack history;
        for (int i = 0; i < 40; ++i) {
            auto pen = std::make_unique<CDrawPen>();
            pen->SetPen(RGB(i, 0, 0), 3, i % 5);
            pen->SetPen(RGB(i, 0, 0), 4, i % 5);  // the second pen replaces the first
            pen->AddPoint({1, 1});
            pen->AddPoint({30, 40});
            pen->Draw(canvas.Dc());
            CDrawShape arrow(CDrawShape::kArrow, {});
            arrow.SetPen(0, 2, 3);
            arrow.Draw(canvas.Dc());
            CDrawMeasure arc(8, {});
            arc.SetPen(0, 2, 0);
            arc.SetFont(Font(-12), 0);
            arc.Draw(canvas.Dc());
            CDrawText text;
            text.SetFont(Font(-12), 0);
            text.Draw(canvas.Dc());
            history.Push(CreateCompatibleBitmap(canvas.Dc(), 8, 8));
            if (i % 7 == 3 && history.CanUndo()) history.Undo();
        }
        EXPECT_EQ(history.Count(), 16);
        EXPECT_GT(test::LiveGdiObjects(), before);
        history.Clear();
        history.Push(CreateCompatibleBitmap(canvas.Dc(), 8, 8));
    }
    EXPECT_EQ(test::LiveGdiObjects(), before);
}

// Each history entry is a full 24-bit copy of the picture; a full history of the camera's
// largest picture (3488 x 2616) holds sixteen of them.
TEST(EditorObjects, FullHistoryOfTheLargestPictureHoldsSixteenCopies) {
    constexpr int kWidth = 3488, kHeight = 2616;
    constexpr double kPictureBytes = kWidth * 3.0 * kHeight;  // rows are already 4-byte aligned
    const double before = test::CommittedBytes();
    double full = 0;
    {
        Stack history;
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, kWidth, -kHeight, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        for (int i = 0; i < 20; ++i) {
            void* bits = nullptr;
            HBITMAP picture = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
            ASSERT_NE(picture, nullptr) << i;
            history.Push(picture);
        }
        full = test::CommittedBytes() - before;
    }
    const double after = test::CommittedBytes() - before;
    std::printf("full history of %d x %d: %.1f MiB (%.2f pictures); after release %.1f MiB\n",
                kWidth, kHeight, full / 1048576, full / kPictureBytes, after / 1048576);
    EXPECT_GT(full, 15.9 * kPictureBytes);
    EXPECT_LT(full, 16.5 * kPictureBytes);
    EXPECT_LT(after, 0.5 * kPictureBytes);
}

}  // namespace
}  // namespace orvane
