#pragma once
// The side file of a picture: one 1088-byte little-endian record, and its reading rules.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "media/media_files.h"

namespace orvane {

struct MediaInfoRecord {
    static constexpr size_t kTextUnits = 260;
    using Text = std::array<char16_t, kTextUnits>;

    // Byte layout on disk.
    static constexpr size_t kMediaPathOffset = 0;
    static constexpr size_t kNoteOffset = 520;
    static constexpr size_t kCaptureTimeOffset = 1040;
    static constexpr size_t kMagnificationOffset = 1056;
    static constexpr size_t kAdjustedMagnificationOffset = 1064;
    static constexpr size_t kPictureSizeOffset = 1072;
    static constexpr size_t kStillSizeOffset = 1076;
    static constexpr size_t kDeviceCodeOffset = 1080;
    static constexpr size_t kReservedOffset = 1084;
    static constexpr size_t kSize = 1088;
    using Bytes = std::array<uint8_t, kSize>;

    Text mediaPath{};  // NUL-terminated within the 260 units
    Text note{};
    LocalTime captureTime{};
    double magnification = 0.0;
    double adjustedMagnification = 0.0;
    uint32_t pictureSize = 0;  // (width << 16) | height
    uint32_t stillSize = 0;
    uint32_t deviceCode = 0;
    uint32_t reserved = 0;

    Bytes ToBytes() const;
    // Reads size bytes (at most kSize) over a zero record; fields beyond them stay zero.
    static MediaInfoRecord FromBytes(const uint8_t* bytes, size_t size);

    bool operator==(const MediaInfoRecord&) const = default;
};
static_assert(MediaInfoRecord::kNoteOffset == MediaInfoRecord::kTextUnits * 2);
static_assert(MediaInfoRecord::kCaptureTimeOffset == MediaInfoRecord::kNoteOffset + 520);
static_assert(MediaInfoRecord::kMagnificationOffset == MediaInfoRecord::kCaptureTimeOffset + 16);
static_assert(MediaInfoRecord::kAdjustedMagnificationOffset ==
              MediaInfoRecord::kMagnificationOffset + 8);
static_assert(MediaInfoRecord::kPictureSizeOffset ==
              MediaInfoRecord::kAdjustedMagnificationOffset + 8);
static_assert(MediaInfoRecord::kStillSizeOffset == MediaInfoRecord::kPictureSizeOffset + 4);
static_assert(MediaInfoRecord::kDeviceCodeOffset == MediaInfoRecord::kStillSizeOffset + 4);
static_assert(MediaInfoRecord::kReservedOffset == MediaInfoRecord::kDeviceCodeOffset + 4);
static_assert(MediaInfoRecord::kSize == MediaInfoRecord::kReservedOffset + 4);

// Text of a 260-unit field up to its NUL, or all 260 units when a stored field has none.
std::u16string_view RecordText(const MediaInfoRecord::Text& field);
// Sets the field to the text and zero fill; false (field emptied) when the text has no room
// for its terminator.
bool SetRecordText(MediaInfoRecord::Text& field, std::u16string_view text);

constexpr uint32_t kDefaultPictureSize = 0x05000400;  // 1280 x 1024

// The record of a media file: its side file when one opens, else defaults (now, 1280 x 1024,
// improved from the media file's time and BMP header fields when the file opens). The media
// path is always the one asked for; a path too long for the field leaves the field empty.
MediaInfoRecord ReadMediaInfo(std::u16string_view mediaPath, double defaultMagnification,
                              MediaFiles& files, MediaClock& clock);

// The photo size a picture without side file is taken for when it is measured, by the width of
// its bitmap: 1600 -> 1600 x 1200, 640 -> 640 x 480, any other -> 1280 x 1024.
uint32_t PhotoSizeForWidth(uint32_t width);

// The record of a picture opened for measuring. With a side file, as ReadMediaInfo (and
// sideFileRead is set). Without one: now, 1280 x 1024, no note, no adjusted magnification;
// for a BMP file its last-write time and the photo size by its width; the still size always
// equals the photo size, so that a picture measures by the size it was taken at.
MediaInfoRecord ReadMediaInfoForMeasuring(std::u16string_view picturePath,
                                          double defaultMagnification, MediaFiles& files,
                                          MediaClock& clock, bool& sideFileRead);

// Writes the record's 1088 bytes to the side file of its media path; false when the path names
// no side file or the file cannot be written.
bool WriteMediaInfo(const MediaInfoRecord& record, MediaFiles& files);

}  // namespace orvane
