#include "stacking/command/stacked_record.h"

namespace orvane::stacking {

uint32_t PackedSize(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) return 0;
    return static_cast<uint32_t>(width) << 16 | static_cast<uint32_t>(height);
}

MediaInfoRecord StackedPictureRecord(const MediaInfoRecord& firstSource,
                                     std::u16string_view picturePath, const LocalTime& now,
                                     int32_t width, int32_t height, std::u16string_view note) {
    MediaInfoRecord record;
    SetRecordText(record.mediaPath, picturePath);
    // A note longer than the field is cut rather than lost.
    SetRecordText(record.note, note.substr(0, MediaInfoRecord::kTextUnits - 1));
    record.captureTime = now;
    record.magnification = firstSource.magnification;
    record.adjustedMagnification = firstSource.adjustedMagnification;
    record.pictureSize = PackedSize(width, height);
    record.stillSize = firstSource.stillSize;
    record.deviceCode = firstSource.deviceCode;
    return record;
}

MediaInfoRecord ClipSourceRecord(double magnification, uint32_t deviceCode, int32_t width,
                                 int32_t height) {
    MediaInfoRecord record;
    record.magnification = magnification;
    record.pictureSize = PackedSize(width, height);
    record.stillSize = record.pictureSize;
    record.deviceCode = deviceCode;
    return record;
}

std::u16string StackNote(std::u16string_view pattern, int count, std::u16string_view name) {
    std::u16string note;
    bool countDone = false, nameDone = false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && i + 1 < pattern.size()) {
            if (pattern[i + 1] == u'd' && !countDone) {
                for (char c : std::to_string(count)) note += static_cast<char16_t>(c);
                countDone = true;
                ++i;
                continue;
            }
            if (pattern[i + 1] == u's' && !nameDone) {
                note += name;
                nameDone = true;
                ++i;
                continue;
            }
        }
        note += pattern[i];
    }
    return note;
}

}  // namespace orvane::stacking
