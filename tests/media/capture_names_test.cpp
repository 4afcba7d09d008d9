#include "media/capture_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/media/fake_media_files.h"

namespace orvane {
namespace {

int64_t TicksOfStep(int64_t step) {
    return kCaptureEpochTicks + step * kTicksPerStep;
}

const CaptureFolders kFolders{u"C:\\Users\\ann\\Documents\\Orvane\\pictures",
                              u"C:\\Users\\ann\\Documents\\Orvane\\videos\\"};

TEST(CaptureName, DigitsCountFiftyMillisecondSteps) {
    // 2026-12-09 11:40:00 UTC.
    EXPECT_EQ(MakeCaptureName(CaptureKind::Picture, {u"C:\\p", u""}, 134412900000000000LL),
              u"C:\\P\\TX375JFT5");
    EXPECT_EQ(CaptureNameOfStep(kStepsPerCycle - 1), u"TXZZZZZZZ");
    EXPECT_EQ(CaptureNameOfStep(kStepsPerCycle), u"TX0000000");  // the count wraps
    const int64_t t = TicksOfStep(123456);
    EXPECT_EQ(MakeCaptureName(CaptureKind::Picture, kFolders, t),
              MakeCaptureName(CaptureKind::Picture, kFolders, t + kTicksPerStep - 1));
    EXPECT_NE(MakeCaptureName(CaptureKind::Picture, kFolders, t),
              MakeCaptureName(CaptureKind::Picture, kFolders, t + kTicksPerStep));
    // A clock before the start of the count gives step 0.
    EXPECT_EQ(MakeCaptureName(CaptureKind::Video, {u"C:\\p", u"C:\\v"}, kCaptureEpochTicks - 1),
              u"C:\\V\\TX0000000.AVI");
    EXPECT_EQ(CaptureStep(-5), 0);
}

TEST(CaptureName, PathsAreUpperCasedWithOneSeparatorWithinTheLimit) {
    const int64_t t = TicksOfStep(36);
    EXPECT_EQ(MakeCaptureName(CaptureKind::Picture, kFolders, t),
              u"C:\\USERS\\ANN\\DOCUMENTS\\ORVANE\\PICTURES\\TX0000010");
    EXPECT_EQ(MakeCaptureName(CaptureKind::Video, kFolders, t),
              u"C:\\USERS\\ANN\\DOCUMENTS\\ORVANE\\VIDEOS\\TX0000010.AVI");
    EXPECT_EQ(MakeCaptureName(CaptureKind::Picture, {u"d:\\bilder\u00e4", u""}, t),
              u"D:\\BILDER\u00c4\\TX0000010");
    const CaptureFolders longest{std::u16string(249, u'a'), std::u16string(245, u'a')};
    EXPECT_EQ(MakeCaptureName(CaptureKind::Picture, longest, 0).size(), 259u);
    EXPECT_EQ(MakeCaptureName(CaptureKind::Video, longest, 0).size(), 259u);
    const CaptureFolders tooLong{std::u16string(250, u'a'), std::u16string(246, u'a')};
    EXPECT_TRUE(MakeCaptureName(CaptureKind::Picture, tooLong, 0).empty());
    EXPECT_TRUE(MakeCaptureName(CaptureKind::Video, tooLong, 0).empty());
}

TEST(CaptureName, CodeUnitOrderIsTimeOrder) {
    std::vector<std::u16string> names;
    for (int64_t step : {36, 35, 360, 0, 46656}) names.push_back(CaptureNameOfStep(step));
    std::sort(names.begin(), names.end());
    const std::vector<std::u16string> expected = {u"TX0000000", u"TX000000Z", u"TX0000010",
                                                  u"TX00000A0", u"TX0001000"};
    EXPECT_EQ(names, expected);
    EXPECT_GT(kEndSentinel, std::u16string_view(u"TXZZZZZZZ.JPG"));
}

TEST(IsCaptureFileNameTest, FollowsTheSixSteps) {
    EXPECT_TRUE(IsCaptureFileName(u"tx1a2b3c4.bmp"));
    EXPECT_TRUE(IsCaptureFileName(u"TX1A2B3C4.avi"));
    EXPECT_TRUE(IsCaptureFileName(u"TX1A2B3C4XBMP"));  // position 9 is not tested
    EXPECT_FALSE(IsCaptureFileName(u"TX1A2B3C4.PNG"));
    EXPECT_FALSE(IsCaptureFileName(u"TX1A2B3C.BMP"));
    EXPECT_FALSE(IsCaptureFileName(u"TX1A-B3C4.BMP"));
    EXPECT_FALSE(IsCaptureFileName(u"TY1A2B3C4.BMP"));
    EXPECT_FALSE(IsCaptureFileName(u"TX1A2B3C4.BM"));
    EXPECT_FALSE(IsCaptureFileName(u"TX1A2B3 4.BMP"));
    EXPECT_FALSE(IsCaptureFileName(u""));
    EXPECT_FALSE(IsCaptureFileName(u".."));
    // Letters beyond ASCII are alphanumeric and upper-cased first, as the platform treats them.
    EXPECT_TRUE(IsCaptureFileName(u"TX1A2B3C\u00e9.BMP"));
    EXPECT_FALSE(IsCaptureFileName(u"TX1A2B3C\u00df.BMP"));  // sharp s has no capital form
    EXPECT_FALSE(IsCaptureFileName(u"TX1A2B3C\u00b2.BMP"));  // superscript two is no letter
}

TEST(FreeCaptureName, SecondPhotoOfOneStepTakesTheNextStep) {
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
    // A JPEG of the next name takes it too: both would share one side file.
    files.AddFile(b + u".JPG");
    EXPECT_EQ(MakeFreeCaptureName(CaptureKind::Picture, folders, clock, files),
              u"C:\\PICS\\" + CaptureNameOfStep(5002));
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

}  // namespace
}  // namespace orvane
