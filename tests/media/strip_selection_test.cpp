#include <gtest/gtest.h>

#include "media/strip_rules.h"
#include "media/strip_selection.h"

namespace orvane {
namespace {

// Items 0..9 named P0..P9; cells 1..4 show items first..first+3.
class Strip : public SelectionSource {
  public:
    explicit Strip(size_t first) {
        for (int i = 0; i < 10; ++i) items_.push_back({u'P', static_cast<char16_t>(u'0' + i)});
        for (int k = 1; k <= 4; ++k) cells_[k] = items_[first + k - 1];
    }
    size_t DisplayCount() const override { return items_.size(); }
    const std::u16string& DisplayPath(size_t i) const override { return items_[i]; }
    int CellCount() const override { return 4; }
    const std::u16string& CellPath(int k) const override { return cells_[k]; }

  private:
    std::vector<std::u16string> items_;
    std::u16string cells_[5];
};

using E = SelectionEntry;

TEST(StripSelection, ControlAddsAndRemovesButControlRightKeeps) {
    const Strip strip(0);
    StripSelection s;
    s.Update(1, kClickLeft, strip);
    s.Update(3, kClickLeft | kClickControl, strip);
    EXPECT_EQ(s.entries(), (std::vector<E>{{1, u"P0"}, {3, u"P2"}}));
    s.Update(1, kClickRight | kClickControl, strip);
    EXPECT_TRUE(s.Marked(1));
    s.Update(1, kClickLeft | kClickControl, strip);
    EXPECT_EQ(s.entries(), (std::vector<E>{{3, u"P2"}}));
}

TEST(StripSelection, ShiftExtendsFromTheAnchorInItemOrderWithTheCellsThatShowThem) {
    const Strip strip(2);  // cells 1..4 show items 2..5
    StripSelection s;
    s.Update(4, kClickLeft, strip);  // anchor: item 5
    s.Update(3, kClickLeft | kClickControl, strip);
    s.Update(1, kClickLeft | kClickShift, strip);  // item 2
    EXPECT_EQ(s.entries(), (std::vector<E>{{4, u"P5"}, {1, u"P2"}, {2, u"P3"}, {3, u"P4"}}));
    s.Update(4, kClickLeft | kClickShift, strip);
    EXPECT_EQ(s.entries(), (std::vector<E>{{4, u"P5"}}));
}

TEST(StripSelection, ShiftFromAnAnchorScrolledAwayListsItemsWithoutCells) {
    const Strip shownLater(6);  // cells show items 6..9; the anchor (item 2) is not shown
    StripSelection s;
    s.Append(0, u"P2");
    s.Update(2, kClickLeft | kClickShift, shownLater);  // item 7
    EXPECT_EQ(
        s.entries(),
        (std::vector<E>{{0, u"P2"}, {0, u"P3"}, {0, u"P4"}, {0, u"P5"}, {1, u"P6"}, {2, u"P7"}}));
}

TEST(StripSelection, RightClickKeepsASelectionItHitsAndReplacesOneItMisses) {
    const Strip strip(0);
    StripSelection s;
    s.Update(1, kClickLeft, strip);
    s.Update(2, kClickLeft | kClickControl, strip);
    s.Update(2, kClickRight, strip);
    EXPECT_EQ(s.entries().size(), 2u);
    s.Update(4, kClickRight, strip);
    EXPECT_EQ(s.entries(), (std::vector<E>{{4, u"P3"}}));
    EXPECT_TRUE(s.Update(4, kClickOpen, strip));
    EXPECT_EQ(s.entries().size(), 1u) << "opening leaves the selection";
    s.Update(0, 0, strip);
    EXPECT_TRUE(s.Empty());
}

TEST(StripRules, DoubleClicksQuadrantsAndTexts) {
    EXPECT_TRUE(IsDoubleClick(5, 5, 1700, 1000));
    EXPECT_FALSE(IsDoubleClick(5, 5, 1701, 1000));
    EXPECT_FALSE(IsDoubleClick(5, 5, 100, 0)) << "no click before";
    EXPECT_TRUE(IsDoubleClick(5, 5, 200, 0xFFFFFF00u)) << "the tick count wraps";
    EXPECT_TRUE(IsDoubleClick(-1, -1, 100, 0));
    EXPECT_EQ(HoverQuadrant(60, 60, 118, 120), 1u);
    EXPECT_EQ(HoverQuadrant(59, 61, 118, 120), 2u);
    EXPECT_EQ(QuadrantTextColour(2), 0x0000FFu);
    EXPECT_EQ(PreviewSizeText(2048u << 16 | 1536), u"2048X1536");
    EXPECT_EQ(PreviewSizeText(1024u << 16 | 768), u"");
    EXPECT_EQ(PreviewName(u"C:\\PICS\\TX0123456.BMP"), u"TX0123456");
    EXPECT_EQ(PreviewName(u"NAME"), u"NAME");
    const LocalTime t{2026, 12, 3, 9, 8, 5, 3, 0};
    EXPECT_EQ(CellDateText(t), u"2026-12-9 08:05:03");
    EXPECT_EQ(PreviewTimeText(t), u"2026/12/9 08:05:03");
}

}  // namespace
}  // namespace orvane
