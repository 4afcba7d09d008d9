#include "media/video_thumbnails.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "media/bmp_layout.h"
#include "media/companion_paths.h"
#include "media/frame_decode.h"

namespace orvane {

namespace {
// Larger than any frame a supported camera records (3488 x 2616 x 3 bytes); a clip claiming a
// bigger sample is not read.
constexpr uint32_t kMaxSampleBuffer = 64u << 20;

bool StartsWithMarker(const std::vector<uint8_t>& buffer) {
    return std::memcmp(buffer.data(), kFrameMarker, sizeof kFrameMarker) == 0;
}
}  // namespace

bool ComposeThumbnailFile(const std::vector<uint8_t>& dib, std::vector<uint8_t>& bytes) {
    if (dib.size() < BmpInfoHeader::kSize) return false;
    BmpInfoHeader info = BmpInfoHeader::FromBytes(dib.data());
    if (info.headerSize < BmpInfoHeader::kSize || info.headerSize > dib.size()) return false;
    if (info.bitCount != 24 || info.compression != kBiRgb || info.height == 0) return false;
    const int64_t rows = info.height < 0 ? -static_cast<int64_t>(info.height) : info.height;
    const uint64_t stride = DibStride(info.width, 24);
    if (stride == 0 || rows > 0x10000) return false;
    const uint64_t pixelBytes = stride * static_cast<uint64_t>(rows);
    if (pixelBytes > dib.size() - info.headerSize) return false;

    BmpFileHeader file;
    file.fileSize = BmpFileHeader::kSize + BmpInfoHeader::kSize;
    file.pixelOffset = BmpFileHeader::kSize + BmpInfoHeader::kSize;
    const BmpFileHeader::Bytes fileBytes = file.ToBytes();
    const size_t pixelStart = info.headerSize;
    info.headerSize = BmpInfoHeader::kSize;
    const BmpInfoHeader::Bytes infoBytes = info.ToBytes();

    bytes.clear();
    bytes.reserve(fileBytes.size() + infoBytes.size() + pixelBytes);
    bytes.insert(bytes.end(), fileBytes.begin(), fileBytes.end());
    bytes.insert(bytes.end(), infoBytes.begin(), infoBytes.end());
    bytes.insert(bytes.end(), dib.begin() + static_cast<std::ptrdiff_t>(pixelStart),
                 dib.begin() + static_cast<std::ptrdiff_t>(pixelStart + pixelBytes));
    return true;
}

ThumbnailOutcome MakeVideoThumbnail(AviClip& clip, std::vector<uint8_t>& bytes) {
    bytes.clear();
    const AviFileInfo info = clip.Info();
    if (info.suggestedBufferSize == 0 || info.suggestedBufferSize > kMaxSampleBuffer) {
        return ThumbnailOutcome::NoBuffer;
    }
    if (!clip.HasVideoStream()) return ThumbnailOutcome::Made;

    std::vector<uint8_t> buffer(std::max<size_t>(info.suggestedBufferSize, sizeof kFrameMarker));
    std::memcpy(buffer.data(), kFrameMarker, sizeof kFrameMarker);
    std::array<uint8_t, BmpInfoHeader::kSize> format{};
    size_t formatSize = 0;
    size_t sampleSize = 0;
    int32_t chosen = kFallbackFrame;
    for (int32_t position = 1; position <= kLastProbedFrame; ++position) {
        const size_t gotFormat = clip.ReadFormat(position, format.data(), format.size());
        if (gotFormat != 0) formatSize = gotFormat;
        const size_t got = clip.ReadSample(position, buffer.data(), buffer.size());
        if (got != 0) sampleSize = std::min(got, buffer.size());
        if (!StartsWithMarker(buffer)) {
            chosen = position;
            break;
        }
    }

    BmpInfoHeader request;
    request.width = info.width;
    request.height = info.height;
    request.planes = 1;
    request.bitCount = 24;
    const BmpInfoHeader::Bytes requestBytes = request.ToBytes();
    std::vector<uint8_t> dib;
    if (clip.DecodeFrame(chosen, requestBytes.data(), dib) && ComposeThumbnailFile(dib, bytes)) {
        return ThumbnailOutcome::Made;
    }
    if (clip.DecodeFrame(chosen, format.data(), dib) && ComposeThumbnailFile(dib, bytes)) {
        return ThumbnailOutcome::Made;
    }

    // The decompressor refused: decode the raw sample ourselves. When no probed sample replaced
    // the marker, the fallback frame has not been read yet.
    if (chosen == kFallbackFrame) {
        const size_t gotFormat = clip.ReadFormat(chosen, format.data(), format.size());
        if (gotFormat != 0) formatSize = gotFormat;
        sampleSize = std::min(clip.ReadSample(chosen, buffer.data(), buffer.size()), buffer.size());
    }
    if (formatSize < BmpInfoHeader::kSize || sampleSize == 0) return ThumbnailOutcome::Made;
    if (DecodeRawFrame(BmpInfoHeader::FromBytes(format.data()), buffer.data(), sampleSize, dib)) {
        if (!ComposeThumbnailFile(dib, bytes)) bytes.clear();
    }
    return ThumbnailOutcome::Made;
}

void BuildVideoThumbnails(const std::vector<std::u16string>& videos,
                          const std::u16string& thumbFolder, MediaFiles& files, AviLibrary& avi,
                          std::vector<std::u16string>& thumbnails) {
    thumbnails.clear();
    avi.Begin();
    std::vector<uint8_t> bytes;
    for (const std::u16string& video : videos) {
        std::u16string thumb = VideoThumbnailPath(video, thumbFolder);
        if (thumb.empty()) continue;
        if (files.Exists(thumb)) {
            thumbnails.push_back(std::move(thumb));
            continue;
        }
        if (!files.WriteWhole(thumb, nullptr, 0)) continue;
        std::unique_ptr<AviClip> clip = avi.Open(video);
        if (!clip) continue;
        const ThumbnailOutcome outcome = MakeVideoThumbnail(*clip, bytes);
        clip.reset();
        if (outcome == ThumbnailOutcome::NoBuffer) continue;
        if (!bytes.empty()) files.WriteWhole(thumb, bytes.data(), bytes.size());
        thumbnails.push_back(std::move(thumb));
    }
    avi.End();
}

}  // namespace orvane
