#include "editor/view/canvas_bitmaps.h"

#include "platform/handles.h"

namespace orvane::canvas {

int64_t Stride24(int32_t width) {
    return (static_cast<int64_t>(width) * 3 + 3) & ~int64_t{3};
}

HBITMAP NewDib(int32_t width, int32_t height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* dummy = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits ? bits : &dummy, nullptr, 0);
}

void CopyPicture(HDC target, HBITMAP source, int32_t width, int32_t height) {
    UniqueMemoryDc dc(CreateCompatibleDC(target));
    if (!dc) return;
    HGDIOBJ old = SelectObject(dc.Get(), source);
    BitBlt(target, 0, 0, width, height, dc.Get(), 0, 0, SRCCOPY);
    SelectObject(dc.Get(), old);
}

}  // namespace orvane::canvas
