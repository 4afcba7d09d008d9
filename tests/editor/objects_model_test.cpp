#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "editor/model/history.h"
#include "editor/model/shape_sketch.h"
#include "editor/model/style_choice.h"
#include "editor/model/text_entry.h"

namespace orvane::editor {
namespace {

std::vector<StrokeLine> Strokes(const std::vector<DrawOp>& ops, Ink ink) {
    std::vector<StrokeLine> out;
    for (const DrawOp& op : ops)
        if (const auto* s = std::get_if<StrokeLine>(&op); s && s->ink == ink) out.push_back(*s);
    return out;
}

TEST(ShapeSketchTest, LinesAndArrowsBeingPlacedCarryGuidesUntilFixed) {
    ShapeState line{
        ShapeKind::kLine, CornerBox({50, 100}, {150, 100}, false), {50, 100}, {150, 100}, 1, 2};
    const auto placing = SketchShape(line);
    EXPECT_EQ(Strokes(placing, Ink::kPen),
              (std::vector<StrokeLine>{{{50, 100}, {150, 100}, Ink::kPen}}));
    // A horizontal line shows vertical guides through both ends.
    EXPECT_EQ(Strokes(placing, Ink::kGuide),
              (std::vector<StrokeLine>{{{50, 10100}, {50, -9900}, Ink::kGuide},
                                       {{150, 10100}, {150, -9900}, Ink::kGuide}}));
    line.stage = 2;
    line.rect = {0, 0, 0, 0};  // a fixed line draws from start to end, whatever rect holds
    EXPECT_EQ(SketchShape(line),
              (std::vector<DrawOp>{StrokeLine{{50, 100}, {150, 100}, Ink::kPen}}));

    // Width 1 at natural size is a 2-pixel pen: barbs 8 pixels long, 22.5 degrees off the
    // shaft, pointing back to the tail.
    ShapeState arrow{ShapeKind::kArrow, {}, {0, 0}, {100, 0}, 2, 2};
    const auto barbs = Strokes(SketchShape(arrow), Ink::kPen);
    ASSERT_EQ(barbs.size(), 3u);
    EXPECT_EQ(barbs[1], (StrokeLine{{100, 0}, {92, 3}, Ink::kPen}));
    EXPECT_EQ(barbs[2], (StrokeLine{{100, 0}, {92, -3}, Ink::kPen}));
    arrow.stage = 1;
    arrow.rect = CornerBox({0, 0}, {0, 60}, false);
    arrow.end = {0, 60};
    const auto vertical = SketchShape(arrow);
    EXPECT_EQ(Strokes(vertical, Ink::kPen).size(), 3u);
    EXPECT_EQ(Strokes(vertical, Ink::kGuide)[1],
              (StrokeLine{{10000, 60}, {-10000, 60}, Ink::kGuide}));
}

TEST(ShapeSketchTest, RectanglesAndEllipsesAreNormalisedLinesAreNot) {
    EXPECT_EQ(CornerBox({120, 90}, {30, 40}, true), (Box{30, 40, 120, 90}));
    EXPECT_EQ(CornerBox({120, 90}, {30, 40}, false), (Box{120, 90, 30, 40}));
    EXPECT_FALSE(NormalisesCorners(1));
    EXPECT_FALSE(NormalisesCorners(5));
    EXPECT_TRUE(NormalisesCorners(2));
    EXPECT_TRUE(NormalisesCorners(3));
    ShapeState rect{ShapeKind::kRectangle, CornerBox({120, 90}, {30, 40}, true), {}, {}, 1, 1};
    EXPECT_EQ(SketchShape(rect), (std::vector<DrawOp>{Frame{{30, 40, 120, 90}}}));
    rect.kind = ShapeKind::kEllipse;
    EXPECT_EQ(SketchShape(rect), (std::vector<DrawOp>{Outline{{30, 40, 120, 90}}}));
    rect.kind = static_cast<ShapeKind>(4);
    EXPECT_TRUE(SketchShape(rect).empty());
}

TEST(FigurePointsTest, StoresWithinTheFigureLimitOnly) {
    std::vector<Point> list;
    EXPECT_TRUE(StoreFigurePoint(list, 3, {7, 8}));
    EXPECT_EQ(list, (std::vector<Point>{{}, {}, {}, {7, 8}}));
    EXPECT_TRUE(StoreFigurePoint(list, 1023, {1, 1}));
    EXPECT_FALSE(StoreFigurePoint(list, 1024, {2, 2}));
    EXPECT_FALSE(StoreFigurePoint(list, -1, {2, 2}));
    EXPECT_EQ(list.size(), 1024u);
}

TEST(TextEntryTest, TakesPrintableCodesAndRemovesWithDeleteOrBackspace) {
    TextEntry t;
    for (uint32_t code : {0x41u, 0x20u, 0x7Fu, 0x1Fu, 0xE9u, 0x80u, 0xFFu, 0x0Du, 0x4E2Du, 0x100u})
        t.Char(code);
    EXPECT_EQ(t.Text(), u"A \x7F\x4E2D\x100");
    EXPECT_TRUE(t.KeyDown(TextEntry::kKeyDelete));
    EXPECT_TRUE(t.KeyDown(TextEntry::kKeyBackspace));
    EXPECT_FALSE(t.KeyDown(0x25));  // left arrow
    EXPECT_EQ(t.Text(), u"A \x7F");
    t.Clear();
    EXPECT_FALSE(t.KeyDown(TextEntry::kKeyBackspace));
    EXPECT_EQ(t.Text(), u"");
    EXPECT_TRUE(TextEntry::EndsText(0x0D));
    EXPECT_FALSE(TextEntry::EndsText(0x2E));
}

TEST(TextEntryTest, StopsAt1023UnitsAndKeepsSurrogatePairsWhole) {
    TextEntry t;
    for (int i = 0; i < 1100; ++i) t.Char('x');
    EXPECT_EQ(t.Text().size(), 1023u);
    EXPECT_FALSE(t.Char('y'));
    t.KeyDown(TextEntry::kKeyBackspace);
    // One unit of room: the first half of a pair is refused, and so its second half.
    EXPECT_FALSE(t.Char(0xD83D));
    EXPECT_FALSE(t.Char(0xDE00));
    EXPECT_EQ(t.Text().size(), 1022u);
    t.Clear();
    t.Char('a');
    t.Char(0xD83D);
    t.Char(0xDE00);
    EXPECT_EQ(t.Text(), u"a\xD83D\xDE00");
    t.KeyDown(TextEntry::kKeyBackspace);
    EXPECT_EQ(t.Text(), u"a");
}

TEST(TextEntryTest, CursorBlockEndsAtTheAnchorAndPressesInsideDiscard) {
    // A character-height font of 20: 6 wide, 20 high, right edge and bottom on the anchor.
    const Box block = CursorBlock({100, 50}, -20);
    EXPECT_EQ(block, (Box{94, 30, 100, 50}));
    EXPECT_EQ(TextOrigin(block), (Point{100, 30}));
    EXPECT_EQ(CursorBlock({100, 50}, 21), (Box{100, 50, 107, 71}));
    EXPECT_EQ(ClassifyPress(block, {94, 30}), PressWhileTyping::kDiscardText);
    EXPECT_EQ(ClassifyPress(block, {99, 49}), PressWhileTyping::kDiscardText);
    EXPECT_EQ(ClassifyPress(block, {100, 40}), PressWhileTyping::kCommitText);
    EXPECT_EQ(ClassifyPress(block, {96, 50}), PressWhileTyping::kCommitText);
    EXPECT_EQ(ClassifyPress(CursorBlock({5, 5}, 0), {5, 5}), PressWhileTyping::kCommitText);
}

// Pictures are numbers; the traits record which are released.
std::multiset<int> g_closed;
struct FakeTraits {
    static int Invalid() { return 0; }
    static void Close(int picture) { g_closed.insert(picture); }
};
using History = BoundedHistory<int, FakeTraits>;

TEST(HistoryTest, UndoRedoAndPushAfterUndo) {
    g_closed.clear();
    History h(16);
    EXPECT_EQ(h.Current(), 0);
    h.Push(1);  // the loaded picture
    EXPECT_FALSE(h.CanUndo());
    EXPECT_FALSE(h.CanRedo());
    for (int p : {2, 3, 4}) h.Push(p);
    EXPECT_EQ(h.Undo(), 3);
    EXPECT_EQ(h.Undo(), 2);
    EXPECT_TRUE(h.CanRedo());
    EXPECT_EQ(h.Redo(), 3);
    EXPECT_TRUE(h.CanRedo());
    h.Undo();
    h.Push(5);  // replaces picture 3; 4 waits in its slot, out of reach
    EXPECT_FALSE(h.CanRedo());
    EXPECT_EQ(h.Current(), 5);
    EXPECT_EQ(h.Count(), 3);
    EXPECT_EQ(g_closed, (std::multiset<int>{3}));
    h.Push(6);  // overwrites the slot picture 4 was kept in
    EXPECT_EQ(g_closed, (std::multiset<int>{3, 4}));
    // Undo and redo without a step keep the cursor where it is.
    History one(16);
    one.Push(9);
    EXPECT_EQ(one.Undo(), 9);
    EXPECT_EQ(one.Redo(), 9);
    EXPECT_EQ(one.Top(), 0);
}

TEST(HistoryTest, TwentyPushesKeepTheSixteenNewest) {
    g_closed.clear();
    {
        History h(16);
        for (int p = 1; p <= 20; ++p) h.Push(p);
        EXPECT_EQ(h.Top(), 15);
        EXPECT_EQ(h.Count(), 16);
        EXPECT_EQ(g_closed, (std::multiset<int>{1, 2, 3, 4}));
        int undos = 0;
        while (h.CanUndo()) {
            h.Undo();
            ++undos;
        }
        EXPECT_EQ(undos, 15);
        EXPECT_EQ(h.Current(), 5);
        h.Clear();
        EXPECT_EQ(h.Current(), 0);
        EXPECT_EQ(g_closed.size(), 20u);
        h.Push(21);
    }
    // Every picture released exactly once, the last by the history's end.
    std::multiset<int> all;
    for (int p = 1; p <= 21; ++p) all.insert(p);
    EXPECT_EQ(g_closed, all);
}

TEST(HistoryTest, CapacityIsBetweenOneAndSixteen) {
    g_closed.clear();
    EXPECT_EQ(History(40).Capacity(), 16);
    EXPECT_EQ(History(3).Capacity(), 3);
    History none(0);
    EXPECT_EQ(none.Capacity(), 1);
    none.Push(1);
    none.Push(2);
    EXPECT_EQ(none.Current(), 2);
    EXPECT_FALSE(none.CanUndo());
    EXPECT_EQ(g_closed, (std::multiset<int>{1}));
}

TEST(StyleChoiceTest, NothingCheckedStoresTheFirstChoice) {
    EXPECT_EQ(ChoiceOnOk(4, kStyleCount), 4);
    EXPECT_EQ(ChoiceOnOk(8, kWidthCount), 8);
    EXPECT_EQ(ChoiceOnOk(-1, kStyleCount), 0);
    EXPECT_EQ(ChoiceOnOk(5, kStyleCount), 0);
}

}  // namespace
}  // namespace orvane::editor
