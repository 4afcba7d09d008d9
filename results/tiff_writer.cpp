#include "results/tiff_writer.h"

#include <algorithm>
#include <cstring>

#include "media/byte_io.h"
#include "results/tiff_layout.h"

namespace orvane::results {

namespace {

constexpr int32_t kLargestSide = 32768;

// A directory being built: entries in tag order, values that do not fit an entry appended
// to an area after the directory.
class Directory {
  public:
    explicit Directory(size_t entries) : entries_(entries) {}

    void Short(uint16_t tag, uint16_t v) {
        TiffEntry e{tag, kTiffShort, 1, {}};
        PutU16(e.value.data(), v);
        list_.push_back({e, {}});
    }
    void Long(uint16_t tag, uint32_t v) {
        TiffEntry e{tag, kTiffLong, 1, {}};
        PutU32(e.value.data(), v);
        list_.push_back({e, {}});
    }
    void Shorts(uint16_t tag, const std::vector<uint16_t>& v) {
        std::vector<uint8_t> bytes(v.size() * 2);
        for (size_t i = 0; i < v.size(); ++i) PutU16(&bytes[i * 2], v[i]);
        Add(tag, kTiffShort, static_cast<uint32_t>(v.size()), std::move(bytes));
    }
    void Longs(uint16_t tag, const std::vector<uint32_t>& v) {
        std::vector<uint8_t> bytes(v.size() * 4);
        for (size_t i = 0; i < v.size(); ++i) PutU32(&bytes[i * 4], v[i]);
        Add(tag, kTiffLong, static_cast<uint32_t>(v.size()), std::move(bytes));
    }
    void Rational(uint16_t tag, TiffRational r) {
        const TiffRational::Bytes b = r.ToBytes();
        Add(tag, kTiffRational, 1, std::vector<uint8_t>(b.begin(), b.end()));
    }
    void Ascii(uint16_t tag, const std::string& text) {
        std::vector<uint8_t> bytes(text.begin(), text.end());
        bytes.push_back(0);
        const uint32_t count = static_cast<uint32_t>(bytes.size());
        Add(tag, kTiffAscii, count, std::move(bytes));
    }

    // Bytes of the directory and its value area, when placed at `at` (even).
    size_t Size() const {
        size_t size = TiffDirectorySize(entries_);
        for (const Item& item : list_) size += Padded(item.outside.size());
        return size;
    }
    // Writes the directory and its values at `at` of out; values get their offsets now.
    void WriteAt(std::vector<uint8_t>& out, size_t at) {
        size_t value = at + TiffDirectorySize(entries_);
        PutU16(&out[at], static_cast<uint16_t>(list_.size()));
        size_t entry = at + 2;
        for (Item& item : list_) {
            if (!item.outside.empty()) {
                PutU32(item.entry.value.data(), static_cast<uint32_t>(value));
                std::memcpy(&out[value], item.outside.data(), item.outside.size());
                value += Padded(item.outside.size());
            }
            const TiffEntry::Bytes b = item.entry.ToBytes();
            std::memcpy(&out[entry], b.data(), b.size());
            entry += TiffEntry::kSize;
        }
        PutU32(&out[entry], 0);  // no next directory
    }
    size_t Count() const { return list_.size(); }

  private:
    struct Item {
        TiffEntry entry;
        std::vector<uint8_t> outside;  // the value when it does not fit the entry
    };
    static size_t Padded(size_t n) { return n + (n & 1); }
    void Add(uint16_t tag, uint16_t type, uint32_t count, std::vector<uint8_t> bytes) {
        TiffEntry e{tag, type, count, {}};
        if (bytes.size() <= 4) {
            std::memcpy(e.value.data(), bytes.data(), bytes.size());
            list_.push_back({e, {}});
        } else {
            list_.push_back({e, std::move(bytes)});
        }
    }

    size_t entries_;
    std::vector<Item> list_;
};

std::string UpToNul(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

}  // namespace

std::vector<uint8_t> WriteTiff24(const PixelRows& picture, const TiffFields& fields) {
    if (picture.width <= 0 || picture.height <= 0 || picture.width > kLargestSide ||
        picture.height > kLargestSide) {
        return {};
    }
    const size_t rowBytes = static_cast<size_t>(picture.width) * 3;
    const uint64_t pixelBytes = static_cast<uint64_t>(rowBytes) * picture.height;
    if (picture.bytes.size() != pixelBytes || pixelBytes > kMaxTiffBytes) return {};
    const uint32_t rowsPerStrip = static_cast<uint32_t>(
        std::clamp<size_t>(kTiffStripBytes / rowBytes, 1, static_cast<size_t>(picture.height)));
    const uint32_t strips =
        (static_cast<uint32_t>(picture.height) + rowsPerStrip - 1) / rowsPerStrip;

    const std::string description = UpToNul(fields.description);
    const std::string software = UpToNul(fields.software);
    const TiffRational resolution = fields.pixelsPerCentimetre
                                        ? NearestRational(*fields.pixelsPerCentimetre)
                                        : TiffRational{0, 1};
    const bool calibrated = resolution.numerator != 0;
    const size_t entryCount = 10 + 3 * calibrated + !description.empty() + !software.empty();
    Directory dir(entryCount);
    const size_t pixelStart = TiffHeader::kSize;  // pixels first, the directory after them
    std::vector<uint32_t> offsets(strips);
    std::vector<uint32_t> counts(strips);
    for (uint32_t s = 0; s < strips; ++s) {
        const uint32_t rows = std::min<uint32_t>(
            rowsPerStrip, static_cast<uint32_t>(picture.height) - s * rowsPerStrip);
        offsets[s] =
            static_cast<uint32_t>(pixelStart + static_cast<uint64_t>(s) * rowsPerStrip * rowBytes);
        counts[s] = static_cast<uint32_t>(rows * rowBytes);
    }
    dir.Long(kTagImageWidth, static_cast<uint32_t>(picture.width));
    dir.Long(kTagImageLength, static_cast<uint32_t>(picture.height));
    dir.Shorts(kTagBitsPerSample, {8, 8, 8});
    dir.Short(kTagCompression, kTiffUncompressed);
    dir.Short(kTagPhotometric, kTiffRgb);
    if (!description.empty()) dir.Ascii(kTagImageDescription, description);
    dir.Longs(kTagStripOffsets, offsets);
    dir.Short(kTagSamplesPerPixel, 3);
    dir.Long(kTagRowsPerStrip, rowsPerStrip);
    dir.Longs(kTagStripByteCounts, counts);
    if (calibrated) {
        dir.Rational(kTagXResolution, resolution);
        dir.Rational(kTagYResolution, resolution);
    }
    dir.Short(kTagPlanarConfiguration, kTiffChunky);
    if (calibrated) dir.Short(kTagResolutionUnit, kTiffCentimetre);
    if (!software.empty()) dir.Ascii(kTagSoftware, software);
    if (dir.Count() != entryCount) return {};

    // The directory starts on a word boundary after the pixels.
    const uint64_t directoryAt = pixelStart + pixelBytes + (pixelBytes & 1);
    const uint64_t total = directoryAt + dir.Size();
    if (total > kMaxTiffBytes) return {};
    std::vector<uint8_t> out(static_cast<size_t>(total), 0);
    TiffHeader header;
    header.firstDirectory = static_cast<uint32_t>(directoryAt);
    const TiffHeader::Bytes h = header.ToBytes();
    std::memcpy(out.data(), h.data(), h.size());
    for (int32_t y = 0; y < picture.height; ++y) {
        // A bottom-up picture's last row is its top one.
        const uint8_t* in = picture.Row(picture.topDown ? y : picture.height - 1 - y);
        uint8_t* row = out.data() + pixelStart + static_cast<size_t>(y) * rowBytes;
        for (int32_t x = 0; x < picture.width; ++x, in += 3, row += 3) {
            row[0] = in[2];
            row[1] = in[1];
            row[2] = in[0];
        }
    }
    dir.WriteAt(out, static_cast<size_t>(directoryAt));
    return out;
}

std::optional<TiffPicture> ReadTiff24(const uint8_t* file, size_t size) {
    if (file == nullptr || size < TiffHeader::kSize) return {};
    const TiffHeader header = TiffHeader::FromBytes(file);
    if (header.byteOrder != 0x4949 || header.magic != 42) return {};
    const uint64_t at = header.firstDirectory;
    if (at + 2 > size) return {};
    const uint16_t count = GetU16(file + at);
    if (at + TiffDirectorySize(count) > size) return {};
    TiffPicture out;
    for (uint16_t i = 0; i < count; ++i) {
        const TiffEntry e = TiffEntry::FromBytes(file + at + 2 + size_t{i} * TiffEntry::kSize);
        size_t unit = 0;
        switch (e.type) {
            case kTiffAscii:
                unit = 1;
                break;
            case kTiffShort:
                unit = 2;
                break;
            case kTiffLong:
                unit = 4;
                break;
            case kTiffRational:
                unit = 8;
                break;
            default:
                continue;  // a type these files never hold
        }
        const uint64_t bytes = static_cast<uint64_t>(e.count) * unit;
        const uint8_t* value = e.value.data();
        if (bytes > 4) {
            const uint64_t offset = GetU32(e.value.data());
            if (offset + bytes > size) return {};
            value = file + offset;
        }
        TiffField f;
        f.type = e.type;
        f.count = e.count;
        for (uint32_t k = 0; e.type != kTiffAscii && k < e.count; ++k) {
            if (e.type == kTiffShort) f.numbers.push_back(GetU16(value + size_t{k} * 2));
            if (e.type == kTiffLong) f.numbers.push_back(GetU32(value + size_t{k} * 4));
            if (e.type == kTiffRational) {
                const TiffRational r = TiffRational::FromBytes(value + size_t{k} * 8);
                f.rationals.push_back({r.numerator, r.denominator});
            }
        }
        if (e.type == kTiffAscii) {
            const char* text = reinterpret_cast<const char*>(value);
            f.text.assign(text, std::find(text, text + e.count, '\0'));
        }
        out.fields[e.tag] = std::move(f);
    }
    auto number = [&](uint16_t tag, uint32_t fallback) -> uint32_t {
        const auto it = out.fields.find(tag);
        return it == out.fields.end() || it->second.numbers.empty() ? fallback
                                                                    : it->second.numbers[0];
    };
    const uint32_t width = number(kTagImageWidth, 0);
    const uint32_t height = number(kTagImageLength, 0);
    if (width == 0 || height == 0 || width > kLargestSide || height > kLargestSide) return {};
    out.width = static_cast<int32_t>(width);
    out.height = static_cast<int32_t>(height);
    const auto bits = out.fields.find(kTagBitsPerSample);
    const bool rgb8 =
        bits != out.fields.end() && bits->second.numbers == std::vector<uint32_t>{8, 8, 8} &&
        number(kTagSamplesPerPixel, 1) == 3 && number(kTagCompression, 1) == kTiffUncompressed &&
        number(kTagPhotometric, 0) == kTiffRgb &&
        number(kTagPlanarConfiguration, kTiffChunky) == kTiffChunky;
    const auto offsets = out.fields.find(kTagStripOffsets);
    const auto counts = out.fields.find(kTagStripByteCounts);
    if (!rgb8 || offsets == out.fields.end() || counts == out.fields.end() ||
        offsets->second.numbers.size() != counts->second.numbers.size()) {
        return out;  // fields only
    }
    const uint64_t need = uint64_t{width} * height * 3;
    std::vector<uint8_t> pixels;
    for (size_t s = 0; s < offsets->second.numbers.size(); ++s) {
        const uint64_t offset = offsets->second.numbers[s];
        const uint64_t bytes = counts->second.numbers[s];
        if (offset + bytes > size || pixels.size() + bytes > need) return {};
        pixels.insert(pixels.end(), file + offset, file + offset + bytes);
    }
    if (pixels.size() != need) return {};
    out.rgb = std::move(pixels);
    return out;
}

}  // namespace orvane::results
