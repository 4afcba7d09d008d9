#include <gtest/gtest.h>

#include "app/rules/layout.h"

namespace orvane {
namespace {

TEST(Layout, EdgesFollowTheClientArea) {
    const auto t = BuildLayoutTable(1280, 994);
    EXPECT_EQ(t[7].kind, LayoutKind::Preview);
    EXPECT_EQ((Rect{t[7].x, t[7].y, t[7].width, t[7].height}), (Rect{280, 18, 997, 932}));
    EXPECT_EQ(t[8].id, kLargePreviewCellId);
    EXPECT_EQ(t[8].show, 0);
    EXPECT_EQ(t[9].id, 8192);
    EXPECT_EQ(t[10].id, 8200);
    EXPECT_EQ(t[24].id, 8207);
    EXPECT_EQ(t[24].y, 20 + 120 * 7);
    EXPECT_EQ(t[35].id, 1021);
    EXPECT_EQ(t[35].x, 1280 - 333);
    EXPECT_EQ(t[36].y, 994 - 39);
}

TEST(Layout, VisibleCellsAndLogo) {
    EXPECT_EQ(VisibleCells(994), 14);
    EXPECT_EQ(VisibleCells(2000), 16);
    EXPECT_EQ(VisibleCells(200), 0);
    EXPECT_EQ(VisibleCells(50), 0);
    EXPECT_EQ(LogoRect({280, 18, 997, 932}), (Rect{280 + 218, 18 + 261, 560, 410}));
    EXPECT_EQ(LogoRect({280, 18, 400, 300}), (Rect{280, 18, 400, 300}));
}

}  // namespace
}  // namespace orvane
