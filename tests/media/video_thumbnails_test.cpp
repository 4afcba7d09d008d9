#include "media/video_thumbnails.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "media/bmp_layout.h"
#include "media/byte_io.h"
#include "media/frame_decode.h"
#include "tests/media/fake_media_files.h"

namespace orvane {
namespace {

using test::FakeMediaFiles;

enum class Decoder { Refuses, Accepts24, AcceptsOwnFormat };

struct ClipSetup {
    AviFileInfo info{4, 2, 64};
    bool hasVideo = true;
    BmpInfoHeader format;  // the stream format of every frame
    std::map<int32_t, std::vector<uint8_t>> samples;
    Decoder decoder = Decoder::Accepts24;
};

struct Calls {
    std::vector<int32_t> decodeAt;
    std::vector<BmpInfoHeader> requests;
    int opens = 0;
};

class FakeClip : public AviClip {
  public:
    FakeClip(const ClipSetup& s, Calls& c) : s_(s), c_(c) {}
    AviFileInfo Info() override { return s_.info; }
    bool HasVideoStream() override { return s_.hasVideo; }
    size_t ReadFormat(int32_t, uint8_t* format, size_t capacity) override {
        const auto bytes = s_.format.ToBytes();
        const size_t n = std::min(capacity, bytes.size());
        std::memcpy(format, bytes.data(), n);
        return n;
    }
    size_t ReadSample(int32_t position, uint8_t* buffer, size_t capacity) override {
        auto it = s_.samples.find(position);
        if (it == s_.samples.end()) return 0;
        const size_t n = std::min(capacity, it->second.size());
        std::memcpy(buffer, it->second.data(), n);
        return n;
    }
    bool DecodeFrame(int32_t position, const uint8_t* requested,
                     std::vector<uint8_t>& dib) override {
        const BmpInfoHeader req = BmpInfoHeader::FromBytes(requested);
        c_.decodeAt.push_back(position);
        c_.requests.push_back(req);
        const bool is24 = req.bitCount == 24 && req.compression == kBiRgb;
        const bool isOwn = std::memcmp(requested, s_.format.ToBytes().data(), 40) == 0;
        if (s_.decoder == Decoder::Refuses) return false;
        if (s_.decoder == Decoder::Accepts24 && !is24) return false;
        if (s_.decoder == Decoder::AcceptsOwnFormat && !isOwn) return false;
        BmpInfoHeader out;
        out.width = s_.info.width;
        out.height = s_.info.height;
        out.planes = 1;
        out.bitCount = 24;
        const auto head = out.ToBytes();
        dib.assign(head.begin(), head.end());
        dib.resize(40 + DibStride(out.width, 24) * out.height, static_cast<uint8_t>(position));
        return true;
    }

  private:
    ClipSetup s_;
    Calls& c_;
};

class FakeAvi : public AviLibrary {
  public:
    std::map<std::u16string, ClipSetup> clips;
    Calls calls;
    int begins = 0;
    int ends = 0;
    void Begin() override { ++begins; }
    void End() override { ++ends; }
    std::unique_ptr<AviClip> Open(const std::u16string& path) override {
        ++calls.opens;
        auto it = clips.find(path);
        if (it == clips.end()) return nullptr;
        return std::make_unique<FakeClip>(it->second, calls);
    }
};

std::vector<uint8_t> Sample(uint8_t first, size_t size = 16) {
    std::vector<uint8_t> s(size, 0x11);
    s[0] = first;
    return s;
}

std::vector<uint8_t> MarkerSample() {
    return {0x00, 0xFF, 0x00, 0xFF, 1, 2, 3, 4};
}

BmpInfoHeader Yuy2Format(int32_t w, int32_t h) {
    BmpInfoHeader f;
    f.width = w;
    f.height = h;
    f.planes = 1;
    f.bitCount = 16;
    f.compression = kFourCcYuy2;
    return f;
}

TEST(VideoThumbnail, FirstSampleThatOverwritesTheMarkerIsDecodedAsRequested) {
    ClipSetup s;
    s.samples = {{0, Sample(9)}, {1, MarkerSample()}, {2, MarkerSample()}, {3, Sample(7)}};
    Calls calls;
    FakeClip clip(s, calls);
    std::vector<uint8_t> file;
    ASSERT_EQ(MakeVideoThumbnail(clip, file), ThumbnailOutcome::Made);
    ASSERT_EQ(calls.decodeAt, std::vector<int32_t>{3});
    const BmpInfoHeader& req = calls.requests[0];
    EXPECT_EQ(req.headerSize, 40u);
    EXPECT_EQ(req.width, 4);
    EXPECT_EQ(req.height, 2);
    EXPECT_EQ(req.planes, 1);
    EXPECT_EQ(req.bitCount, 24);
    EXPECT_EQ(req.compression | req.imageSize | req.colorsUsed, 0u);
    // 14-byte header: "BM", size field 54, reserved 0, pixel offset 54; then 40 + 4 * 2 * 3.
    ASSERT_EQ(file.size(), 14u + 40u + 24u);
    const BmpFileHeader head = BmpFileHeader::FromBytes(file.data());
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(head.fileSize, 54u);
    EXPECT_EQ(head.reserved1 | head.reserved2, 0);
    EXPECT_EQ(head.pixelOffset, 54u);
    EXPECT_EQ(BmpInfoHeader::FromBytes(&file[14]).width, 4);
    EXPECT_EQ(file.back(), 3);  // pixels of frame 3
}

TEST(VideoThumbnail, FrameNinetyWhenEveryProbeKeepsTheMarker) {
    ClipSetup s;
    for (int32_t p = 1; p <= 95; ++p) s.samples[p] = MarkerSample();
    Calls calls;
    FakeClip clip(s, calls);
    std::vector<uint8_t> file;
    MakeVideoThumbnail(clip, file);
    EXPECT_EQ(calls.decodeAt, std::vector<int32_t>{kFallbackFrame});
    EXPECT_EQ(file.back(), 90);
    // Failed reads leave the marker in place, too: a clip of one frame probes all 89.
    ClipSetup one;
    one.samples = {{0, Sample(5)}};
    Calls c2;
    FakeClip single(one, c2);
    MakeVideoThumbnail(single, file);
    EXPECT_EQ(c2.decodeAt.front(), kFallbackFrame);
}

TEST(VideoThumbnail, SecondRequestUsesTheFrameFormat) {
    ClipSetup s;
    s.format = Yuy2Format(4, 2);
    s.samples = {{1, Sample(3)}};
    s.decoder = Decoder::AcceptsOwnFormat;
    Calls calls;
    FakeClip clip(s, calls);
    std::vector<uint8_t> file;
    MakeVideoThumbnail(clip, file);
    ASSERT_EQ(calls.requests.size(), 2u);
    EXPECT_EQ(calls.requests[1].compression, kFourCcYuy2);
    EXPECT_EQ(file.size(), 14u + 40u + 24u);
}

TEST(VideoThumbnail, RefusedYuy2ClipIsDecodedByTheProgram) {
    ClipSetup s;
    s.info = {2, 2, 64};
    s.format = Yuy2Format(2, 2);
    // Top row: grey 100 then white; bottom row: a saturated colour pair.
    s.samples = {{1, {116, 128, 255, 128, 235, 16, 235, 240}}};
    s.decoder = Decoder::Refuses;
    Calls calls;
    FakeClip clip(s, calls);
    std::vector<uint8_t> file;
    ASSERT_EQ(MakeVideoThumbnail(clip, file), ThumbnailOutcome::Made);
    EXPECT_EQ(calls.requests.size(), 2u);
    ASSERT_EQ(file.size(), 14u + 40u + 2 * 8u);  // rows of 6 bytes padded to 8
    const BmpInfoHeader info = BmpInfoHeader::FromBytes(&file[14]);
    EXPECT_EQ(info.height, 2);  // bottom-up
    EXPECT_EQ(info.bitCount, 24);
    const uint8_t* bottom = &file[54];
    const uint8_t* top = &file[54 + 8];
    EXPECT_EQ(std::vector<uint8_t>(top, top + 6),
              (std::vector<uint8_t>{100, 100, 100, 239, 239, 239}));
    // Y' 219, U' -112, V' 112: B = -5 -> 0, G = 163, R = 443 -> 255.
    EXPECT_EQ(std::vector<uint8_t>(bottom, bottom + 6),
              (std::vector<uint8_t>{0, 163, 255, 0, 163, 255}));
}

TEST(VideoThumbnail, UndecodableClipGivesAnEmptyThumbnail) {
    Calls calls;
    std::vector<uint8_t> file{1, 2, 3};
    ClipSetup mjpg;
    mjpg.format.bitCount = 24;
    mjpg.format.compression = 0x47504A4D;  // 'MJPG'
    mjpg.format.width = 4;
    mjpg.format.height = 2;
    mjpg.samples = {{1, Sample(1)}};
    mjpg.decoder = Decoder::Refuses;
    FakeClip a(mjpg, calls);
    EXPECT_EQ(MakeVideoThumbnail(a, file), ThumbnailOutcome::Made);
    EXPECT_TRUE(file.empty());

    ClipSetup truncated = mjpg;  // a YUY2 sample shorter than its frame
    truncated.format = Yuy2Format(64, 64);
    FakeClip b(truncated, calls);
    MakeVideoThumbnail(b, file);
    EXPECT_TRUE(file.empty());

    ClipSetup noStream;
    noStream.hasVideo = false;
    FakeClip c(noStream, calls);
    EXPECT_EQ(MakeVideoThumbnail(c, file), ThumbnailOutcome::Made);
    EXPECT_TRUE(file.empty());

    for (uint32_t size : {0u, 0xFFFFFFFFu}) {
        ClipSetup noBuffer;
        noBuffer.info.suggestedBufferSize = size;
        FakeClip d(noBuffer, calls);
        EXPECT_EQ(MakeVideoThumbnail(d, file), ThumbnailOutcome::NoBuffer);
    }
}

TEST(VideoThumbnail, ComposeRejectsBitmapsThatDoNotHoldTheirRows) {
    std::vector<uint8_t> file;
    BmpInfoHeader h;
    h.width = 3;
    h.height = -2;
    h.bitCount = 24;
    const auto head = h.ToBytes();
    std::vector<uint8_t> dib(head.begin(), head.end());
    dib.resize(40 + 12 * 2 - 1);
    EXPECT_FALSE(ComposeThumbnailFile(dib, file));
    dib.push_back(0);
    EXPECT_TRUE(ComposeThumbnailFile(dib, file));
    EXPECT_EQ(file.size(), 14u + 40u + 24u);
    EXPECT_FALSE(ComposeThumbnailFile(std::vector<uint8_t>(head.begin(), head.begin() + 39), file));
    h.bitCount = 16;
    const auto h16 = h.ToBytes();
    EXPECT_FALSE(ComposeThumbnailFile(std::vector<uint8_t>(h16.begin(), h16.end()), file));
    h.bitCount = 24;
    h.headerSize = 0xFFFFFFF0;
    const auto hBig = h.ToBytes();
    EXPECT_FALSE(ComposeThumbnailFile(std::vector<uint8_t>(hBig.begin(), hBig.end()), file));
}

TEST(DecodeRawFrameTest, Rgb24RowsArePaddedAndMadeBottomUp) {
    BmpInfoHeader f;
    f.width = 1;
    f.height = -2;  // top-down
    f.bitCount = 24;
    const std::vector<uint8_t> sample = {1, 2, 3, 0, 4, 5, 6, 0};
    std::vector<uint8_t> dib;
    ASSERT_TRUE(DecodeRawFrame(f, sample.data(), sample.size(), dib));
    ASSERT_EQ(dib.size(), 40u + 8u);
    EXPECT_EQ(std::vector<uint8_t>(dib.begin() + 40, dib.end()),
              (std::vector<uint8_t>{4, 5, 6, 0, 1, 2, 3, 0}));
    EXPECT_FALSE(DecodeRawFrame(f, sample.data(), 7, dib));
    f.width = 0x7FFFFFFF;
    EXPECT_FALSE(DecodeRawFrame(f, sample.data(), sample.size(), dib));
    BmpInfoHeader odd = Yuy2Format(3, 1);
    EXPECT_FALSE(DecodeRawFrame(odd, sample.data(), sample.size(), dib));
}

struct BuildThumbnailsTest : ::testing::Test {
    void SetUp() override {
        files.AddFolder(u"C:\\V");
        files.AddFolder(u"C:\\V\\thumb");
        ClipSetup good;
        good.samples = {{1, Sample(1)}};
        avi.clips[u"C:\\V\\TX0000002.AVI"] = good;
        ClipSetup noBuffer;
        noBuffer.info.suggestedBufferSize = 0;
        avi.clips[u"C:\\V\\TX0000004.AVI"] = noBuffer;
        files.AddFile(u"C:\\V\\THUMB\\TX0000001.BMP", {7});
    }
    FakeMediaFiles files;
    FakeAvi avi;
    const std::vector<std::u16string> videos = {u"C:\\V\\TX0000001.AVI", u"C:\\V\\TX0000002.AVI",
                                                u"C:\\V\\TX0000003.AVI", u"C:\\V\\TX0000004.AVI"};
};

TEST_F(BuildThumbnailsTest, MakesMissingThumbnailsOnceAndReusesThem) {
    std::vector<std::u16string> thumbs = {u"stale"};
    BuildVideoThumbnails(videos, u"C:\\V\\thumb", files, avi, thumbs);
    // 1 existed, 2 is made, 3 does not open, 4 suggests no buffer.
    const std::vector<std::u16string> expected = {u"C:\\V\\thumb\\TX0000001.BMP",
                                                  u"C:\\V\\thumb\\TX0000002.BMP"};
    EXPECT_EQ(thumbs, expected);
    EXPECT_EQ(avi.begins, 1);
    EXPECT_EQ(avi.ends, 1);
    EXPECT_EQ(avi.calls.opens, 3);
    EXPECT_EQ(files.Find(u"C:\\V\\thumb\\TX0000001.BMP")->bytes, std::vector<uint8_t>{7});
    EXPECT_EQ(files.Find(u"C:\\V\\thumb\\TX0000002.BMP")->bytes.size(), 14u + 40u + 24u);
    EXPECT_TRUE(files.Find(u"C:\\V\\thumb\\TX0000003.BMP")->bytes.empty());
    EXPECT_TRUE(files.Find(u"C:\\V\\thumb\\TX0000004.BMP")->bytes.empty());

    // The next rebuild opens nothing: the empty files now stand for their clips.
    BuildVideoThumbnails(videos, u"C:\\V\\thumb", files, avi, thumbs);
    EXPECT_EQ(avi.calls.opens, 3);
    EXPECT_EQ(thumbs.size(), 4u);
    EXPECT_EQ(avi.begins, 2);
}

TEST_F(BuildThumbnailsTest, MissingThumbFolderListsOnlyExistingThumbnails) {
    std::vector<std::u16string> thumbs;
    BuildVideoThumbnails(videos, u"C:\\V\\gone", files, avi, thumbs);
    EXPECT_TRUE(thumbs.empty());
    EXPECT_EQ(avi.calls.opens, 0);
    BuildVideoThumbnails({u"C:\\V\\short.avi", std::u16string(300, u'V')}, u"C:\\V\\thumb", files,
                         avi, thumbs);
    EXPECT_TRUE(thumbs.empty());
}

}  // namespace
}  // namespace orvane
