#include "media/file_requests.h"

#include <gtest/gtest.h>

#include "media/bmp_layout.h"

namespace orvane {
namespace {

const MediaLists kLists{{u"C:\\P\\TX1000001.BMP", u"C:\\P\\TX1000002.JPG"},
                        {u"C:\\V\\TX2000001.AVI"},
                        {u"C:\\V\\THUMB\\TX2000001.BMP"}};

TEST(FileRequests, SelectionFindsFilesAndCompanions) {
    const std::vector<SelectionEntry> entries{{1, u"c:\\p\\tx1000002.jpg"},
                                              {2, u"C:\\V\\thumb\\TX2000001.BMP"},
                                              {3, u"C:\\P\\TX1000002.JPG"},   // twice
                                              {0, u"C:\\P\\TX1000009.BMP"}};  // not listed
    const std::vector<SelectedFile> files = FilesOfSelection(entries, kLists);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].path, u"C:\\P\\TX1000002.JPG");
    // The side file, the cached thumbnail and the measurement rows follow the picture.
    EXPECT_EQ(files[0].companions,
              (std::vector<std::u16string>{u"C:\\P\\Info\\TX1000002", u"C:\\P\\INFO\\TX1000002.JPG",
                                           u"C:\\P\\Info\\TX1000002.csv"}));
    EXPECT_EQ(files[1].path, u"C:\\V\\TX2000001.AVI");
    EXPECT_EQ(files[1].companions, std::vector<std::u16string>{u"C:\\V\\thumb\\TX2000001.BMP"});
    EXPECT_TRUE(FilesOfSelection({}, kLists).empty());
}

TEST(FileRequests, LongListsAreSplitNotCut) {
    // Each path takes 10 units with its NUL; a request of 31 holds three and the final NUL.
    const std::vector<std::u16string> paths(7, u"C:\\AB.BMP");
    EXPECT_EQ(SplitIntoRequests(paths, 31), (std::vector<size_t>{3, 3, 1}));
    EXPECT_EQ(SplitIntoRequests(paths, 30), (std::vector<size_t>{2, 2, 2, 1}));
    EXPECT_EQ(SplitIntoRequests(paths, 5), std::vector<size_t>(7, 1));
    EXPECT_TRUE(SplitIntoRequests({}, kFileRequestUnits).empty());
    // 20000 paths of 19 units: 380001 units in all, 6898 per request of 131072.
    const std::vector<std::u16string> many(20000, u"C:\\P\\TX1000001.BMP");
    const std::vector<size_t> counts = SplitIntoRequests(many, kFileRequestUnits);
    EXPECT_EQ(counts, (std::vector<size_t>{6898, 6898, 6204}));
    EXPECT_LE(DoubleNulList(many, 0, counts[0]).size(), kFileRequestUnits);
    EXPECT_EQ(DoubleNulList(paths, 5, 2), std::u16string(u"C:\\AB.BMP\0C:\\AB.BMP\0\0", 21));
    EXPECT_EQ(DoubleNulList(paths, 0, 0), std::u16string(1, u'\0'));
}

TEST(FileRequests, DropFilesBlockHoldsWidePaths) {
    const std::vector<uint8_t> block = DropFilesBlock({u"C:\\A", u"D:\\\x00e9"});
    // 2n + 28 bytes with n = 5 + 5.
    ASSERT_EQ(block.size(), 48u);
    const std::vector<uint8_t> header{20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(block.begin(), block.begin() + 20), header);
    const std::vector<uint8_t> list{'C',  0, ':',  0, '\\', 0, 'A', 0, 0, 0, 'D', 0, ':', 0,
                                    '\\', 0, 0xE9, 0, 0,    0, 0,   0, 0, 0, 0,   0, 0,   0};
    EXPECT_EQ(std::vector<uint8_t>(block.begin() + 20, block.end()), list);
    EXPECT_EQ(DropFilesBlock({}).size(), 28u);
}

std::vector<uint8_t> BmpFile(int32_t width, int32_t height, uint16_t bits, size_t pixelBytes) {
    BmpInfoHeader info;
    info.width = width;
    info.height = height;
    info.planes = 1;
    info.bitCount = bits;
    BmpFileHeader head;
    head.pixelOffset = 54;
    head.fileSize = static_cast<uint32_t>(54 + pixelBytes);
    std::vector<uint8_t> file;
    const auto h = head.ToBytes();
    const auto i = info.ToBytes();
    file.insert(file.end(), h.begin(), h.end());
    file.insert(file.end(), i.begin(), i.end());
    file.resize(54 + pixelBytes, 0x5A);
    return file;
}

TEST(FileRequests, PackedBitmapIsReadOnlyWhenComplete) {
    // 3 × 2 at 24 bits: rows of 9 bytes padded to 12.
    const std::vector<uint8_t> whole = BmpFile(3, -2, 24, 24);
    const std::vector<uint8_t> dib = PackedBitmapOfFile(whole);
    ASSERT_EQ(dib.size(), 64u);
    EXPECT_EQ(dib[0], 40);
    EXPECT_EQ(dib[63], 0x5A);
    // Rows counted without their padding: the file ends before the pixels do.
    EXPECT_TRUE(PackedBitmapOfFile(BmpFile(3, 2, 24, 18)).empty());
    EXPECT_TRUE(PackedBitmapOfFile(BmpFile(3, 2, 24, 0)).empty());
    std::vector<uint8_t> notBmp = whole;
    notBmp[0] = 'X';
    EXPECT_TRUE(PackedBitmapOfFile(notBmp).empty());
    EXPECT_TRUE(
        PackedBitmapOfFile(std::vector<uint8_t>(whole.begin(), whole.begin() + 53)).empty());
    EXPECT_TRUE(PackedBitmapOfFile({}).empty());
}

TEST(FileRequests, PackedBitmapTakesThePixelsWhereTheFileSaysTheyStart) {
    // 2 x 1 at 24 bits with 10 bytes between the header and the pixels.
    std::vector<uint8_t> file = BmpFile(2, 1, 24, 18);
    file[10] = 64;  // pixel offset
    for (size_t k = 54; k < 64; ++k) file[k] = 0xEE;  // the gap
    for (size_t k = 64; k < 72; ++k) file[k] = static_cast<uint8_t>(k);
    const std::vector<uint8_t> dib = PackedBitmapOfFile(file);
    ASSERT_EQ(dib.size(), 40u + 8u);
    EXPECT_EQ(std::vector<uint8_t>(dib.begin() + 40, dib.end()),
              (std::vector<uint8_t>{64, 65, 66, 67, 68, 69, 70, 71}));
    // An 8-bit picture keeps its colour table between header and pixels.
    std::vector<uint8_t> palette = BmpFile(4, 1, 8, 1024 + 4);
    palette[10] = 0x36, palette[11] = 0x04;  // 54 + 1024
    palette[54 + 1024] = 7;
    const std::vector<uint8_t> eight = PackedBitmapOfFile(palette);
    ASSERT_EQ(eight.size(), 40u + 1024u + 4u);
    EXPECT_EQ(eight[40 + 1024], 7);
    // A pixel offset inside the colour table is no bitmap.
    palette[11] = 0x02;
    EXPECT_TRUE(PackedBitmapOfFile(palette).empty());
}

}  // namespace
}  // namespace orvane
