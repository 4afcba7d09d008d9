#include "media/companion_paths.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(CompanionPaths, FollowTheNamingRules) {
    const std::u16string picture = u"C:\\DOCS\\ORVANE\\PICTURES\\TX1A2B3C4.BMP";
    EXPECT_EQ(SideFilePath(picture), u"C:\\DOCS\\ORVANE\\PICTURES\\Info\\TX1A2B3C4");
    EXPECT_EQ(MeasurementRowsPath(u"C:\\DOCS\\pictures\\TX1A2B3C4.jpg"),
              u"C:\\DOCS\\pictures\\Info\\TX1A2B3C4.csv");
    EXPECT_EQ(ThumbnailCachePath(u"c:\\docs\\pictures\\tx1a2b3c4.jpg"),
              u"C:\\DOCS\\PICTURES\\INFO\\TX1A2B3C4.JPG");
    EXPECT_EQ(VideoThumbnailPath(u"C:\\V\\TX1A2B3C4.AVI", u"C:\\V\\thumb"),
              u"C:\\V\\thumb\\TX1A2B3C4.BMP");
    EXPECT_EQ(VideoThumbnailPath(u"C:\\V\\TX1A2B3C4.AVI", u"C:\\V\\thumb\\"),
              u"C:\\V\\thumb\\TX1A2B3C4.BMP");
    EXPECT_EQ(VideoPathFromThumbnail(u"C:\\V\\thumb\\TX1A2B3C4.BMP"), u"C:\\V\\TX1A2B3C4.avi");
}

TEST(CompanionPaths, AClipsThumbnailLiesInTheThumbFolder) {
    EXPECT_TRUE(IsVideoThumbnailPath(u"C:\\V\\thumb\\TX1A2B3C4.BMP", u"C:\\V\\thumb"));
    EXPECT_TRUE(IsVideoThumbnailPath(u"C:\\V\\ThUmB\\TX1A2B3C4.BMP", u"c:\\v\\THUMB\\"));
    EXPECT_FALSE(IsVideoThumbnailPath(u"C:\\PICTURES\\TX1A2B3C4.BMP", u"C:\\V\\thumb"));
    EXPECT_FALSE(IsVideoThumbnailPath(u"C:\\V\\thumb\\TX1A2B3C4.BMP", u""));
    // A folder merely named like it holds pictures: "Thumbnails", or a user called Thumbelina.
    EXPECT_FALSE(IsVideoThumbnailPath(u"D:\\Thumbnails\\TX1A2B3C4.BMP", u"C:\\V\\thumb"));
    EXPECT_FALSE(IsVideoThumbnailPath(u"C:\\Users\\thumbelina\\Orvane\\pictures\\TX1A2B3C4.BMP",
                                      u"C:\\Users\\thumbelina\\Orvane\\videos\\thumb"));
    // The clip lies one folder above its thumbnail, whatever the folders are called.
    EXPECT_EQ(VideoPathFromThumbnail(u"C:\\Users\\thumbelina\\videos\\thumb\\TX1A2B3C4.BMP"),
              u"C:\\USERS\\THUMBELINA\\VIDEOS\\TX1A2B3C4.avi");
    EXPECT_TRUE(VideoPathFromThumbnail(u"\\TX1A2B3C4.BMP").empty());
    EXPECT_TRUE(VideoPathFromThumbnail(u"TX1A2B3C4.BMP").empty());
}

TEST(CompanionPaths, ShortAndLongPathsGiveNoPath) {
    for (const char16_t* shortPath : {u"", u"TX1A2B3C.BMP", u"C:\\a.bmp"}) {
        EXPECT_TRUE(SideFilePath(shortPath).empty());
        EXPECT_TRUE(ThumbnailCachePath(shortPath).empty());
        EXPECT_TRUE(MeasurementRowsPath(shortPath).empty());
        EXPECT_TRUE(VideoThumbnailPath(shortPath, u"C:\\thumb").empty());
        EXPECT_TRUE(VideoPathFromThumbnail(shortPath).empty());
    }
    // A bare 13-character name has an empty folder part.
    EXPECT_EQ(SideFilePath(u"TX1A2B3C4.BMP"), u"Info\\TX1A2B3C4");
    // The side file path is one unit longer than its media path, the cache and rows paths five.
    auto pathOf = [](size_t n) { return std::u16string(n - 14, u'A') + u"\\TX1A2B3C4.BMP"; };
    ASSERT_EQ(pathOf(258).size(), 258u);
    EXPECT_EQ(SideFilePath(pathOf(258)).size(), 259u);
    EXPECT_TRUE(SideFilePath(pathOf(259)).empty());
    EXPECT_EQ(ThumbnailCachePath(pathOf(254)).size(), 259u);
    EXPECT_TRUE(ThumbnailCachePath(pathOf(255)).empty());
    EXPECT_EQ(MeasurementRowsPath(pathOf(254)).size(), 259u);
    EXPECT_TRUE(MeasurementRowsPath(pathOf(255)).empty());
    EXPECT_TRUE(VideoThumbnailPath(pathOf(300), std::u16string(250, u'T')).empty());
    EXPECT_TRUE(SideFilePath(std::u16string(300, u'C')).empty());
}

}  // namespace
}  // namespace orvane
