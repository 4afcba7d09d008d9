#include "media/capture_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "tests/media/fake_media_files.h"

namespace orvane {
namespace {

int64_t TicksOfStep(int64_t step) {
    return kCaptureEpochTicks + step * kTicksPerStep;
}

const CaptureFolders kFolders{u"C:\\Users\\ann\\Documents\\Orvane\\pictures",
                              u"C:\\Users\\ann\\Documents\\Orvane\\videos\\"};

TEST(CaptureName, DigitsAreBase36OfFiftyMillisecondSteps) {
    EXPECT_EQ(CaptureNameOfStep(0), u"TX0000000");
    EXPECT_EQ(CaptureNameOfStep(35), u"TX000000Z");
    EXPECT_EQ(CaptureNameOfStep(36), u"TX0000010");
    EXPECT_EQ(CaptureNameOfStep(kStepsPerCycle - 1), u"TXZZZZZZZ");
    EXPECT_EQ(CaptureNameOfStep(kStepsPerCycle), u"TX0000000");  // the count wraps
    // 2026-12-09 11:40:00 UTC.
    const int64_t ticks = 134098992000000000LL;
    EXPECT_EQ(CaptureStep(ticks), (ticks - kCaptureEpochTicks) / kTicksPerStep);
}

TEST(CaptureName, StepBoundariesDecideEquality) {
    const int64_t t = TicksOfStep(123456);
    EXPECT_EQ(MakeCaptureName(CaptureKind::Picture, kFolders, t),
              MakeCaptureName(CaptureKind::Picture, kFolders, t + kTicksPerStep - 1));
    EXPECT_NE(MakeCaptureName(CaptureKind::Picture, kFolders, t),
              MakeCaptureName(CaptureKind::Picture, kFolders, t + kTicksPerStep));
}

TEST(CaptureName, ClockBeforeTheCountGivesStepZero) {
    EXPECT_EQ(CaptureStep(0), 0);
    EXPECT_EQ(CaptureStep(kCaptureEpochTicks - 1), 0);
    EXPECT_EQ(CaptureStep(-5), 0);
    EXPECT_EQ(MakeCaptureName(CaptureKind::Video, {u"C:\\p", u"C:\\v"}, 0),
              u"C:\\V\\TX0000000.AVI");
}

TEST(CaptureName, PathsAreUpperCasedWithOneSeparator) {
    const int64_t t = TicksOfStep(36);
    EXPECT_EQ(MakeCaptureName(CaptureKind::Picture, kFolders, t),
              u"C:\\USERS\\ANN\\DOCUMENTS\\ORVANE\\PICTURES\\TX0000010");
    EXPECT_EQ(MakeCaptureName(CaptureKind::Video, kFolders, t),
              u"C:\\USERS\\ANN\\DOCUMENTS\\ORVANE\\VIDEOS\\TX0000010.AVI");
    EXPECT_EQ(MakeCaptureName(CaptureKind::Picture, {u"d:\\bilder\u00e4", u""}, t),
              u"D:\\BILDER\u00c4\\TX0000010");
}

TEST(CaptureName, TooLongFolderGivesNoPath) {
    const CaptureFolders longest{std::u16string(249, u'a'), std::u16string(245, u'a')};
    EXPECT_EQ(MakeCaptureName(CaptureKind::Picture, longest, 0).size(), 259u);
    EXPECT_EQ(MakeCaptureName(CaptureKind::Video, longest, 0).size(), 259u);
    const CaptureFolders tooLong{std::u16string(250, u'a'), std::u16string(246, u'a')};
    EXPECT_TRUE(MakeCaptureName(CaptureKind::Picture, tooLong, 0).empty());
    EXPECT_TRUE(MakeCaptureName(CaptureKind::Video, tooLong, 0).empty());
}

TEST(CaptureName, CodeUnitOrderIsTimeOrder) {
    std::vector<std::u16string> names;
    for (int64_t step : {36, 35, 360, 1295, 1296, 0, 46655, 46656}) {
        names.push_back(CaptureNameOfStep(step) + u".BMP");
    }
    std::sort(names.begin(), names.end());
    const std::vector<std::u16string> expected = {
        u"TX0000000.BMP", u"TX000000Z.BMP", u"TX0000010.BMP", u"TX00000A0.BMP",
        u"TX00000ZZ.BMP", u"TX0000100.BMP", u"TX0000ZZZ.BMP", u"TX0001000.BMP"};
    EXPECT_EQ(names, expected);
    EXPECT_LT(std::u16string(u"TX000009Z.JPG"), std::u16string(u"TX00000A0.JPG"));
    EXPECT_GT(kEndSentinel, std::u16string_view(u"TXZZZZZZZ.JPG"));
    EXPECT_GT(kEndSentinel, std::u16string_view(u"TXZZZZZZZ.AVI"));
}

TEST(IsCaptureFileNameTest, FollowsTheSixSteps) {
    EXPECT_TRUE(IsCaptureFileName(u"tx1a2b3c4.bmp"));
    EXPECT_TRUE(IsCaptureFileName(u"TX1A2B3C4.JPG"));
    EXPECT_TRUE(IsCaptureFileName(u"TX1A2B3C4.avi"));
    EXPECT_TRUE(IsCaptureFileName(u"TX1A2B3C4XBMP"));  // position 9 is not tested
    EXPECT_FALSE(IsCaptureFileName(u"TX1A2B3C4.PNG"));
    EXPECT_FALSE(IsCaptureFileName(u"TX1A2B3C.BMP"));
    EXPECT_FALSE(IsCaptureFileName(u"TX1A2B3C45.BMP"));
    EXPECT_FALSE(IsCaptureFileName(u"TX1A-B3C4.BMP"));
    EXPECT_FALSE(IsCaptureFileName(u"TY1A2B3C4.BMP"));
    EXPECT_FALSE(IsCaptureFileName(u"TX1A2B3C4.BM"));
    EXPECT_FALSE(IsCaptureFileName(u"TX1A2B 3C4.BMP"));
    EXPECT_FALSE(IsCaptureFileName(u"TX1A2B3 4.BMP"));
    EXPECT_FALSE(IsCaptureFileName(u""));
    EXPECT_FALSE(IsCaptureFileName(u"."));
    EXPECT_FALSE(IsCaptureFileName(u".."));
    EXPECT_FALSE(IsCaptureFileName(u"BMP"));
    // Letters beyond ASCII are alphanumeric and upper-cased first, as the platform treats them.
    EXPECT_TRUE(IsCaptureFileName(u"TX1A2B3C\u00e9.BMP"));
    EXPECT_FALSE(IsCaptureFileName(u"TX1A2B3C\u00df.BMP"));  // sharp s has no capital form
    EXPECT_FALSE(IsCaptureFileName(u"TX1A2B3C\u00b2.BMP"));  // superscript two is no letter
}

TEST(FreeCaptureName, TakesTheNextStepWhileTheNameIsTaken) {
    const int64_t t = TicksOfStep(100);
    std::set<std::u16string> existing;
    auto exists = [&](const std::u16string& p) { return existing.count(p) != 0; };
    const std::u16string first = MakeFreeCaptureName(CaptureKind::Picture, kFolders, t, exists);
    EXPECT_EQ(first, MakeCaptureName(CaptureKind::Picture, kFolders, t));
    existing.insert(first + u".BMP");
    const std::u16string second = MakeFreeCaptureName(CaptureKind::Picture, kFolders, t, exists);
    EXPECT_EQ(second, MakeCaptureName(CaptureKind::Picture, kFolders, t + kTicksPerStep));
    // A JPEG of the next name also takes it: both would share one side file.
    existing.insert(second + u".JPG");
    const std::u16string third = MakeFreeCaptureName(CaptureKind::Picture, kFolders, t, exists);
    EXPECT_EQ(third, MakeCaptureName(CaptureKind::Picture, kFolders, t + 2 * kTicksPerStep));
    EXPECT_LT(first, second);
    EXPECT_LT(second, third);
    EXPECT_EQ(third.size(), first.size());
}

TEST(FreeCaptureName, VideosAndGivingUp) {
    const int64_t t = TicksOfStep(7);
    const std::u16string taken = MakeCaptureName(CaptureKind::Video, kFolders, t);
    auto one = [&](const std::u16string& p) { return p == taken; };
    EXPECT_EQ(MakeFreeCaptureName(CaptureKind::Video, kFolders, t, one),
              MakeCaptureName(CaptureKind::Video, kFolders, t + kTicksPerStep));
    auto all = [](const std::u16string&) { return true; };
    EXPECT_TRUE(MakeFreeCaptureName(CaptureKind::Video, kFolders, t, all, 5).empty());
    // The picture path must leave room for the extension the caller adds.
    const CaptureFolders edge{std::u16string(245, u'a'), u""};
    auto none = [](const std::u16string&) { return false; };
    EXPECT_EQ(MakeFreeCaptureName(CaptureKind::Picture, edge, t, none).size(), 255u);
    const CaptureFolders over{std::u16string(246, u'a'), u""};
    EXPECT_TRUE(MakeFreeCaptureName(CaptureKind::Picture, over, t, none).empty());
}

TEST(FreeCaptureName, SecondPhotoOfOneStepIsKept) {
    test::FakeMediaFiles files;
    test::FakeClock clock;
    files.AddFolder(u"C:\\PICS");
    clock.ticks = TicksOfStep(5000) + 10;
    const CaptureFolders folders{u"C:\\Pics", u"C:\\Vids"};
    const std::u16string a = MakeFreeCaptureName(CaptureKind::Picture, folders, clock, files);
    EXPECT_EQ(a, MakeCaptureName(CaptureKind::Picture, folders, clock));
    files.AddFile(a + u".BMP");
    clock.ticks += 20;  // still the same 50-ms step
    const std::u16string b = MakeFreeCaptureName(CaptureKind::Picture, folders, clock, files);
    EXPECT_EQ(b, u"C:\\PICS\\" + CaptureNameOfStep(5001));
}

}  // namespace
}  // namespace orvane
