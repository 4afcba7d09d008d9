// BMP frames of the command line: what is read, what is refused and why, and a write that
// leaves the whole file or none.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "media/bmp_layout.h"
#include "media/byte_io.h"
#include "stacking/files/frame_files.h"

namespace orvane::stacking {
namespace {

// A BMP file image of w x h at the given depth, pixel (x, y) (y from the top) coloured
// (x, y, x + y); stored top-down when height is negative.
std::vector<uint8_t> MakeBmp(int32_t w, int32_t height, uint16_t bits, uint32_t compression = 0,
                             const std::vector<uint32_t>& masks = {}) {
    const int32_t h = height < 0 ? -height : height;
    const uint64_t stride = DibStride(w, bits);
    const size_t offset = BmpFileHeader::kSize + BmpInfoHeader::kSize + masks.size() * 4;
    std::vector<uint8_t> file(offset + stride * h, 0xEE);
    BmpFileHeader head;
    head.fileSize = static_cast<uint32_t>(file.size());
    head.pixelOffset = static_cast<uint32_t>(offset);
    BmpInfoHeader info;
    info.width = w;
    info.height = height;
    info.planes = 1;
    info.bitCount = bits;
    info.compression = compression;
    const auto a = head.ToBytes();
    const auto b = info.ToBytes();
    std::copy(a.begin(), a.end(), file.begin());
    std::copy(b.begin(), b.end(), file.begin() + BmpFileHeader::kSize);
    for (size_t i = 0; i < masks.size(); ++i)
        PutU32(&file[BmpFileHeader::kSize + BmpInfoHeader::kSize + i * 4], masks[i]);
    for (int32_t y = 0; y < h; ++y) {
        const int32_t fileRow = height < 0 ? y : h - 1 - y;
        uint8_t* p = &file[offset + stride * fileRow];
        for (int32_t x = 0; x < w; ++x, p += bits / 8) {
            p[0] = static_cast<uint8_t>(x);
            if (bits < 24) continue;  // one index byte
            p[1] = static_cast<uint8_t>(y);
            p[2] = static_cast<uint8_t>(x + y);
        }
    }
    return file;
}

bool Decode(const std::vector<uint8_t>& file, BgrImage* picture, std::string* error) {
    return BmpFrameReader().Decode(file.data(), file.size(), picture, error);
}

void ExpectPattern(const BgrImage& p, int32_t w, int32_t h) {
    ASSERT_EQ(p.Width(), w);
    ASSERT_EQ(p.Height(), h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            const uint8_t* px = p.Row(y) + x * 3;
            ASSERT_EQ(px[0], static_cast<uint8_t>(x)) << x << ", " << y;
            ASSERT_EQ(px[1], static_cast<uint8_t>(y)) << x << ", " << y;
            ASSERT_EQ(px[2], static_cast<uint8_t>(x + y)) << x << ", " << y;
        }
    }
}

TEST(FrameFiles, ReadsBmpOfTwentyFourAndThirtyTwoBitsEitherWayUp) {
    BgrImage p;
    std::string error;
    ASSERT_TRUE(Decode(MakeBmp(7, 5, 24), &p, &error)) << error;  // rows padded to 24 bytes
    ExpectPattern(p, 7, 5);
    ASSERT_TRUE(Decode(MakeBmp(7, -5, 24), &p, &error)) << error;
    ExpectPattern(p, 7, 5);
    ASSERT_TRUE(Decode(MakeBmp(6, 4, 32), &p, &error)) << error;
    ExpectPattern(p, 6, 4);
    ASSERT_TRUE(Decode(MakeBmp(6, -4, 32, 3, {0x00FF0000u, 0x0000FF00u, 0x000000FFu}), &p, &error))
        << error;
    ExpectPattern(p, 6, 4);
}

TEST(FrameFiles, RefusesWhatItCannotReadWithTheReason) {
    struct Case {
        std::vector<uint8_t> file;
        const char* reason;
    };
    std::vector<Case> cases;
    cases.push_back({MakeBmp(4, 4, 8), "BMP of 8 bits per pixel (24 or 32 read)"});
    cases.push_back({MakeBmp(4, 4, 24, 1), "compressed BMP"});
    cases.push_back(
        {MakeBmp(4, 4, 32, 3, {0xFF, 0xFF00, 0xFF0000}), "BMP with unusual channel masks"});
    cases.push_back({MakeBmp(0, 4, 24), "BMP of 0 x 4 pixels (at most 32768 a side)"});
    cases.push_back({MakeBmp(4, 4, 24), "BMP of 40000 x 4 pixels (at most 32768 a side)"});
    PutI32(&cases.back().file[BmpFileHeader::kSize + BmpInfoHeader::kWidthOffset], 40000);
    cases.push_back({MakeBmp(4, 4, 24), "BMP of 4 x -2147483648 pixels (at most 32768 a side)"});
    PutI32(&cases.back().file[BmpFileHeader::kSize + BmpInfoHeader::kHeightOffset], INT32_MIN);
    // Sides in range, but more pixels than a stack takes: refused before any allocation.
    cases.push_back({MakeBmp(4, 4, 24), "BMP of 30000 x 30000 pixels (at most 32768 a side)"});
    PutI32(&cases.back().file[BmpFileHeader::kSize + BmpInfoHeader::kWidthOffset], 30000);
    PutI32(&cases.back().file[BmpFileHeader::kSize + BmpInfoHeader::kHeightOffset], 30000);
    // Its rows would be far beyond the file's end.
    cases.push_back({MakeBmp(4, 4, 24), "BMP shorter than its rows"});
    PutI32(&cases.back().file[BmpFileHeader::kSize + BmpInfoHeader::kWidthOffset], 6000);
    PutI32(&cases.back().file[BmpFileHeader::kSize + BmpInfoHeader::kHeightOffset], -6000);
    cases.push_back({MakeBmp(9, 9, 24), "BMP shorter than its rows"});
    cases.back().file.pop_back();
    cases.push_back({MakeBmp(4, 4, 24), "BMP shorter than its rows"});
    PutU32(&cases.back().file[BmpFileHeader::kPixelOffsetOffset], 20);  // inside the header
    cases.push_back({MakeBmp(4, 4, 24), "damaged BMP header"});
    PutU32(&cases.back().file[BmpFileHeader::kSize], 12);  // an old 12-byte header
    cases.push_back({{'B', 'M', 0, 0}, "not a BMP picture"});
    for (const Case& c : cases) {
        BgrImage p;
        std::string error;
        EXPECT_FALSE(Decode(c.file, &p, &error)) << c.reason;
        EXPECT_EQ(error, c.reason);
    }
}

class FrameFileWrites : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ =
            std::filesystem::temp_directory_path() /
            ("orvane-frames-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const char* name) const { return (dir_ / name).string(); }
    std::filesystem::path dir_;
};

TEST_F(FrameFileWrites, WrittenBmpReadsBackTheSame) {
    BgrImage p;
    std::string error;
    ASSERT_TRUE(Decode(MakeBmp(13, 9, 24), &p, &error));
    const std::string path = Path("out.bmp");
    ASSERT_TRUE(WriteBmpFile(path.c_str(), p, &error)) << error;
    EXPECT_EQ(std::filesystem::file_size(path), 54u + 9 * 40);
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(MakeBmp(13, 9, 24).size(), bytes.size());
    const BmpInfoHeader info = BmpInfoHeader::FromBytes(&bytes[BmpFileHeader::kSize]);
    EXPECT_EQ(info.height, 9);  // bottom-up
    EXPECT_EQ(info.bitCount, 24);
    EXPECT_EQ(GetU32(&bytes[BmpFileHeader::kFileSizeOffset]), bytes.size());

    const BmpFrameReader bmp;
    const FrameReader* const readers[] = {&bmp};
    BgrImage back;
    ASSERT_TRUE(ReadFrameFile(path.c_str(), readers, 1, &back, &error)) << error;
    ExpectPattern(back, 13, 9);
}

TEST_F(FrameFileWrites, AFailedWriteLeavesNoFile) {
    BgrImage p;
    std::string error;
    ASSERT_TRUE(Decode(MakeBmp(4, 4, 24), &p, &error));
    const std::string path = Path("missing/out.bmp");
    EXPECT_FALSE(WriteBmpFile(path.c_str(), p, &error));
    EXPECT_EQ(error, "cannot create the file");
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));
    BgrImage empty;
    EXPECT_FALSE(WriteBmpFile(Path("empty.bmp").c_str(), empty, &error));
    EXPECT_EQ(error, "no picture");
    EXPECT_FALSE(std::filesystem::exists(Path("empty.bmp")));
}

TEST_F(FrameFileWrites, ReadingNamesMissingEmptyAndForeignFiles) {
    const BmpFrameReader bmp;
    const FrameReader* const readers[] = {&bmp};
    BgrImage p;
    std::string error;
    EXPECT_FALSE(ReadFrameFile(Path("none.bmp").c_str(), readers, 1, &p, &error));
    EXPECT_EQ(error, "cannot open the file");
    std::ofstream(Path("empty.bmp")).close();
    EXPECT_FALSE(ReadFrameFile(Path("empty.bmp").c_str(), readers, 1, &p, &error));
    EXPECT_EQ(error, "empty file");
    std::ofstream(Path("x.png"), std::ios::binary) << "\x89PNG\r\n\x1a\n....";
    EXPECT_FALSE(ReadFrameFile(Path("x.png").c_str(), readers, 1, &p, &error));
    EXPECT_EQ(error, "not a picture this program reads");
    EXPECT_TRUE(p.Empty());
}

}  // namespace
}  // namespace orvane::stacking
