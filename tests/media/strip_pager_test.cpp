#include "media/strip_pager.h"

#include <gtest/gtest.h>

#include "media/media_browser.h"
#include "tests/media/fake_media_files.h"

namespace orvane {
namespace {

StripPager Pager(int64_t n, int cells, int page, int64_t first = -1) {
    StripPager p;
    p.SetSizes(n, cells, page);
    p.ShowLastPage();
    if (first >= 0) p.set_first(first);
    return p;
}

TEST(StripPagerTest, LastPageStartsEvenAndHidesCellsPastTheEnd) {
    StripPager p = Pager(0, 8, 8);
    EXPECT_EQ(p.first(), 0);
    EXPECT_FALSE(p.ItemOfCell(1));
    p = Pager(5, 8, 8);
    EXPECT_EQ(p.first(), 0);
    EXPECT_EQ(p.ItemOfCell(5), 4);
    EXPECT_FALSE(p.ItemOfCell(6));
    EXPECT_FALSE(p.ItemOfCell(8));
    p = Pager(21, 8, 8);  // 13 is odd
    EXPECT_EQ(p.first(), 14);
    EXPECT_EQ(p.ItemOfCell(1), 14);
    EXPECT_EQ(p.ItemOfCell(7), 20);
    EXPECT_FALSE(p.ItemOfCell(8));
    EXPECT_FALSE(p.ItemOfCell(0));
    EXPECT_FALSE(p.ItemOfCell(9));
    EXPECT_EQ(Pager(40, 8, 8).first(), 32);
}

TEST(StripPagerTest, RowAndPageMoves) {
    StripPager p = Pager(21, 8, 8, 13);  // first = n - C
    p.RowDown();
    EXPECT_EQ(p.first(), 13);
    p.set_first(1);
    p.RowUp();
    EXPECT_EQ(p.first(), 0);
    p.RowDown();
    EXPECT_EQ(p.first(), 2);
    p.PageDown();
    EXPECT_EQ(p.first(), 10);
    p.PageDown();  // 10 < 13: moves past the last full page
    EXPECT_EQ(p.first(), 18);
    p.PageDown();
    EXPECT_EQ(p.first(), 18);
    p.PageUp();
    p.PageUp();
    p.PageUp();
    EXPECT_EQ(p.first(), 0);
    // Page moves are not made even: with an odd page the start turns odd.
    StripPager odd = Pager(30, 7, 7, 0);
    odd.PageDown();
    EXPECT_EQ(odd.first(), 7);
}

TEST(StripPagerTest, ScrollTo) {
    StripPager p = Pager(40, 8, 8, 0);
    EXPECT_TRUE(p.ScrollTo(500, 1000));
    EXPECT_EQ(p.first(), 16);
    EXPECT_FALSE(p.ScrollTo(500, 1000));  // same place: no refill
    EXPECT_TRUE(p.ScrollTo(1000, 1000));
    EXPECT_EQ(p.first(), 32);
    EXPECT_TRUE(p.ScrollTo(20, 1000));  // r = 0, c = 0
    EXPECT_EQ(p.first(), 0);
    p.ScrollTo(35, 1000);  // r = 1, r + 1 = 2
    EXPECT_EQ(p.first(), 2);
    // No range: first is clamped to the last page start, then made even, always refilled.
    p.set_first(39);
    EXPECT_TRUE(p.ScrollTo(0, 0));
    EXPECT_EQ(p.first(), 32);
    EXPECT_TRUE(p.ScrollTo(0, 0));
    EXPECT_EQ(p.first(), 32);
    // n <= P: r <= 0 and first = 0.
    StripPager small = Pager(5, 8, 8, 0);
    EXPECT_FALSE(small.ScrollTo(500, 1000));
    EXPECT_EQ(small.first(), 0);
    small.set_first(3);
    EXPECT_TRUE(small.ScrollTo(1000, 1000));
    EXPECT_EQ(small.first(), 0);
    small.set_first(3);
    small.ScrollTo(0, 0);
    EXPECT_EQ(small.first(), 0);
    // Large lists do not overflow the product.
    StripPager huge = Pager(int64_t{1} << 40, 8, 8, 0);
    huge.ScrollTo(1000, 1000);
    EXPECT_EQ(huge.first(), (int64_t{1} << 40) - 8);
}

struct RecordingMoves : ScrollMoves {
    int clears = 0;
    int fills = 0;
    std::function<void()> onFill;
    void ClearSelection() override { ++clears; }
    void FillCells() override {
        ++fills;
        if (onFill) onFill();
    }
};

TEST(StripScrollTest, StepsAndClamping) {
    StripScrollHandler h;
    RecordingMoves moves;
    StripPager p = Pager(11, 8, 8, 0);  // n - P = 3: step 333 * 2
    EXPECT_EQ(p.ScrollStep(), 666);
    int off = 0;
    off = *h.Handle(kScrollLineDown, 0, off, p, moves);
    EXPECT_EQ(off, 666);
    EXPECT_EQ(p.first(), 2);
    off = *h.Handle(kScrollLineDown, 0, off, p, moves);
    EXPECT_EQ(off, 1000);
    off = *h.Handle(kScrollPageUp, 0, off, p, moves);  // 1000 - 666 * 4
    EXPECT_EQ(off, 0);
    EXPECT_EQ(p.first(), 0);
    off = *h.Handle(kScrollPageDown, 0, off, p, moves);
    EXPECT_EQ(off, 1000);
    EXPECT_EQ(p.first(), 8);
    off = *h.Handle(kScrollLineUp, 0, off, p, moves);
    EXPECT_EQ(off, 334);
    EXPECT_EQ(p.first(), 6);
    EXPECT_EQ(moves.clears, 5);
    EXPECT_EQ(moves.fills, 5);

    EXPECT_EQ(Pager(8, 8, 8).ScrollStep(), 1000);
    EXPECT_EQ(Pager(3008, 8, 8).ScrollStep(), 0);  // more than 1000 beyond a page

    StripPager big = Pager(40, 8, 8, 0);
    EXPECT_EQ(*h.Handle(kScrollThumbTrack, 500, 0, big, moves), 500);
    EXPECT_EQ(big.first(), 16);
    const int fills = moves.fills;
    EXPECT_EQ(*h.Handle(kScrollThumbTrack, 500, 0, big, moves), 500);
    EXPECT_EQ(moves.fills, fills);  // unchanged place: no refill
    // Other notifications move nothing and keep the position.
    EXPECT_EQ(*h.Handle(kScrollThumbPosition, 900, 250, big, moves), 250);
    EXPECT_EQ(*h.Handle(8, 0, 1200, big, moves), 1000);
    EXPECT_EQ(big.first(), 16);
}

TEST(StripScrollTest, NotificationDuringAnotherIsDropped) {
    StripScrollHandler h;
    RecordingMoves moves;
    StripPager p = Pager(40, 8, 8, 0);
    std::optional<int> inner = 42;
    moves.onFill = [&] { inner = h.Handle(kScrollLineDown, 0, 0, p, moves); };
    EXPECT_EQ(h.Handle(kScrollLineDown, 0, 0, p, moves), 2 * (1000 / 32));
    EXPECT_FALSE(inner);
    EXPECT_EQ(p.first(), 2);  // only the outer move ran
    moves.onFill = nullptr;
    EXPECT_TRUE(h.Handle(kScrollLineDown, 0, 0, p, moves));  // the guard is released
}

struct FakeStrip : StripView {
    std::vector<const std::u16string*> cells = std::vector<const std::u16string*>(17, nullptr);
    int clears = 0;
    int redraws = 0;
    int scrollPos = -1;
    void ClearSelection() override { ++clears; }
    void SetCell(int k, const std::u16string* path) override { cells.at(k) = path; }
    void RedrawStrip() override { ++redraws; }
    void SetScrollPos(int pos) override { scrollPos = pos; }
};

struct NoAvi : AviLibrary {
    void Begin() override {}
    void End() override {}
    std::unique_ptr<AviClip> Open(const std::u16string&) override { return nullptr; }
};

TEST(MediaBrowserTest, ShowsTheMergedListOnItsLastPage) {
    test::FakeMediaFiles files;
    files.AddFolder(u"C:\\P");
    files.AddFolder(u"C:\\V");
    files.AddFolder(u"C:\\V\\thumb");
    for (int i = 0; i < 19; ++i) {
        files.AddFile(u"C:\\P\\TX00000" + std::u16string(1, u'A' + i) + u"0.BMP");
    }
    files.AddFile(u"C:\\V\\TX00000B0.AVI");
    files.AddFile(u"C:\\V\\thumb\\TX00000B0.BMP");
    NoAvi avi;
    FakeStrip strip;
    MediaBrowser browser(files, avi, strip);
    browser.SetFolders({u"C:\\P", u"C:\\V", u"C:\\V\\thumb"});
    browser.SetLayout(8, 8);
    browser.RebuildMediaLists();
    browser.RunCommand(kCmdShowVideos);
    EXPECT_EQ(browser.view(), MediaView::Video);
    EXPECT_EQ(strip.scrollPos, -1);  // video view leaves the bar alone
    browser.AppendPicture(u"C:\\P\\TX00000Z0.BMP");
    browser.ShowDisplayList(MediaView::Picture);
    ASSERT_EQ(browser.display().size(), 21u);
    // The clip and the picture of one step: the clip comes first.
    EXPECT_EQ(browser.display()[1], (DisplayItem{true, 0}));
    EXPECT_EQ(browser.display()[2], (DisplayItem{false, 1}));
    EXPECT_EQ(browser.pager().first(), 14);
    EXPECT_EQ(strip.scrollPos, 1000);
    ASSERT_NE(strip.cells[7], nullptr);
    EXPECT_EQ(*strip.cells[7], u"C:\\P\\TX00000Z0.BMP");
    EXPECT_EQ(strip.cells[8], nullptr);
    EXPECT_EQ(strip.redraws, 2);

    browser.RunCommand(kCmdRowUp);
    EXPECT_EQ(*strip.cells[8], u"C:\\P\\TX00000S0.BMP");
    browser.ScrollTo(0, 1000);
    EXPECT_EQ(*strip.cells[2], u"C:\\V\\thumb\\TX00000B0.BMP");
    EXPECT_EQ(browser.OnScroll(kScrollPageDown, 0, 0), 1000 / 13 * 2 * 4);
    EXPECT_EQ(strip.scrollPos, 1000 / 13 * 2 * 4);
    EXPECT_EQ(browser.pager().first(), 8);
    EXPECT_EQ(strip.clears, 5);
}

TEST(MediaBrowserTest, EmptyFoldersHideEveryCell) {
    test::FakeMediaFiles files;
    NoAvi avi;
    FakeStrip strip;
    MediaBrowser browser(files, avi, strip);
    browser.SetFolders({u"C:\\missing", u"C:\\gone", u"C:\\gone\\thumb"});
    browser.SetLayout(8, 8);
    browser.RebuildMediaLists();
    browser.ShowDisplayList(MediaView::Picture);
    EXPECT_TRUE(browser.display().empty());
    EXPECT_EQ(browser.pager().first(), 0);
    EXPECT_EQ(strip.scrollPos, 0);
    for (int k = 1; k <= 8; ++k) EXPECT_EQ(strip.cells[k], nullptr);
    EXPECT_EQ(browser.OnScroll(kScrollLineDown, 0, 0), 1000);
    EXPECT_TRUE(browser.RunCommand(kCmdPageDown));
    EXPECT_EQ(browser.pager().first(), 0);
    EXPECT_FALSE(browser.RunCommand(1015));
}

}  // namespace
}  // namespace orvane

namespace orvane {
namespace {

TEST(MediaBrowserTest, ARebuildWithFewerFilesLeavesNoIndexPastTheLists) {
    NoAvi avi;
    FakeStrip strip;
    test::FakeMediaFiles fewer;
    fewer.AddFolder(u"C:\\P");
    fewer.AddFile(u"C:\\P\\TX00000A0.BMP");
    MediaBrowser again(fewer, avi, strip);
    again.SetFolders({u"C:\\P", u"C:\\V", u"C:\\V\\thumb"});
    again.SetLayout(8, 8);
    again.RebuildMediaLists();
    again.ShowDisplayList(MediaView::Picture);
    again.AppendPicture(u"C:\\P\\TX00000B0.BMP");
    again.RebuildMediaLists();  // the appended picture is not on disk: the lists shrink
    EXPECT_TRUE(again.display().empty()) << "the display list goes with the old lists";
    EXPECT_EQ(again.PathOf(DisplayItem{false, 1}), u"");
    EXPECT_TRUE(again.RunCommand(kCmdRowDown));
    EXPECT_EQ(strip.cells[1], nullptr) << "a move after the rebuild shows nothing stale";
}

}  // namespace
}  // namespace orvane
