#pragma once
// Prints the information stamps into a picture through GDI.
#include <windows.h>

#include <vector>

#include "media/stamp/pixel_rows.h"
#include "media/stamp/stamp_layout.h"

namespace orvane {

// Each text twice on a transparent background: in the complement of the colour at (x, y), then
// in the colour at (x + 1, y + 1), so it stays readable on any picture. A text that would run
// past pictureWidth is moved left to end inside it.
void PaintStamps(HDC dc, int pictureWidth, const std::vector<StampText>& texts,
                 const LOGFONTW& font, COLORREF colour);

// Paints the stamps over the rows through a DIB section of their size; false (rows unchanged)
// when GDI cannot make the section.
bool StampPixelRows(PixelRows& picture, const std::vector<StampText>& texts, const LOGFONTW& font,
                    COLORREF colour);

}  // namespace orvane
