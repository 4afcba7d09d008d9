#include <gtest/gtest.h>

#include "app/rules/dialog_rules.h"

namespace orvane {
namespace {

TEST(HyperLink, ColourFollowsStateAndOptions) {
    const uint32_t o = kDefaultLinkOptions;
    EXPECT_EQ(ChooseLinkColour({}, o), LinkColour::Normal);
    EXPECT_EQ(ChooseLinkColour({false, false, true}, o), LinkColour::Visited);
    EXPECT_EQ(ChooseLinkColour({true, true, true}, o), LinkColour::Hover);
    EXPECT_EQ(ChooseLinkColour({true, true, false}, o & ~kLinkHoverColour), LinkColour::Focused);
    EXPECT_EQ(ChooseLinkColour({false, true, true}, o | kLinkIgnoreFocus), LinkColour::Visited);
}

TEST(HyperLink, BrowserFallbackCommand) {
    EXPECT_EQ(BrowserCommandLine(L"\"C:\\b.exe\" -nohome \"%1\"", L"http://x"),
              L"\"C:\\b.exe\" -nohome  http://x");
    EXPECT_EQ(BrowserCommandLine(L"b.exe %1", L"t"), L"b.exe  t");
    EXPECT_EQ(BrowserCommandLine(L"b.exe", L"t"), L"b.exe t");
}

TEST(HyperLink, ShellErrorReasons) {
    EXPECT_EQ(ShellErrorReason(2), L"The specified file was not found.");
    EXPECT_EQ(ShellErrorReason(26), L"A sharing violation occurred. ");
    EXPECT_EQ(ShellErrorReason(17), L"Unknown Error (17) occurred.");
}

TEST(HyperLink, SizeToTextKeepsTheAlignedEdge) {
    const IntRect c{10, 20, 110, 40};
    EXPECT_EQ(SizeToText(c, 50, 10, 2, 2, {}), (IntRect{10, 20, 62, 32}));
    EXPECT_EQ(SizeToText(c, 50, 10, 0, 0, {true, true, false}), (IntRect{35, 25, 85, 35}));
    EXPECT_EQ(SizeToText(c, 50, 10, 0, 0, {false, false, true}), (IntRect{60, 20, 110, 30}));
}

TEST(StatusWindow, GreenRunsAreCutRowByRow) {
    constexpr uint32_t G = 0x00FF00, R = 0xFF0000;
    const uint32_t pixels[] = {G, G, R, G,  //
                               R, R, R, R,  //
                               G, R, G, G};
    const auto runs = KeyColourRuns(pixels, 4, 3, G);
    const std::vector<IntRect> expected = {{0, 0, 2, 1}, {3, 0, 4, 1}, {0, 2, 1, 3}, {2, 2, 4, 3}};
    EXPECT_EQ(runs, expected);
    EXPECT_TRUE(KeyColourRuns(nullptr, 4, 3, G).empty());
    EXPECT_TRUE(KeyColourRuns(pixels, 0, 3, G).empty());
}

}  // namespace
}  // namespace orvane
