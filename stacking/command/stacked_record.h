#pragma once
// The side file of a stacked picture: what it inherits from its first source and what is its
// own, and the note that says how it was made.
#include <cstdint>
#include <string>
#include <string_view>

#include "media/media_files.h"
#include "media/media_info.h"

namespace orvane::stacking {

// (width << 16) | height, as side files pack sizes; 0 for a size that does not fit.
uint32_t PackedSize(int32_t width, int32_t height);

// The record of the stacked picture at picturePath (width x height), made at `now`: the first
// source's magnification, calibration, still size and camera; its own size and time; the note.
// The picture has the first source's geometry (it is the reference), so a calibration of the
// source holds for it too.
MediaInfoRecord StackedPictureRecord(const MediaInfoRecord& firstSource,
                                     std::u16string_view picturePath, const LocalTime& now,
                                     int32_t width, int32_t height, std::u16string_view note);

// What stands in for the first source of a clip, which has no side file: the magnification set
// and the camera open when it is stacked, and the frame size as still size (a clip is recorded
// at the preview size, to which the still pin is set).
MediaInfoRecord ClipSourceRecord(double magnification, uint32_t deviceCode, int32_t width,
                                 int32_t height);

// The note from a pattern of the string table: its first "%d" becomes count, its first "%s"
// name; anything else stays as written (a pattern is never handed to a formatting function).
std::u16string StackNote(std::u16string_view pattern, int count, std::u16string_view name = {});

}  // namespace orvane::stacking
