#include "stacking/files/frame_files.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <system_error>

#include "media/bmp_layout.h"
#include "media/byte_io.h"

namespace orvane::stacking {

namespace {

constexpr uint32_t kBiBitfields = 3;
constexpr size_t kHeaders = BmpFileHeader::kSize + BmpInfoHeader::kSize;
constexpr size_t kMasksOffset =
    BmpFileHeader::kSize + BmpInfoHeader::kSize;  // after a 40-byte header

}  // namespace

bool BmpFrameReader::Recognises(const uint8_t* head, size_t size) const {
    return size >= 2 && head[0] == 'B' && head[1] == 'M';
}

bool BmpFrameReader::Decode(const uint8_t* file, size_t size, BgrImage* picture,
                            std::string* error) const {
    if (size < kHeaders || !Recognises(file, size)) {
        *error = "not a BMP picture";
        return false;
    }
    const BmpFileHeader head = BmpFileHeader::FromBytes(file);
    const BmpInfoHeader info = BmpInfoHeader::FromBytes(file + BmpFileHeader::kSize);
    if (info.headerSize < BmpInfoHeader::kSize || info.headerSize > size - BmpFileHeader::kSize) {
        *error = "damaged BMP header";
        return false;
    }
    if (info.bitCount != 24 && info.bitCount != 32) {
        *error = "BMP of " + std::to_string(info.bitCount) + " bits per pixel (24 or 32 read)";
        return false;
    }
    bool masked = false;
    if (info.compression == kBiBitfields && info.bitCount == 32) {
        // The masks follow a 40-byte header, or are its fields in the longer ones.
        if (size < kMasksOffset + 12) {
            *error = "damaged BMP header";
            return false;
        }
        masked = GetU32(file + kMasksOffset) == 0x00FF0000u &&
                 GetU32(file + kMasksOffset + 4) == 0x0000FF00u &&
                 GetU32(file + kMasksOffset + 8) == 0x000000FFu;
        if (!masked) {
            *error = "BMP with unusual channel masks";
            return false;
        }
    } else if (info.compression != kBiRgb) {
        *error = "compressed BMP";
        return false;
    }
    const int64_t width = info.width;
    const int64_t height = info.height < 0 ? -static_cast<int64_t>(info.height) : info.height;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
        width * height > kMaxPixels) {
        *error = "BMP of " + std::to_string(info.width) + " x " + std::to_string(info.height) +
                 " pixels (at most " + std::to_string(kMaxSide) + " a side)";
        return false;
    }
    const uint64_t stride = DibStride(width, info.bitCount);
    const uint64_t end = static_cast<uint64_t>(head.pixelOffset) + stride * height;
    if (head.pixelOffset < BmpFileHeader::kSize + info.headerSize || end > size) {
        *error = "BMP shorter than its rows";
        return false;
    }
    if (!picture->Allocate(static_cast<int32_t>(width), static_cast<int32_t>(height))) {
        *error = "not enough memory for the picture";
        return false;
    }
    const bool topDown = info.height < 0;
    const size_t step = info.bitCount / 8;
    for (int64_t y = 0; y < height; ++y) {
        const uint8_t* in = file + head.pixelOffset + stride * y;
        uint8_t* row = picture->Row(static_cast<int32_t>(topDown ? y : height - 1 - y));
        if (step == 3) {
            std::memcpy(row, in, static_cast<size_t>(width) * 3);
            continue;
        }
        for (int64_t x = 0; x < width; ++x, in += 4, row += 3) {
            row[0] = in[0];
            row[1] = in[1];
            row[2] = in[2];
        }
    }
    return true;
}

bool ReadFrameFile(const char* path, const FrameReader* const* readers, size_t count,
                   BgrImage* picture, std::string* error) {
    std::FILE* f = std::fopen(path, "rb");
    if (f == nullptr) {
        *error = "cannot open the file";
        return false;
    }
    long length = -1;
    if (std::fseek(f, 0, SEEK_END) == 0) length = std::ftell(f);
    if (length < 0 || std::fseek(f, 0, SEEK_SET) != 0) {
        std::fclose(f);
        *error = "cannot read the file";
        return false;
    }
    if (static_cast<uint64_t>(length) > kMaxFrameFileBytes) {
        std::fclose(f);
        *error = "file too large";
        return false;
    }
    const size_t size = static_cast<size_t>(length);
    std::unique_ptr<uint8_t[]> data(new (std::nothrow) uint8_t[size + 1]);
    if (!data) {
        std::fclose(f);
        *error = "not enough memory to read the file";
        return false;
    }
    const size_t got = std::fread(data.get(), 1, size, f);
    std::fclose(f);
    if (got != size) {
        *error = "cannot read the file";
        return false;
    }
    for (size_t i = 0; i < count; ++i) {
        if (readers[i]->Recognises(data.get(), size))
            return readers[i]->Decode(data.get(), size, picture, error);
    }
    *error = size == 0 ? "empty file" : "not a picture this program reads";
    return false;
}

bool WriteBmpFile(const char* path, const BgrImage& picture, std::string* error) {
    if (picture.Empty()) {
        *error = "no picture";
        return false;
    }
    const uint64_t stride = DibStride(picture.Width(), 24);
    const uint64_t image = stride * static_cast<uint64_t>(picture.Height());
    if (image + kHeaders > 0xFFFFFFFFu) {
        *error = "picture too large for a BMP file";
        return false;
    }
    BmpFileHeader head;
    head.fileSize = static_cast<uint32_t>(image + kHeaders);
    head.pixelOffset = static_cast<uint32_t>(kHeaders);
    BmpInfoHeader info;
    info.width = picture.Width();
    info.height = picture.Height();
    info.planes = 1;
    info.bitCount = 24;
    info.imageSize = static_cast<uint32_t>(image);
    info.xPelsPerMeter = info.yPelsPerMeter = 2835;  // 72 dpi
    const auto headBytes = head.ToBytes();
    const auto infoBytes = info.ToBytes();

    const std::string part = std::string(path) + ".part";
    std::FILE* f = std::fopen(part.c_str(), "wb");
    if (f == nullptr) {
        *error = "cannot create the file";
        return false;
    }
    bool ok = std::fwrite(headBytes.data(), 1, headBytes.size(), f) == headBytes.size() &&
              std::fwrite(infoBytes.data(), 1, infoBytes.size(), f) == infoBytes.size();
    const size_t rowBytes = static_cast<size_t>(picture.Width()) * 3;
    const uint8_t pad[3] = {0, 0, 0};
    for (int32_t y = picture.Height() - 1; ok && y >= 0; --y) {
        ok = std::fwrite(picture.Row(y), 1, rowBytes, f) == rowBytes &&
             std::fwrite(pad, 1, stride - rowBytes, f) == stride - rowBytes;
    }
    if (std::fclose(f) != 0) ok = false;
    std::error_code ec;
    if (ok) std::filesystem::rename(part, path, ec);
    if (!ok || ec) {
        std::remove(part.c_str());
        *error = ok ? "cannot replace the file" : "cannot write the file";
        return false;
    }
    return true;
}

}  // namespace orvane::stacking
