#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "capture/raw/raw_bmp.h"
#include "capture/raw/raw_camera.h"
#include "capture/raw/raw_register_file.h"

namespace orvane {
namespace {

uint32_t Le32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | uint32_t{p[3]} << 24;
}

TEST(RawRegisterFile, ParsesRegistersAndBrightness) {
    RawRegisterFile f;
    std::string err;
    ASSERT_TRUE(f.Parse("# white balance\n0x1191 0x80\n1192 7f\r\n\n  brightness -12  \n", &err));
    uint8_t v = 0;
    EXPECT_TRUE(f.ReadRegister(0x1191, &v));
    EXPECT_EQ(v, 0x80);
    EXPECT_TRUE(f.ReadRegister(0x1192, &v));
    EXPECT_EQ(v, 0x7F);
    EXPECT_FALSE(f.ReadRegister(0x1194, &v));
    int b = 0;
    EXPECT_TRUE(f.ReadBrightness(&b));
    EXPECT_EQ(b, -12);

    ASSERT_TRUE(f.Parse("0x1191 0x80\n", &err));
    EXPECT_FALSE(f.ReadBrightness(&b));  // brightness only when listed
}

TEST(RawRegisterFile, RejectsMalformedLines) {
    for (const char* text :
         {"0x1191\n", "0x1191 0x100\n", "0x10000 1\n", "0x11g1 1\n", "brightness 1.5\n",
          "brightness\n", "0x1191 0x80 extra\n", "brightness 0x10\n"}) {
        RawRegisterFile f;
        std::string err;
        EXPECT_FALSE(f.Parse(text, &err)) << text;
        EXPECT_NE(err.find("line 1"), std::string::npos);
    }
}

TEST(RawRegisterFile, PartialFileStopsTheLoadAtItsFirstGap) {
    RawRegisterFile f;
    std::string text;
    for (uint16_t a : kSingleRegisters) {
        char line[32];
        std::snprintf(line, sizeof line, "0x%04X 0x%02X\n", a, a == 0x1191 ? 0x10 : 0x40);
        text += line;
    }
    text += "brightness 3\n";
    ASSERT_TRUE(f.Parse(text, nullptr));
    CRawPars_HW hw;
    hw.SetSource(&f);
    EXPECT_EQ(hw.LoadFromCamera(), 0);  // no gamma registers listed
    EXPECT_EQ(hw.gB, 0x10);
    EXPECT_EQ(hw.br, 64);  // brightness comes after the groups
}

TEST(RawBmp, HeaderAndPaddedRows) {
    uint8_t h[kBmpHeaderBytes];
    ASSERT_TRUE(BmpHeader(5, 3, h));
    EXPECT_EQ(h[0], 'B');
    EXPECT_EQ(h[1], 'M');
    EXPECT_EQ(Le32(h + 2), 54u + 16 * 3);
    EXPECT_EQ(Le32(h + 10), 54u);
    EXPECT_EQ(Le32(h + 18), 5u);
    EXPECT_EQ(Le32(h + 22), 3u);  // positive: bottom-up rows
    EXPECT_EQ(h[28], 24);
    EXPECT_FALSE(BmpHeader(0, 3, h));
    EXPECT_FALSE(BmpHeader(1 << 20, 1 << 20, h));

    std::vector<uint8_t> px(5 * 3 * 3);
    for (size_t i = 0; i < px.size(); ++i) px[i] = static_cast<uint8_t>(i + 1);
    std::string path = testing::TempDir() + "raw_bmp_test.bmp";
    ASSERT_TRUE(WriteBmp24(path.c_str(), 5, 3, px.data()));
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), {});
    ASSERT_EQ(file.size(), 54u + 48);
    EXPECT_EQ(file[54], 1);            // first file row = first buffer row
    EXPECT_EQ(file[54 + 15], 0);       // padding
    EXPECT_EQ(file[54 + 16], px[15]);  // second row
    std::remove(path.c_str());
    EXPECT_FALSE(WriteBmp24((testing::TempDir() + "no/such/dir/x.bmp").c_str(), 5, 3, px.data()));
}

}  // namespace
}  // namespace orvane
