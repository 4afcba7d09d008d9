#pragma once
// What the screen shows in a rectangle, and the marks of the virtual camera's scene in it: the
// stage micrometer (a dark base line across the field with a division every 10 um, 80 across
// the field) over a stained specimen (red and blue above green).
#include <windows.h>

#include <cstdint>
#include <vector>

namespace orvane::test {

struct ScreenPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, top row first

    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The screen's pixels in rect (screen coordinates); empty when the capture fails.
ScreenPicture CaptureScreen(const RECT& rect);

struct SceneMarks {
    int baseLineRow = -1;  // top row of the micrometer's base line, or -1
    int divisions = 0;     // dark marks crossed by a row 8 um above the base line
    int meanRed = 0, meanGreen = 0, meanBlue = 0;  // of the top quarter (specimen only)
};

SceneMarks FindSceneMarks(const ScreenPicture& picture);
// Centres of the dark marks crossed by row y, left to right.
std::vector<double> MarkCentres(const ScreenPicture& picture, int y);

// Share (0..1) of pixels of the top quarter that differ between two pictures of one size.
double ChangedShare(const ScreenPicture& a, const ScreenPicture& b);

}  // namespace orvane::test
