#include "media/win/win_avi_library.h"

#include <windows.h>
#include <vfw.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "media/bmp_layout.h"
#include "media/win/win_wide.h"

namespace orvane {

namespace {
BITMAPINFOHEADER ToPlatformHeader(const BmpInfoHeader& h) {
    BITMAPINFOHEADER out{};
    out.biSize = sizeof(BITMAPINFOHEADER);
    out.biWidth = h.width;
    out.biHeight = h.height;
    out.biPlanes = h.planes;
    out.biBitCount = h.bitCount;
    out.biCompression = h.compression;
    out.biSizeImage = h.imageSize;
    out.biXPelsPerMeter = h.xPelsPerMeter;
    out.biYPelsPerMeter = h.yPelsPerMeter;
    out.biClrUsed = h.colorsUsed;
    out.biClrImportant = h.colorsImportant;
    return out;
}

BmpInfoHeader FromPlatformHeader(const BITMAPINFOHEADER& h) {
    BmpInfoHeader out;
    out.headerSize = BmpInfoHeader::kSize;
    out.width = h.biWidth;
    out.height = h.biHeight;
    out.planes = h.biPlanes;
    out.bitCount = h.biBitCount;
    out.compression = h.biCompression;
    out.imageSize = h.biSizeImage;
    out.xPelsPerMeter = h.biXPelsPerMeter;
    out.yPelsPerMeter = h.biYPelsPerMeter;
    out.colorsUsed = h.biClrUsed;
    out.colorsImportant = h.biClrImportant;
    return out;
}

class WinAviClip : public AviClip {
  public:
    explicit WinAviClip(PAVIFILE file) : file_(file) {
        if (AVIFileGetStream(file_, &stream_, streamtypeVIDEO, 0) != 0) stream_ = nullptr;
    }
    ~WinAviClip() override {
        if (stream_ != nullptr) AVIStreamRelease(stream_);
        AVIFileRelease(file_);
    }
    WinAviClip(const WinAviClip&) = delete;
    WinAviClip& operator=(const WinAviClip&) = delete;

    AviFileInfo Info() override {
        AVIFILEINFOW info{};
        if (AVIFileInfoW(file_, &info, sizeof info) != 0) return {};
        return {static_cast<int32_t>(info.dwWidth), static_cast<int32_t>(info.dwHeight),
                info.dwSuggestedBufferSize};
    }

    bool HasVideoStream() override { return stream_ != nullptr; }

    size_t ReadFormat(int32_t position, uint8_t* format, size_t capacity) override {
        if (stream_ == nullptr) return 0;
        LONG size = static_cast<LONG>(std::min<size_t>(capacity, LONG_MAX));
        if (AVIStreamReadFormat(stream_, position, format, &size) != 0 || size <= 0) return 0;
        return std::min(static_cast<size_t>(size), capacity);
    }

    size_t ReadSample(int32_t position, uint8_t* buffer, size_t capacity) override {
        if (stream_ == nullptr) return 0;
        LONG bytes = 0;
        LONG samples = 0;
        const LONG room = static_cast<LONG>(std::min<size_t>(capacity, LONG_MAX));
        if (AVIStreamRead(stream_, position, 1, buffer, room, &bytes, &samples) != 0) return 0;
        return bytes <= 0 ? 0 : std::min(static_cast<size_t>(bytes), capacity);
    }

    bool DecodeFrame(int32_t position, const uint8_t* requested,
                     std::vector<uint8_t>& packedDib) override {
        if (stream_ == nullptr) return false;
        BITMAPINFOHEADER want = ToPlatformHeader(BmpInfoHeader::FromBytes(requested));
        PGETFRAME frames = AVIStreamGetFrameOpen(stream_, &want);
        if (frames == nullptr) return false;
        const auto* got = static_cast<const BITMAPINFOHEADER*>(AVIStreamGetFrame(frames, position));
        bool ok = false;
        // Only an uncompressed 24-bit frame is taken; it has no colour table to skip beyond a
        // few stray entries.
        if (got != nullptr && got->biSize >= sizeof(BITMAPINFOHEADER) && got->biBitCount == 24 &&
            got->biCompression == BI_RGB && got->biClrUsed <= 256) {
            const uint64_t rows = got->biHeight < 0 ? 0ull - static_cast<int64_t>(got->biHeight)
                                                    : static_cast<uint64_t>(got->biHeight);
            const uint64_t pixels = DibStride(got->biWidth, got->biBitCount) * rows;
            if (pixels != 0 && pixels <= (64ull << 20)) {
                const BmpInfoHeader::Bytes head = FromPlatformHeader(*got).ToBytes();
                const auto* bits = reinterpret_cast<const uint8_t*>(got) + got->biSize +
                                   got->biClrUsed * sizeof(RGBQUAD);
                packedDib.assign(head.begin(), head.end());
                packedDib.insert(packedDib.end(), bits, bits + pixels);
                ok = true;
            }
        }
        AVIStreamGetFrameClose(frames);
        return ok;
    }

  private:
    PAVIFILE file_;
    PAVISTREAM stream_ = nullptr;
};
}  // namespace

WinAviLibrary::~WinAviLibrary() {
    End();
}

void WinAviLibrary::Begin() {
    if (started_) return;
    AVIFileInit();
    started_ = true;
}

void WinAviLibrary::End() {
    if (!started_) return;
    AVIFileExit();
    started_ = false;
}

std::unique_ptr<AviClip> WinAviLibrary::Open(const std::u16string& path) {
    PAVIFILE file = nullptr;
    if (AVIFileOpenW(&file, Wide(path), OF_READ | OF_SHARE_DENY_NONE, nullptr) != 0) {
        return nullptr;
    }
    return std::make_unique<WinAviClip>(file);
}

}  // namespace orvane
