#include "results/win/scale_bar_paint.h"

#include "platform/handles.h"

namespace orvane::results {

std::wstring WideLabel(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) {
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    }
    return wide;
}

int32_t LabelWidth(HDC dc, const std::string& label, const LOGFONTW& font) {
    const UniqueFont f(CreateFontIndirectW(&font));
    const HGDIOBJ old = f ? SelectObject(dc, f.Get()) : nullptr;
    const std::wstring text = WideLabel(label);
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    if (old) SelectObject(dc, old);
    return static_cast<int32_t>(extent.cx);
}

void PaintScaleBar(HDC dc, const ScaleBar& bar, const ScaleBarLayout& layout, const LOGFONTW& font,
                   COLORREF colour, bool shadow) {
    const UniqueFont f(CreateFontIndirectW(&font));
    const HGDIOBJ oldFont = f ? SelectObject(dc, f.Get()) : nullptr;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = GetTextColor(dc);
    const std::wstring text = WideLabel(bar.label);
    auto paint = [&](COLORREF c, int dx, int dy) {
        const UniqueBrush brush(CreateSolidBrush(c));
        const RECT r{layout.bar.left + dx, layout.bar.top + dy, layout.bar.right + dx,
                     layout.bar.bottom + dy};
        FillRect(dc, &r, brush.Get());
        SetTextColor(dc, c);
        TextOutW(dc, layout.label.x + dx, layout.label.y + dy, text.c_str(),
                 static_cast<int>(text.size()));
    };
    if (shadow) paint(~colour & 0xFFFFFF, -1, -1);
    paint(colour, 0, 0);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    if (oldFont) SelectObject(dc, oldFont);
}

}  // namespace orvane::results
