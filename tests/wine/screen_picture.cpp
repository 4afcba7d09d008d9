#include "screen_picture.h"

#include <cstdlib>

namespace orvane::test {

namespace {

bool IsInk(uint32_t rgb) {
    return ((rgb >> 16) & 0xFF) < 80 && ((rgb >> 8) & 0xFF) < 80 && (rgb & 0xFF) < 80;
}

int InkInRow(const ScreenPicture& p, int y) {
    int n = 0;
    for (int x = 0; x < p.width; ++x) n += IsInk(p.At(x, y));
    return n;
}

}  // namespace

ScreenPicture CaptureScreen(const RECT& rect) {
    ScreenPicture picture;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return picture;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, w, h, screen, rect.left, rect.top, SRCCOPY)) {
            const auto* p = static_cast<const uint32_t*>(bits);
            picture.width = w;
            picture.height = h;
            picture.pixels.resize(static_cast<size_t>(w) * h);
            for (size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = p[i] & 0xFFFFFF;
        }
        SelectObject(memory, old);
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return picture;
}

SceneMarks FindSceneMarks(const ScreenPicture& p) {
    SceneMarks marks;
    if (p.width < 100 || p.height < 100) return marks;
    // The base line crosses the whole field near the middle (the scene sways by 25 um).
    for (int y = p.height * 3 / 10; y < p.height * 7 / 10 && marks.baseLineRow < 0; ++y) {
        if (InkInRow(p, y) * 10 >= p.width * 9) marks.baseLineRow = y;
    }
    if (marks.baseLineRow >= 0) {
        // The field is 800 um wide: 8 um above the line, every division is crossed.
        const int y = marks.baseLineRow - (8 * p.width + 400) / 800;
        if (y >= 0) {
            bool inMark = false;
            for (int x = 0; x < p.width; ++x) {
                const bool ink = IsInk(p.At(x, y));
                if (ink && !inMark) ++marks.divisions;
                inMark = ink;
            }
        }
    }
    long long r = 0, g = 0, b = 0, n = 0;
    for (int y = 0; y < p.height / 4; ++y) {
        for (int x = 0; x < p.width; ++x, ++n) {
            const uint32_t c = p.At(x, y);
            r += (c >> 16) & 0xFF;
            g += (c >> 8) & 0xFF;
            b += c & 0xFF;
        }
    }
    marks.meanRed = static_cast<int>(r / n);
    marks.meanGreen = static_cast<int>(g / n);
    marks.meanBlue = static_cast<int>(b / n);
    return marks;
}

std::vector<double> MarkCentres(const ScreenPicture& p, int y) {
    std::vector<double> centres;
    if (y < 0 || y >= p.height) return centres;
    int start = -1;
    for (int x = 0; x <= p.width; ++x) {
        const bool ink = x < p.width && IsInk(p.At(x, y));
        if (ink && start < 0) start = x;
        if (!ink && start >= 0) {
            centres.push_back((start + x - 1) / 2.0);
            start = -1;
        }
    }
    return centres;
}

double ChangedShare(const ScreenPicture& a, const ScreenPicture& b) {
    if (a.width != b.width || a.height != b.height || a.pixels.empty()) return 0.0;
    const size_t n = static_cast<size_t>(a.width) * (a.height / 4);
    size_t changed = 0;
    for (size_t i = 0; i < n; ++i) changed += a.pixels[i] != b.pixels[i];
    return static_cast<double>(changed) / static_cast<double>(n);
}

}  // namespace orvane::test
