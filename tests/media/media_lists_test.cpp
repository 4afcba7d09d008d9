#include "media/media_lists.h"

#include <gtest/gtest.h>

#include "tests/media/fake_media_files.h"

namespace orvane {
namespace {

using test::FakeMediaFiles;

const std::u16string kPics = u"C:\\Docs\\Orvane\\pictures";
const std::u16string kVids = u"C:\\Docs\\Orvane\\videos";

TEST(RebuildMediaListsTest, ListsCaptureNamesUpperCasedInCodeUnitOrder) {
    FakeMediaFiles files;
    files.AddFolder(kPics);
    files.AddFolder(kVids);
    files.AddFolder(kPics + u"\\Info");
    files.AddFolder(kPics + u"\\TX0000001.BMP");  // a folder with a capture name: no capture
    for (const char16_t* name :
         {u"TX0000010.BMP", u"tx000000z.jpg", u"TX00000A0.AVI", u"TX0000010.PNG", u"TX000001.BMP",
          u"notes.txt", u"TX1A-B3C4.BMP", u"TX000000ZXBMP"}) {
        files.AddFile(kPics + u"\\" + name);
    }
    for (const char16_t* name :
         {u"TX0000005.avi", u"TX0000003.AVI", u"TX0000004.BMP", u"TX0000006XAVI", u"clip.avi"}) {
        files.AddFile(kVids + u"\\" + name);
    }
    MediaLists lists;
    lists.pictures = {u"stale"};
    RebuildMediaLists(files, kPics, kVids, lists);
    const std::vector<std::u16string> pictures = {
        u"C:\\DOCS\\ORVANE\\PICTURES\\TX000000Z.JPG",
        u"C:\\DOCS\\ORVANE\\PICTURES\\TX000000ZXBMP", u"C:\\DOCS\\ORVANE\\PICTURES\\TX0000010.BMP",
        u"C:\\DOCS\\ORVANE\\PICTURES\\TX00000A0.AVI"};
    EXPECT_EQ(lists.pictures, pictures);
    // "*.avi" leaves out the picture and the name without a dot.
    const std::vector<std::u16string> videos = {u"C:\\DOCS\\ORVANE\\VIDEOS\\TX0000003.AVI",
                                                u"C:\\DOCS\\ORVANE\\VIDEOS\\TX0000005.AVI"};
    EXPECT_EQ(lists.videos, videos);
}

TEST(RebuildMediaListsTest, MissingOrUnreadableFoldersGiveEmptyLists) {
    FakeMediaFiles files;
    files.AddFolder(kPics);
    files.AddFile(kPics + u"\\TX0000010.BMP");
    files.MakeUnreadable(kPics);
    MediaLists lists;
    RebuildMediaLists(files, kPics, u"Z:\\nowhere", lists);
    EXPECT_TRUE(lists.pictures.empty());
    EXPECT_TRUE(lists.videos.empty());
    RebuildMediaLists(files, u"", u"", lists);
    EXPECT_TRUE(lists.pictures.empty());
}

TEST(RebuildMediaListsTest, EntriesBeyondThePathLimitAreSkipped) {
    FakeMediaFiles files;
    const std::u16string deep(246, u'd');  // 246 + 1 + 13 = 260 units
    files.AddFolder(deep);
    files.AddFile(deep + u"\\TX0000010.BMP");
    EXPECT_TRUE(ScanCaptureFolder(files, deep, u"*.*").empty());
    const std::u16string fits(245, u'd');
    files.AddFolder(fits);
    files.AddFile(fits + u"\\TX0000010.BMP");
    EXPECT_EQ(ScanCaptureFolder(files, fits, u"*.*").size(), 1u);
}

TEST(MergeDisplayListTest, MergesByFileNameWithClipsFirstOnEqualNames) {
    const std::vector<std::u16string> pictures = {u"C:\\P\\TX0000001.BMP", u"C:\\P\\TX0000003.JPG",
                                                  u"C:\\P\\TX0000005.BMP"};
    // Thumbnails sort by their own names, not by their folder.
    const std::vector<std::u16string> thumbs = {
        u"A:\\thumb\\TX0000002.BMP", u"Z:\\thumb\\TX0000005.BMP", u"A:\\thumb\\TX0000009.BMP"};
    const std::vector<DisplayItem> expected = {{false, 0}, {true, 0},  {false, 1},
                                               {true, 1},  {false, 2}, {true, 2}};
    EXPECT_EQ(MergeDisplayList(pictures, thumbs), expected);
    EXPECT_TRUE(MergeDisplayList({}, {}).empty());
    EXPECT_EQ(MergeDisplayList(pictures, {}).size(), 3u);
    EXPECT_EQ(MergeDisplayList({}, thumbs).size(), 3u);
}

TEST(MergeDisplayListTest, NamesAboveTheSentinelStayInRange) {
    // Position 9 is not tested, so "TXZZZZZZZ~BMP" is a capture name above the sentinel.
    const std::vector<std::u16string> pictures = {u"C:\\P\\TX0000001.BMP", u"C:\\P\\TXZZZZZZZ~BMP"};
    const std::vector<std::u16string> thumbs = {u"C:\\thumb\\TX0000002.BMP"};
    const std::vector<DisplayItem> expected = {{false, 0}, {true, 0}, {false, 1}};
    EXPECT_EQ(MergeDisplayList(pictures, thumbs), expected);
    const std::vector<DisplayItem> alone = {{false, 0}, {false, 1}};
    EXPECT_EQ(MergeDisplayList(pictures, {}), alone);
}

}  // namespace
}  // namespace orvane
