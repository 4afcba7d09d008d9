#include "media/media_info.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "media/bmp_layout.h"
#include "media/byte_io.h"
#include "media/companion_paths.h"

namespace orvane {

namespace {
void PutText(uint8_t* out, const MediaInfoRecord::Text& text) {
    for (size_t i = 0; i < text.size(); ++i) PutU16(&out[2 * i], text[i]);
}

void GetText(const uint8_t* in, MediaInfoRecord::Text& text) {
    for (size_t i = 0; i < text.size(); ++i) text[i] = GetU16(&in[2 * i]);
}

void PutTime(uint8_t* out, const LocalTime& t) {
    const uint16_t f[8] = {t.year, t.month,  t.dayOfWeek, t.day,
                           t.hour, t.minute, t.second,    t.milliseconds};
    for (int i = 0; i < 8; ++i) PutU16(&out[2 * i], f[i]);
}

LocalTime GetTime(const uint8_t* in) {
    LocalTime t;
    uint16_t* f[8] = {&t.year, &t.month,  &t.dayOfWeek, &t.day,
                      &t.hour, &t.minute, &t.second,    &t.milliseconds};
    for (int i = 0; i < 8; ++i) *f[i] = GetU16(&in[2 * i]);
    return t;
}

uint32_t Magnitude(int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    return v < 0 ? 0u - u : u;
}

// Size fields of the first 54 bytes read as BMP headers, whatever the file's format.
bool SizeFromBmpHeaders(const std::vector<uint8_t>& head, uint32_t& size) {
    if (head.size() < BmpFileHeader::kSize + BmpInfoHeader::kSize) return false;
    const BmpInfoHeader info = BmpInfoHeader::FromBytes(&head[BmpFileHeader::kSize]);
    size = (Magnitude(info.width) << 16) | (Magnitude(info.height) & 0xFFFF);
    return true;
}
}  // namespace

MediaInfoRecord::Bytes MediaInfoRecord::ToBytes() const {
    Bytes out{};
    PutText(&out[kMediaPathOffset], mediaPath);
    PutText(&out[kNoteOffset], note);
    PutTime(&out[kCaptureTimeOffset], captureTime);
    PutF64(&out[kMagnificationOffset], magnification);
    PutF64(&out[kAdjustedMagnificationOffset], adjustedMagnification);
    PutU32(&out[kPictureSizeOffset], pictureSize);
    PutU32(&out[kStillSizeOffset], stillSize);
    PutU32(&out[kDeviceCodeOffset], deviceCode);
    PutU32(&out[kReservedOffset], reserved);
    return out;
}

MediaInfoRecord MediaInfoRecord::FromBytes(const uint8_t* bytes, size_t size) {
    Bytes full{};
    std::copy(bytes, bytes + std::min(size, kSize), full.begin());
    MediaInfoRecord r;
    GetText(&full[kMediaPathOffset], r.mediaPath);
    GetText(&full[kNoteOffset], r.note);
    r.captureTime = GetTime(&full[kCaptureTimeOffset]);
    r.magnification = GetF64(&full[kMagnificationOffset]);
    r.adjustedMagnification = GetF64(&full[kAdjustedMagnificationOffset]);
    r.pictureSize = GetU32(&full[kPictureSizeOffset]);
    r.stillSize = GetU32(&full[kStillSizeOffset]);
    r.deviceCode = GetU32(&full[kDeviceCodeOffset]);
    r.reserved = GetU32(&full[kReservedOffset]);
    return r;
}

std::u16string_view RecordText(const MediaInfoRecord::Text& field) {
    const auto end = std::find(field.begin(), field.end(), u'\0');
    return std::u16string_view(field.data(), static_cast<size_t>(end - field.begin()));
}

bool SetRecordText(MediaInfoRecord::Text& field, std::u16string_view text) {
    field.fill(u'\0');
    if (text.size() >= field.size()) return false;
    std::copy(text.begin(), text.end(), field.begin());
    return true;
}

MediaInfoRecord ReadMediaInfo(std::u16string_view mediaPath, double defaultMagnification,
                              MediaFiles& files, MediaClock& clock) {
    const std::u16string path(mediaPath);
    const std::u16string sidePath = SideFilePath(path);
    std::vector<uint8_t> bytes;
    MediaInfoRecord record;
    if (!sidePath.empty() && files.ReadPrefix(sidePath, MediaInfoRecord::kSize, bytes)) {
        // A short file leaves the fields it does not reach as they were: zero, and the default
        // magnification when the read stops before it.
        MediaInfoRecord::Bytes full = MediaInfoRecord{}.ToBytes();
        PutF64(&full[MediaInfoRecord::kMagnificationOffset], defaultMagnification);
        const size_t got = std::min(bytes.size(), full.size());
        std::copy(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(got), full.begin());
        record = MediaInfoRecord::FromBytes(full.data(), full.size());
    } else {
        record.magnification = defaultMagnification;
        record.captureTime = clock.LocalNow();
        record.adjustedMagnification = 0.0;
        record.pictureSize = kDefaultPictureSize;
        if (files.ReadPrefix(path, BmpFileHeader::kSize + BmpInfoHeader::kSize, bytes)) {
            LocalTime written;
            if (files.LastWriteLocalTime(path, written)) record.captureTime = written;
            uint32_t size;
            if (SizeFromBmpHeaders(bytes, size)) record.pictureSize = size;
        }
    }
    // A damaged side file's (or setting's) infinite or negative magnification would be printed
    // and measured with: no magnification instead.
    if (!(std::isfinite(record.magnification) && record.magnification > 0.0)) {
        record.magnification = 0.0;
    }
    if (!(std::isfinite(record.adjustedMagnification) && record.adjustedMagnification > 0.0)) {
        record.adjustedMagnification = 0.0;
    }
    SetRecordText(record.mediaPath, mediaPath);
    return record;
}

uint32_t PhotoSizeForWidth(uint32_t width) {
    switch (width) {
        case 1600:
            return 0x064004B0;
        case 640:
            return 0x028001E0;
        default:
            return kDefaultPictureSize;
    }
}

MediaInfoRecord ReadMediaInfoForMeasuring(std::u16string_view picturePath,
                                          double defaultMagnification, MediaFiles& files,
                                          MediaClock& clock, bool& sideFileRead) {
    const std::u16string path(picturePath);
    const std::u16string sidePath = SideFilePath(path);
    std::vector<uint8_t> bytes;
    sideFileRead = !sidePath.empty() && files.ReadPrefix(sidePath, 0, bytes);
    if (sideFileRead) return ReadMediaInfo(picturePath, defaultMagnification, files, clock);
    MediaInfoRecord record;
    record.magnification = defaultMagnification;
    record.captureTime = clock.LocalNow();
    record.pictureSize = kDefaultPictureSize;
    // Only a bitmap's headers say its size; any other picture keeps the defaults.
    if (files.ReadPrefix(path, BmpFileHeader::kSize + BmpInfoHeader::kSize, bytes) &&
        bytes.size() == BmpFileHeader::kSize + BmpInfoHeader::kSize && bytes[0] == 'B' &&
        bytes[1] == 'M') {
        LocalTime written;
        if (files.LastWriteLocalTime(path, written)) record.captureTime = written;
        const BmpInfoHeader info = BmpInfoHeader::FromBytes(&bytes[BmpFileHeader::kSize]);
        record.pictureSize = PhotoSizeForWidth(Magnitude(info.width));
    }
    record.stillSize = record.pictureSize;
    if (!(std::isfinite(record.magnification) && record.magnification > 0.0)) {
        record.magnification = 0.0;
    }
    SetRecordText(record.mediaPath, picturePath);
    return record;
}

bool WriteMediaInfo(const MediaInfoRecord& record, MediaFiles& files) {
    const std::u16string_view mediaPath = RecordText(record.mediaPath);
    if (mediaPath.size() >= MediaInfoRecord::kTextUnits) return false;
    const std::u16string sidePath = SideFilePath(mediaPath);
    if (sidePath.empty()) return false;
    const MediaInfoRecord::Bytes bytes = record.ToBytes();
    return files.WriteWhole(sidePath, bytes.data(), bytes.size());
}

}  // namespace orvane
