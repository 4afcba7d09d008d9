#include "media/win/stamp_painter.h"

#include <algorithm>
#include <cstring>

#include "platform/handles.h"
#include "platform/wide.h"

namespace orvane {

void PaintStamps(HDC dc, int pictureWidth, const std::vector<StampText>& texts,
                 const LOGFONTW& font, COLORREF colour) {
    if (texts.empty()) return;
    UniqueFont stampFont(CreateFontIndirectW(&font));
    const HGDIOBJ oldFont = stampFont ? SelectObject(dc, stampFont.Get()) : nullptr;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = GetTextColor(dc);
    const COLORREF shadow = ~colour & 0xFFFFFF;
    for (const StampText& t : texts) {
        const std::wstring text = ToWide(t.text);
        const int length = static_cast<int>(text.size());
        // The layout guesses widths from the font height; a text that would run off the right
        // edge is moved left so that it is printed whole.
        int x = t.x;
        SIZE extent{};
        if (GetTextExtentPoint32W(dc, text.c_str(), length, &extent) &&
            x + extent.cx + 1 > pictureWidth) {
            x = std::max(0, pictureWidth - static_cast<int>(extent.cx) - 1);
        }
        SetTextColor(dc, shadow);
        TextOutW(dc, x, t.y, text.c_str(), length);
        SetTextColor(dc, colour);
        TextOutW(dc, x + 1, t.y + 1, text.c_str(), length);
    }
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    if (oldFont) SelectObject(dc, oldFont);
}

bool StampPixelRows(PixelRows& picture, const std::vector<StampText>& texts, const LOGFONTW& font,
                    COLORREF colour) {
    if (texts.empty()) return true;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = picture.topDown ? -picture.height : picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    BitmapSurface surface;
    if (!surface.Adopt(section) || bits == nullptr) return false;
    const size_t row = static_cast<size_t>(picture.width) * 3;
    const size_t stride = (row + 3) & ~size_t{3};
    auto* pixels = static_cast<uint8_t*>(bits);
    for (int32_t y = 0; y < picture.height; ++y) {
        std::memcpy(pixels + stride * y, picture.Row(y), row);
    }
    // At the height the layout placed them for, whatever the stored record says.
    LOGFONTW bounded = font;
    bounded.lfHeight = -BoundedStampFontHeight(font.lfHeight, picture.height);
    PaintStamps(surface.Dc(), picture.width, texts, bounded, colour);
    GdiFlush();
    for (int32_t y = 0; y < picture.height; ++y) {
        std::memcpy(picture.Row(y), pixels + stride * y, row);
    }
    return true;
}

}  // namespace orvane
