#include "media/capture_folders.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(CaptureFolders, OnlyFullPathsNameOneFolderWhereverTheProgramRuns) {
    for (const char16_t* full : {u"C:\\", u"C:\\Pictures", u"d:/pics", u"\\\\server\\share",
                                 u"\\\\server\\share\\pics", u"//server/share"}) {
        EXPECT_TRUE(IsFullyQualifiedFolder(full)) << std::string(full, full + 1);
    }
    for (const char16_t* relative :
         {u"", u".", u"..", u"Pictures", u"C:", u"C:Pictures", u"\\Pictures", u"\\\\server",
          u"\\\\server\\", u"\\\\?\\C:\\x", u"\\\\.\\C:", u"1:\\x"}) {
        EXPECT_FALSE(IsFullyQualifiedFolder(relative));
    }
}

TEST(CaptureFolders, FoldersAreWrittenWithBackslashesAndNoTrailingOne) {
    EXPECT_EQ(NormalisedFolder(u"C:/Users//me/Pictures/"), u"C:\\Users\\me\\Pictures");
    EXPECT_EQ(NormalisedFolder(u"C:\\"), u"C:\\");
    EXPECT_EQ(NormalisedFolder(u"C:/"), u"C:\\");
    EXPECT_EQ(NormalisedFolder(u"//server/share/x\\\\"), u"\\\\server\\share\\x");
    EXPECT_EQ(NormalisedFolder(u"D:\\pics"), u"D:\\pics");
}

TEST(CaptureFolders, AFolderMustHoldTheLongestCompanionOfItsCaptures) {
    // A picture's longest companions (cached thumbnail, measurement rows) add 19 units to the
    // folder, a clip's thumbnail 20: with the platform's 259 that leaves 240 and 239.
    EXPECT_EQ(LongestCaptureFolder(CaptureKind::Picture), 240u);
    EXPECT_EQ(LongestCaptureFolder(CaptureKind::Video), 239u);
    const std::u16string picture240 = u"C:\\" + std::u16string(237, u'p');
    const std::u16string video239 = u"C:\\" + std::u16string(236, u'v');
    EXPECT_TRUE(FolderHoldsCaptures(CaptureKind::Picture, picture240));
    EXPECT_FALSE(FolderHoldsCaptures(CaptureKind::Picture, picture240 + u"p"));
    EXPECT_TRUE(FolderHoldsCaptures(CaptureKind::Video, video239));
    EXPECT_FALSE(FolderHoldsCaptures(CaptureKind::Video, video239 + u"v"));
    EXPECT_FALSE(FolderHoldsCaptures(CaptureKind::Picture, u"Pictures"));
    EXPECT_FALSE(FolderHoldsCaptures(CaptureKind::Video, u"."));
}

}  // namespace
}  // namespace orvane
