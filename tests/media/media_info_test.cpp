#include "media/media_info.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "media/bmp_layout.h"
#include "media/byte_io.h"
#include "tests/media/fake_media_files.h"

namespace orvane {
namespace {

using test::FakeClock;
using test::FakeMediaFiles;

const std::u16string kFolder = u"C:\\PICS";
const std::u16string kPicture = u"C:\\PICS\\TX1A2B3C4.BMP";
const std::u16string kSide = u"C:\\PICS\\Info\\TX1A2B3C4";

MediaInfoRecord FullRecord() {
    MediaInfoRecord r;
    SetRecordText(r.mediaPath, kPicture);
    SetRecordText(r.note, u"Fl\u00fcgel");
    r.captureTime = {2026, 12, 3, 9, 13, 5, 59, 999};
    r.magnification = 40.5;
    r.adjustedMagnification = 38.25;
    r.pictureSize = 0x0A000780;
    r.stillSize = 0x050003C0;
    r.deviceCode = 0x10C46340;
    r.reserved = 0xDEADBEEF;
    return r;
}

std::vector<uint8_t> BmpHead(int32_t width, int32_t height) {
    BmpInfoHeader info;
    info.width = width;
    info.height = height;
    const auto file = BmpFileHeader{}.ToBytes();
    const auto head = info.ToBytes();
    std::vector<uint8_t> bytes(file.size() + head.size());
    std::copy(file.begin(), file.end(), bytes.begin());
    std::copy(head.begin(), head.end(), bytes.begin() + file.size());
    return bytes;
}

struct MediaInfoTest : ::testing::Test {
    void SetUp() override {
        files.AddFolder(kFolder);
        files.AddFolder(kFolder + u"\\info");  // the folder dialog's spelling
    }
    FakeMediaFiles files;
    FakeClock clock;
};

TEST(MediaInfoRecordTest, FieldsSitAtTheirOffsetsLittleEndian) {
    const MediaInfoRecord r = FullRecord();
    const MediaInfoRecord::Bytes b = r.ToBytes();
    EXPECT_EQ(b[0], 'C');
    EXPECT_EQ(b[1], 0);
    EXPECT_EQ(GetU16(&b[2 * kPicture.size()]), 0);  // terminator
    EXPECT_EQ(GetU16(&b[520 + 4]), 0x00FC);
    EXPECT_EQ(GetU16(&b[1040]), 2026);
    EXPECT_EQ(GetU16(&b[1054]), 999);
    EXPECT_EQ(GetU64(&b[1056]), 0x4044400000000000ULL);  // 40.5
    EXPECT_EQ(GetF64(&b[1064]), 38.25);
    EXPECT_EQ(b[1072], 0x80);
    EXPECT_EQ(b[1075], 0x0A);
    EXPECT_EQ(GetU32(&b[1076]), 0x050003C0u);
    EXPECT_EQ(GetU32(&b[1080]), 0x10C46340u);
    EXPECT_EQ(GetU32(&b[1084]), 0xDEADBEEFu);
    EXPECT_EQ(MediaInfoRecord::FromBytes(b.data(), b.size()), r);
}

TEST(MediaInfoRecordTest, TextFieldsWithoutTerminatorStayInside) {
    MediaInfoRecord::Text field;
    field.fill(u'x');
    EXPECT_EQ(RecordText(field).size(), 260u);
    EXPECT_FALSE(SetRecordText(field, std::u16string(260, u'y')));
    EXPECT_TRUE(RecordText(field).empty());
    EXPECT_TRUE(SetRecordText(field, std::u16string(259, u'y')));
    EXPECT_EQ(RecordText(field).size(), 259u);
}

TEST_F(MediaInfoTest, WriteThenReadGivesTheRecordBack) {
    MediaInfoRecord r = FullRecord();
    ASSERT_TRUE(WriteMediaInfo(r, files));
    const auto* side = files.Find(kSide);
    ASSERT_NE(side, nullptr);
    EXPECT_EQ(side->bytes.size(), 1088u);
    EXPECT_EQ(ReadMediaInfo(kPicture, 1.0, files, clock), r);
}

TEST_F(MediaInfoTest, SideFileOfAnySizeFillsWhatItReaches) {
    const MediaInfoRecord::Bytes full = FullRecord().ToBytes();
    for (size_t size : {0u, 100u, 1040u, 1056u, 1064u, 1087u, 1088u, 5000u}) {
        SCOPED_TRACE(size);
        std::vector<uint8_t> bytes(size, 0x5A);
        std::copy(full.begin(), full.begin() + std::min<size_t>(size, full.size()), bytes.begin());
        files.AddFile(kSide, bytes);
        const MediaInfoRecord r = ReadMediaInfo(kPicture, 12.5, files, clock);
        EXPECT_EQ(RecordText(r.mediaPath), kPicture);
        const bool timeRead = size >= 1056;
        EXPECT_EQ(r.captureTime == FullRecord().captureTime, timeRead);
        if (size <= 1040) {
            EXPECT_EQ(r.captureTime, LocalTime{});
        }
        EXPECT_EQ(r.magnification, size >= 1064 ? 40.5 : 12.5);
        EXPECT_EQ(r.adjustedMagnification, size >= 1072 ? 38.25 : 0.0);
        EXPECT_EQ(r.pictureSize, size >= 1076 ? 0x0A000780u : 0u);
        EXPECT_EQ(r.deviceCode, size >= 1084 ? 0x10C46340u : 0u);
        EXPECT_EQ(r.reserved, size >= 1088 ? 0xDEADBEEFu : size == 1087 ? 0x00ADBEEFu : 0u);
    }
    // The spelled-out case: 100 bytes reach only into the media path.
    files.AddFile(kSide, std::vector<uint8_t>(100, 0x41));
    const MediaInfoRecord r = ReadMediaInfo(kPicture, 7.0, files, clock);
    EXPECT_EQ(RecordText(r.mediaPath), kPicture);
    EXPECT_TRUE(RecordText(r.note).empty());
    EXPECT_EQ(r.captureTime, LocalTime{});
    EXPECT_EQ(r.magnification, 7.0);
    EXPECT_EQ(r.pictureSize | r.stillSize | r.deviceCode, 0u);
}

TEST_F(MediaInfoTest, StoredPathIsReplacedAndUnterminatedNoteIsKept) {
    MediaInfoRecord r = FullRecord();
    SetRecordText(r.mediaPath, u"D:\\ELSEWHERE\\TX0000000.JPG");
    r.note.fill(u'n');
    const auto bytes = r.ToBytes();
    files.AddFile(kSide, std::vector<uint8_t>(bytes.begin(), bytes.end()));
    const MediaInfoRecord got = ReadMediaInfo(kPicture, 1.0, files, clock);
    EXPECT_EQ(RecordText(got.mediaPath), kPicture);
    EXPECT_EQ(RecordText(got.note), std::u16string(260, u'n'));
}

TEST_F(MediaInfoTest, WithoutSideFileTheMediaFileGivesTimeAndSize) {
    const LocalTime written{2025, 1, 2, 3, 4, 5, 6, 7};
    files.AddFile(kPicture, BmpHead(640, -480), written);
    MediaInfoRecord r = ReadMediaInfo(kPicture, 3.0, files, clock);
    EXPECT_EQ(r.captureTime, written);
    EXPECT_EQ(r.pictureSize, 0x028001E0u);
    EXPECT_EQ(r.magnification, 3.0);
    EXPECT_EQ(r.adjustedMagnification, 0.0);

    // Absurd header values: magnitudes without overflow, the width shifted out of range.
    files.AddFile(kPicture, BmpHead(INT32_MIN, INT32_MIN + 1), written);
    r = ReadMediaInfo(kPicture, 3.0, files, clock);
    EXPECT_EQ(r.pictureSize, 0x0000FFFFu);
    files.AddFile(kPicture, BmpHead(0x12345, 0x10002), written);
    EXPECT_EQ(ReadMediaInfo(kPicture, 3.0, files, clock).pictureSize, 0x23450002u);

    // A JPEG is read as BMP headers too.
    std::vector<uint8_t> jpeg(54, 0);
    jpeg[0] = 0xFF, jpeg[1] = 0xD8, jpeg[18] = 0x10, jpeg[22] = 0x20;
    files.AddFile(u"C:\\PICS\\TX1A2B3C5.JPG", jpeg, written);
    EXPECT_EQ(ReadMediaInfo(u"C:\\PICS\\TX1A2B3C5.JPG", 3.0, files, clock).pictureSize,
              0x00100020u);
}

TEST_F(MediaInfoTest, MagnificationsThatAreNoMagnificationReadAsNone) {
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {inf, -inf, std::numeric_limits<double>::quiet_NaN(), -40.0}) {
        MediaInfoRecord r = FullRecord();
        r.magnification = bad;
        r.adjustedMagnification = bad;
        ASSERT_TRUE(WriteMediaInfo(r, files));
        const MediaInfoRecord got = ReadMediaInfo(kPicture, 1.0, files, clock);
        EXPECT_EQ(got.magnification, 0.0) << bad;
        EXPECT_EQ(got.adjustedMagnification, 0.0) << bad;
        EXPECT_EQ(got.deviceCode, r.deviceCode) << "the rest stays as stored";
    }
    // Nor does a setting's.
    EXPECT_EQ(ReadMediaInfo(u"C:\\PICS\\TX9999998.BMP", inf, files, clock).magnification, 0.0);
}

TEST_F(MediaInfoTest, ShortOrMissingMediaFileKeepsDefaults) {
    const LocalTime written{2025, 1, 2, 3, 4, 5, 6, 7};
    for (size_t size : {0u, 10u, 25u, 53u}) {
        files.AddFile(kPicture, std::vector<uint8_t>(size, 0x7F), written);
        const MediaInfoRecord r = ReadMediaInfo(kPicture, 3.0, files, clock);
        EXPECT_EQ(r.pictureSize, kDefaultPictureSize) << size;
        EXPECT_EQ(r.captureTime, written);
    }
    const MediaInfoRecord r = ReadMediaInfo(u"C:\\PICS\\TX9999999.BMP", 3.0, files, clock);
    EXPECT_EQ(r.captureTime, clock.now);
    EXPECT_EQ(r.pictureSize, kDefaultPictureSize);
    EXPECT_TRUE(RecordText(r.note).empty());
}

TEST_F(MediaInfoTest, LongPathsAndMissingSideFolder) {
    // 259 units fit the record but leave no room for the side file path.
    const std::u16string p259 = std::u16string(245, u'A') + u"\\TX1A2B3C4.BMP";
    ASSERT_EQ(p259.size(), 259u);
    MediaInfoRecord r = ReadMediaInfo(p259, 2.0, files, clock);
    EXPECT_EQ(RecordText(r.mediaPath), p259);
    EXPECT_FALSE(WriteMediaInfo(r, files));
    for (size_t n : {260u, 300u}) {
        const std::u16string p = std::u16string(n - 14, u'A') + u"\\TX1A2B3C4.BMP";
        r = ReadMediaInfo(p, 2.0, files, clock);
        EXPECT_TRUE(RecordText(r.mediaPath).empty());
        EXPECT_EQ(r.pictureSize, kDefaultPictureSize);
        EXPECT_FALSE(WriteMediaInfo(r, files));
    }
    const size_t before = files.FileCount();
    MediaInfoRecord orphan = FullRecord();
    SetRecordText(orphan.mediaPath, u"C:\\NOFOLDER\\TX1A2B3C4.BMP");
    EXPECT_FALSE(WriteMediaInfo(orphan, files));
    EXPECT_EQ(files.FileCount(), before);
}

}  // namespace
}  // namespace orvane
