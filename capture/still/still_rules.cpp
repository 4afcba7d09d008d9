#include "capture/still/still_rules.h"

#include <algorithm>
#include <cstring>

#include "capture/size_codes.h"
#include "media/bmp_layout.h"

namespace orvane {

PhotoAction PhotoCommandAction(uint32_t code) {
    switch (code) {
        case 0x128001E0:
        case 0x13200258:
        case 0x150003C0:
            return PhotoAction::kPreviewFrame;
        case 0x228001E0:
        case 0x23200258:
        case 0x250003C0:
        case 0x328001E0:
        case 0x33200258:
        case 0x350003C0:
        case 0x43200258:
            return PhotoAction::kGuardedStill;
        default:
            return PhotoAction::kStill;
    }
}

StillPath StillPathOf(uint32_t code) {
    using K = StillPath::Kind;
    switch (code) {
        case 0x128001E0:
        case 0x150003C0:
            return {K::kPreviewRequest};
        case 0x13200258:
            return {K::kPreviewEveryOther};
        case 0x228001E0:
        case 0x250003C0:
            return {K::kRawSingle, 2048, 1536, false};
        case 0x328001E0:
        case 0x350003C0:
            return {K::kRawSingle, 2560, 1920, false};
        case 0x23200258:
            return {K::kRawHalves, 2048, 1536, true};
        case 0x33200258:
            return {K::kRawHalves, 2560, 1920, true};
        case 0x43200258:
            return {K::kRawHalves, 3488, 2616, true};
        default:
            break;
    }
    // The nine sizes of the catalogue without a photo option.
    const ResolutionItem* item = ResolutionBySizeCode(code);
    if (PhotoOption(code) == 0 && item) return {K::kPreviewSize};
    return {K::kUnused};
}

uint32_t PackedImageSize(int width, int height) {
    if (width <= 0 || height <= 0) return 0;
    return static_cast<uint32_t>((static_cast<uint64_t>(width) * 24 + 7) / 8 *
                                 static_cast<uint64_t>(height));
}

BmpHeaders TopDownBmpHeaders(int width, int height, uint32_t imageSize, size_t headerBytes) {
    headerBytes = std::max<size_t>(headerBytes, BmpInfoHeader::kSize);
    BmpFileHeader file;
    file.pixelOffset = static_cast<uint32_t>(BmpFileHeader::kSize + headerBytes);
    file.fileSize = file.pixelOffset + imageSize;
    BmpInfoHeader info;
    info.width = width;
    info.height = -height;
    info.planes = 1;
    info.bitCount = 24;
    info.compression = kBiRgb;
    info.imageSize = imageSize;
    BmpHeaders out;
    out.imageSize = imageSize;
    const auto f = file.ToBytes();
    const auto i = info.ToBytes();
    out.bytes.assign(f.begin(), f.end());
    out.bytes.insert(out.bytes.end(), i.begin(), i.end());
    out.bytes.resize(BmpFileHeader::kSize + headerBytes, 0);
    return out;
}

BmpHeaders BottomUpBmpHeaders(int width, int height) {
    constexpr int32_t k96DotsPerInch = 3780;  // per metre, as the platform writes it
    const uint64_t stride = DibStride(width, 24);
    constexpr uint64_t kHeaders = BmpFileHeader::kSize + BmpInfoHeader::kSize;
    if (stride == 0 || height <= 0 ||
        stride * static_cast<uint64_t>(height) > 0xFFFFFFFFu - kHeaders)
        return {};
    const auto imageSize = static_cast<uint32_t>(stride * static_cast<uint64_t>(height));
    BmpFileHeader file;
    file.pixelOffset = static_cast<uint32_t>(kHeaders);
    file.fileSize = file.pixelOffset + imageSize;
    BmpInfoHeader info;
    info.width = width;
    info.height = height;
    info.planes = 1;
    info.bitCount = 24;
    info.compression = kBiRgb;
    info.imageSize = imageSize;
    info.xPelsPerMeter = k96DotsPerInch;
    info.yPelsPerMeter = k96DotsPerInch;
    BmpHeaders out;
    out.imageSize = imageSize;
    const auto f = file.ToBytes();
    const auto i = info.ToBytes();
    out.bytes.assign(f.begin(), f.end());
    out.bytes.insert(out.bytes.end(), i.begin(), i.end());
    return out;
}

bool ResampleNearest(const uint8_t* source, size_t sourceBytes, int sourceWidth, int sourceHeight,
                     uint8_t* target, size_t targetBytes, int targetWidth, int targetHeight) {
    if (!source || !target || sourceWidth <= 0 || sourceHeight <= 0 || targetWidth <= 0 ||
        targetHeight <= 0) {
        return false;
    }
    const size_t sourceRow = static_cast<size_t>(sourceWidth) * 3;
    const size_t targetRow = static_cast<size_t>(targetWidth) * 3;
    if (sourceBytes / sourceRow < static_cast<size_t>(sourceHeight) ||
        targetBytes / targetRow < static_cast<size_t>(targetHeight)) {
        return false;
    }
    std::memset(target, 0, targetRow * static_cast<size_t>(targetHeight));
    const double ratio = std::min(static_cast<double>(sourceWidth) / targetWidth,
                                  static_cast<double>(sourceHeight) / targetHeight);
    for (int y = 0; y < targetHeight; ++y) {
        const int64_t sy = static_cast<int64_t>(y * ratio);
        if (sy >= sourceHeight) break;
        const uint8_t* in = source + sourceRow * static_cast<size_t>(sy);
        uint8_t* out = target + targetRow * static_cast<size_t>(y);
        for (int x = 0; x < targetWidth; ++x) {
            const int64_t sx = static_cast<int64_t>(x * ratio);
            if (sx >= sourceWidth) break;
            std::memcpy(out + x * 3, in + sx * 3, 3);
        }
    }
    return true;
}

FrameKind PreviewFrameKind(uint32_t compression, uint16_t bitCount, int width, int height,
                           size_t bufferBytes) {
    constexpr uint32_t kRgb = 0;
    constexpr uint32_t kYuy2 = 0x32595559;  // 'Y' 'U' 'Y' '2'
    if (width <= 0 || height <= 0) return FrameKind::kUnsupported;
    if (compression == kRgb) return bitCount == 24 ? FrameKind::kRgb24 : FrameKind::kUnsupported;
    if (compression != kYuy2 || width % 2 != 0) return FrameKind::kUnsupported;
    const uint64_t pixels = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
    return pixels * 3 <= bufferBytes ? FrameKind::kYuy2 : FrameKind::kUnsupported;
}

bool StillRequestExpired(uint64_t sinceMs, uint64_t nowMs) {
    return nowMs < sinceMs || nowMs - sinceMs >= kStillAnswerMs;
}

}  // namespace orvane
