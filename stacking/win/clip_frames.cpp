#include "stacking/win/clip_frames.h"

#include <climits>
#include <cstring>

#include "media/bmp_layout.h"
#include "media/frame_decode.h"

namespace orvane {
namespace {

// Larger than any frame a supported camera records; a clip claiming more is not read.
constexpr LONG kMostSampleBytes = 64 << 20;
constexpr int32_t kMostSide = 16384;

// The view of a packed 24-bit bitmap (info header, then rows) of width x |height|.
bool ViewOfDib(const uint8_t* dib, size_t size, int32_t width, int32_t height,
               stacking::BgrView* frame) {
    if (size < BmpInfoHeader::kSize) return false;
    const BmpInfoHeader info = BmpInfoHeader::FromBytes(dib);
    if (info.bitCount != 24 || info.compression != kBiRgb || info.width != width ||
        (info.height != height && info.height != -height) ||
        info.headerSize < BmpInfoHeader::kSize || info.headerSize > size) {
        return false;
    }
    const uint64_t stride = DibStride(width, 24);
    const uint64_t colours = info.colorsUsed <= 256 ? info.colorsUsed * 4ull : 0;
    const uint64_t start = info.headerSize + colours;
    if (stride == 0 || start + stride * static_cast<uint64_t>(height) > size) return false;
    const uint8_t* rows = dib + start;
    if (info.height > 0) {
        // Bottom-up: the picture's first row is the last in memory.
        frame->pixels = rows + stride * static_cast<uint64_t>(height - 1);
        frame->stride = -static_cast<ptrdiff_t>(stride);
    } else {
        frame->pixels = rows;
        frame->stride = static_cast<ptrdiff_t>(stride);
    }
    frame->width = width;
    frame->height = height;
    return true;
}

}  // namespace

ClipFrames::~ClipFrames() {
    if (decompressor_) AVIStreamGetFrameClose(decompressor_);
    if (stream_) AVIStreamRelease(stream_);
    if (file_) AVIFileRelease(file_);
    if (started_) AVIFileExit();
}

bool ClipFrames::Open(const std::wstring& path) {
    if (file_) return false;
    AVIFileInit();
    started_ = true;
    if (AVIFileOpenW(&file_, path.c_str(), OF_READ | OF_SHARE_DENY_NONE, nullptr) != 0) {
        file_ = nullptr;
        return false;
    }
    if (AVIFileGetStream(file_, &stream_, streamtypeVIDEO, 0) != 0) {
        stream_ = nullptr;
        return false;
    }
    first_ = AVIStreamStart(stream_);
    count_ = AVIStreamLength(stream_);
    if (first_ < 0 || count_ < 0 || first_ > INT32_MAX - count_) return false;
    LONG size = 0;
    if (AVIStreamReadFormat(stream_, first_, nullptr, &size) != 0 || size < 40 || size > 4096) {
        return false;
    }
    format_.assign(static_cast<size_t>(size), 0);
    if (AVIStreamReadFormat(stream_, first_, format_.data(), &size) != 0 || size < 40) return false;
    const BmpInfoHeader info = BmpInfoHeader::FromBytes(format_.data());
    width_ = info.width;
    height_ = info.height < 0 ? -info.height : info.height;
    return width_ > 0 && width_ <= kMostSide && height_ > 0 && height_ <= kMostSide;
}

bool ClipFrames::Read(int32_t position, stacking::BgrView* frame, bool* repeated) {
    *repeated = false;
    if (!stream_ || position < first_ || position - first_ >= count_) return false;
    return ReadRaw(position, frame, repeated) || ReadDecompressed(position, frame);
}

bool ClipFrames::ReadRaw(int32_t position, stacking::BgrView* frame, bool* repeated) {
    const BmpInfoHeader info = BmpInfoHeader::FromBytes(format_.data());
    const bool yuy2 = info.compression == kFourCcYuy2 && info.bitCount == 16;
    const bool rgb = info.compression == kBiRgb && info.bitCount == 24;
    if (!yuy2 && !rgb) return false;
    LONG bytes = 0;
    if (AVIStreamRead(stream_, position, 1, nullptr, 0, &bytes, nullptr) != 0 || bytes <= 0 ||
        bytes > kMostSampleBytes) {
        return false;
    }
    if (sample_.size() < static_cast<size_t>(bytes)) sample_.resize(static_cast<size_t>(bytes));
    LONG got = 0, samples = 0;
    if (AVIStreamRead(stream_, position, 1, sample_.data(), bytes, &got, &samples) != 0 ||
        got <= 0) {
        return false;
    }
    const size_t size = static_cast<size_t>(got);
    if (size == previous_.size() && std::memcmp(sample_.data(), previous_.data(), size) == 0) {
        *repeated = true;
        return true;
    }
    if (!DecodeRawFrame(info, sample_.data(), size, dib_)) return false;
    previous_.assign(sample_.begin(), sample_.begin() + static_cast<ptrdiff_t>(size));
    return ViewOfDib(dib_.data(), dib_.size(), width_, height_, frame);
}

bool ClipFrames::ReadDecompressed(int32_t position, stacking::BgrView* frame) {
    if (!decompressorTried_) {
        decompressorTried_ = true;
        BITMAPINFOHEADER want{};
        want.biSize = sizeof want;
        want.biWidth = width_;
        want.biHeight = height_;
        want.biPlanes = 1;
        want.biBitCount = 24;
        want.biCompression = BI_RGB;
        decompressor_ = AVIStreamGetFrameOpen(stream_, &want);
    }
    if (!decompressor_) return false;
    const auto* got =
        static_cast<const BITMAPINFOHEADER*>(AVIStreamGetFrame(decompressor_, position));
    if (!got || got->biSize < sizeof(BITMAPINFOHEADER)) return false;
    const uint64_t rows = static_cast<uint64_t>(
        got->biHeight < 0 ? -static_cast<int64_t>(got->biHeight) : got->biHeight);
    const uint64_t size = got->biSize + (got->biClrUsed <= 256 ? got->biClrUsed * 4ull : 0) +
                          DibStride(got->biWidth, 24) * rows;
    return ViewOfDib(reinterpret_cast<const uint8_t*>(got), static_cast<size_t>(size), width_,
                     height_, frame);
}

}  // namespace orvane
