#pragma once
// The small rules of the strip's cells: double clicks, hover messages and the texts a cell and
// the hover preview write.
#include <cstdint>
#include <string>
#include <string_view>

#include "media/media_files.h"

namespace orvane {

// The lParam of a hover message.
constexpr uint32_t kHoverEnter = 0x10000000;
constexpr uint32_t kHoverMove = 0x40000000;  // | quadrant
constexpr uint32_t kHoverLeave = 0x80000000;

constexpr uint32_t kDoubleClickMs = 700;

// A left press is the second of a double click: the Open command's press at (-1, -1), or a press
// at most 700 ms (tick counts, wrapping) after a single click.
inline bool IsDoubleClick(int x, int y, uint32_t now, uint32_t lastClick) {
    return (x < 0 && y < 0) || (lastClick != 0 && now - lastClick <= kDoubleClickMs);
}

// Bit 0: right half, bit 1: lower half.
inline uint32_t HoverQuadrant(int x, int y, int width, int height) {
    return (x > width / 2 ? 1u : 0u) | (y > height / 2 ? 2u : 0u);
}

// The preview's text colour (COLORREF) for a quadrant: black, white, red, green.
uint32_t QuadrantTextColour(uint32_t quadrant);

// "2560X1920" for one of the twelve picture sizes (width in the high, height in the low 16
// bits), else empty.
std::u16string_view PreviewSizeText(uint32_t pictureSize);

// The name the preview writes: after the last backslash, at most 9 characters.
std::u16string PreviewName(std::u16string_view mediaPath);

// "2026-12-9 08:05:03" under a thumbnail, "2026/12/9 08:05:03" on the preview.
std::u16string CellDateText(const LocalTime& t);
std::u16string PreviewTimeText(const LocalTime& t);

}  // namespace orvane
