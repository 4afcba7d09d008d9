#include "results/win/rows_scale_bar.h"

#include <algorithm>
#include <cstring>

#include "platform/handles.h"
#include "results/win/scale_bar_paint.h"

namespace orvane::results {

std::optional<StampedBar> StampedBarFor(const Conversion& copy, const PixelRows& picture,
                                        const LOGFONTW& font,
                                        const std::vector<StampText>& stamps) {
    const std::optional<ScaleBar> bar = ChooseScaleBar(copy, picture.width);
    if (!bar) return std::nullopt;
    LOGFONTW bounded = font;
    bounded.lfHeight = -BoundedStampFontHeight(font.lfHeight, picture.height);
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    const ScaleBarText text{bounded.lfHeight, dc ? LabelWidth(dc.Get(), bar->label, bounded) : 0};
    StampedBar out{*bar, CornerScaleBar(bar->pixels, picture.width, picture.height, text,
                                        BottomStampInset(stamps, picture.height))};
    return out;
}

bool PrintScaleBar(PixelRows& picture, const StampedBar& stamped, const LOGFONTW& font,
                   COLORREF colour) {
    // The band of rows the bar, its label and their shadow reach, inside the picture.
    const int32_t top = std::clamp(stamped.layout.bounds.top - 2, 0, picture.height);
    const int32_t bottom = std::clamp(stamped.layout.bounds.bottom + 2, 0, picture.height);
    if (bottom <= top || picture.width <= 0) return true;
    const int32_t rows = bottom - top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -rows;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    BitmapSurface surface;
    if (!surface.Adopt(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0)) ||
        !bits) {
        return false;
    }
    const size_t row = static_cast<size_t>(picture.width) * 3;
    const size_t stride = (row + 3) & ~size_t{3};
    auto* pixels = static_cast<uint8_t*>(bits);
    // Picture row y from the top, whatever order the rows are kept in.
    auto pictureRow = [&](int32_t y) {
        return picture.Row(picture.topDown ? y : picture.height - 1 - y);
    };
    for (int32_t y = 0; y < rows; ++y) std::memcpy(pixels + stride * y, pictureRow(top + y), row);
    ScaleBarLayout band = stamped.layout;
    band.bar.top -= top;
    band.bar.bottom -= top;
    band.label.y -= top;
    LOGFONTW bounded = font;
    bounded.lfHeight = -BoundedStampFontHeight(font.lfHeight, picture.height);
    PaintScaleBar(surface.Dc(), stamped.bar, band, bounded, colour, true);
    GdiFlush();
    for (int32_t y = 0; y < rows; ++y) std::memcpy(pictureRow(top + y), pixels + stride * y, row);
    return true;
}

}  // namespace orvane::results
