#include <gtest/gtest.h>

#include <vector>

#include "capture/raw/raw_pars.h"
#include "capture/raw/raw_still.h"

namespace orvane {
namespace {

TEST(RawStill, SamplesAreBoundedToTheBuffer) {
    RawStillBuffer b;
    ASSERT_TRUE(b.Init());
    std::vector<uint8_t> tiny(511, 1), huge(kRawFrameBytes + 4096, 7);
    EXPECT_EQ(b.StoreSingle(tiny.data(), tiny.size()), 0u);
    EXPECT_EQ(b.StoreSingle(huge.data(), huge.size()), kRawFrameBytes);  // cut, not overrun
    EXPECT_EQ(b.Data()[kRawFrameBytes - 1], 7);
    // A single frame shorter than 2560 x 1920 is refused by the conversion.
    std::vector<uint8_t> shortFrame(size_t{kRawSmallWidth} * kRawSmallHeight - 1, 3);
    size_t valid = b.StoreSingle(shortFrame.data(), shortFrame.size());
    CRawPars p;
    EXPECT_EQ(p.Process(kRawSmallWidth, kRawSmallHeight, b.Data(), valid), nullptr);
}

TEST(RawStill, HalvesAssembleWithTheSecondReversed) {
    RawStillBuffer b;
    ASSERT_TRUE(b.Init());
    b.SetLastHalfTime(100);
    std::vector<uint8_t> first(kRawHalfBytes + 1000, 1), second(kRawHalfBytes);
    for (size_t i = 0; i < second.size(); ++i) second[i] = static_cast<uint8_t>(i / kRawLargeWidth);
    EXPECT_EQ(b.StoreHalf(first.data(), first.size(), 100), RawStillBuffer::Half::kFirstStored);
    EXPECT_EQ(b.StoreHalf(second.data(), second.size() + 0, 110), RawStillBuffer::Half::kComplete);
    EXPECT_EQ(b.ValidBytes(), kRawFrameBytes);
    const uint8_t* s = b.Data() + kRawHalfBytes;
    EXPECT_EQ(s[0], static_cast<uint8_t>(1307));  // last row first
    EXPECT_EQ(s[kRawHalfBytes - 1], 0);
    EXPECT_EQ(b.Data()[kRawHalfBytes - 1], 1);  // the long first half stayed in its half
}

TEST(RawStill, ShortOrLateHalves) {
    RawStillBuffer b;
    ASSERT_TRUE(b.Init());
    std::vector<uint8_t> half(kRawHalfBytes, 2), shortHalf(kRawHalfBytes / 2, 2), tiny(100, 2);
    EXPECT_EQ(b.StoreHalf(tiny.data(), tiny.size(), 0), RawStillBuffer::Half::kIgnored);
    EXPECT_EQ(b.StoreHalf(half.data(), half.size(), 0), RawStillBuffer::Half::kFirstStored);
    // More than 30 s later: a new first half.
    EXPECT_EQ(b.StoreHalf(half.data(), half.size(), 31), RawStillBuffer::Half::kFirstStored);
    EXPECT_EQ(b.StoreHalf(shortHalf.data(), shortHalf.size(), 40), RawStillBuffer::Half::kComplete);
    EXPECT_LT(b.ValidBytes(), kRawFrameBytes);
    CRawPars p;
    EXPECT_EQ(p.Process(kRawLargeWidth, kRawLargeHeight, b.Data(), b.ValidBytes()), nullptr);
    EXPECT_FALSE(b.ExpectingSecondHalf());
}

}  // namespace
}  // namespace orvane
