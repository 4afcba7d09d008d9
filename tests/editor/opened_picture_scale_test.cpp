// A picture opened without its side file measures by the size it is taken for: its record's
// still size follows the bitmap's width, and a line's length follows from that scale.
#include <gtest/gtest.h>

#include <algorithm>

#include "editor/geometry/measure_units.h"
#include "editor/rules/magnification.h"
#include "media/bmp_layout.h"
#include "media/media_info.h"
#include "tests/media/fake_media_files.h"

namespace orvane {
namespace {

using test::FakeClock;
using test::FakeMediaFiles;

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

struct Opened {
    MediaInfoRecord record;
    bool sideFileRead;
};

class OpenedPicture : public ::testing::Test {
  protected:
    void SetUp() override {
        files.AddFolder(u"C:\\PICS");
        files.AddFolder(u"C:\\PICS\\Info");
    }
    Opened Open(const std::u16string& path) {
        Opened o{};
        o.record = ReadMediaInfoForMeasuring(path, 40.0, files, clock, o.sideFileRead);
        return o;
    }
    // The editor's length of a 100-pixel line on the opened picture, in millimetres.
    double LineLength(const Opened& o, int32_t imageWidth, int32_t imageHeight) {
        editor::Conversion c;
        c.pixelFactor = o.sideFileRead ? editor::PixelFactorOf(o.record.deviceCode)
                                       : editor::kDefaultPixelFactor;
        c.scale = editor::PictureScale(o.record.stillSize, imageWidth, imageHeight);
        c.magnification = o.record.magnification;
        return editor::ShownLength(100.0, c);
    }
    FakeMediaFiles files;
    FakeClock clock;
};

TEST_F(OpenedPicture, BitmapsWithoutSideFileMeasureByTheSizeTheirWidthNames) {
    const LocalTime written{2025, 6, 1, 0, 7, 8, 9, 0};
    struct Case {
        int32_t width, height;
        uint32_t photoSize;
        double scale;
    };
    // scale = min(W / width, H / height) of the photo size the width names.
    const Case cases[] = {
        {2560, 1920, 0x05000400, 0.5},   // min(1280/2560, 1024/1920)
        {800, 600, 0x05000400, 1.6},     // min(1280/800, 1024/600)
        {1600, 1200, 0x064004B0, 1.0},   // its own size
        {640, 480, 0x028001E0, 1.0},     //
        {1280, 960, 0x05000400, 1.0},    // min(1, 1024/960)
        {1280, -1024, 0x05000400, 1.0},  // top-down rows
    };
    for (const Case& c : cases) {
        files.AddFile(u"C:\\PICS\\TX0000001.BMP", BmpHead(c.width, c.height), written);
        const Opened o = Open(u"C:\\PICS\\TX0000001.BMP");
        const int32_t rows = std::abs(c.height);
        EXPECT_FALSE(o.sideFileRead);
        EXPECT_EQ(o.record.pictureSize, c.photoSize) << c.width;
        EXPECT_EQ(o.record.stillSize, c.photoSize) << c.width;
        EXPECT_EQ(o.record.captureTime, written);
        EXPECT_EQ(o.record.magnification, 40.0);
        EXPECT_DOUBLE_EQ(editor::PictureScale(o.record.stillSize, c.width, rows), c.scale);
        EXPECT_DOUBLE_EQ(LineLength(o, c.width, rows), 100.0 * 0.355 * c.scale / 40.0) << c.width;
    }
}

TEST_F(OpenedPicture, OtherPicturesKeepTheDefaultsAndSideFilesWin) {
    // A JPEG's first bytes are no bitmap header: today, 1280 x 1024, still size the same.
    std::vector<uint8_t> jpeg(54, 0);
    jpeg[0] = 0xFF, jpeg[1] = 0xD8, jpeg[18] = 0x40, jpeg[22] = 0x30;
    files.AddFile(u"C:\\PICS\\TX0000002.JPG", jpeg, {2020, 1, 1, 1, 1, 1, 1, 1});
    Opened o = Open(u"C:\\PICS\\TX0000002.JPG");
    EXPECT_EQ(o.record.pictureSize, kDefaultPictureSize);
    EXPECT_EQ(o.record.stillSize, kDefaultPictureSize);
    EXPECT_EQ(o.record.captureTime, clock.now);
    EXPECT_DOUBLE_EQ(LineLength(o, 2560, 1920), 100.0 * 0.355 * 0.5 / 40.0);

    // A file too short for the headers, or none at all: the defaults.
    files.AddFile(u"C:\\PICS\\TX0000003.BMP", {'B', 'M', 1, 2});
    EXPECT_EQ(Open(u"C:\\PICS\\TX0000003.BMP").record.stillSize, kDefaultPictureSize);
    EXPECT_EQ(Open(u"C:\\PICS\\TX0000009.BMP").record.stillSize, kDefaultPictureSize);

    // With a side file its values hold, the device's pixel factor among them.
    MediaInfoRecord stored;
    SetRecordText(stored.mediaPath, u"C:\\PICS\\TX0000004.BMP");
    stored.magnification = 20.0;
    stored.stillSize = 0x0A000780;  // 2560 x 1920
    stored.deviceCode = 0x0C456355;
    ASSERT_TRUE(WriteMediaInfo(stored, files));
    files.AddFile(u"C:\\PICS\\TX0000004.BMP", BmpHead(1280, 960));
    o = Open(u"C:\\PICS\\TX0000004.BMP");
    EXPECT_TRUE(o.sideFileRead);
    EXPECT_EQ(o.record.stillSize, 0x0A000780u);
    EXPECT_DOUBLE_EQ(LineLength(o, 1280, 960), 100.0 * 0.2 * 2.0 / 20.0);
}

}  // namespace
}  // namespace orvane
