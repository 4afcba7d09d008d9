// Figures of the editor's canvas under Wine: what one mouse move costs while an object is being
// placed on the camera's largest picture, against one plain copy of that picture in the same
// run. Prints measurements; not a test.
//   editor_figures [moves]   (default 60)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "editor/view/canvas_view.h"
#include "platform/gdiplus_session.h"
#include "platform/handles.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 3488;
constexpr int kHeight = 2616;

double Ms(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// A 24-bit top-down DIB section with a gradient, so that no copy can take a shortcut.
HBITMAP GradientPicture() {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, kWidth, -kHeight, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (picture == nullptr) return nullptr;
    auto* bytes = static_cast<uint8_t*>(bits);
    const size_t stride = kWidth * 3;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            uint8_t* p = bytes + y * stride + x * 3;
            p[0] = static_cast<uint8_t>(x);
            p[1] = static_cast<uint8_t>(y);
            p[2] = static_cast<uint8_t>(x ^ y);
        }
    }
    return picture;
}

struct Timing {
    double mean = 0, median = 0, worst = 0;
};

Timing Summarise(std::vector<double> t) {
    Timing s;
    for (double v : t) s.mean += v;
    s.mean /= static_cast<double>(t.size());
    std::sort(t.begin(), t.end());
    s.median = t[t.size() / 2];
    s.worst = t.back();
    return s;
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    using namespace orvane;
    const int moves = argc > 1 ? std::max(4, _wtoi(argv[1])) : 60;
    const GdiplusSession gdiplus;

    // The editor's frame holds the picture at 1024 x 768, as a full-screen editor does.
    HWND host = CreateWindowExW(0, L"Static", L"editor figures", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                0, 0, 1100, 850, nullptr, nullptr, nullptr, nullptr);
    HWND frame = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 0, 0, 1024, 768, host,
                                 nullptr, nullptr, nullptr);
    CIvoraImgEdtView view;
    if (host == nullptr || frame == nullptr || !view.Create(frame, host)) {
        std::printf("no window\n");
        return 1;
    }
    UniqueBitmap source(GradientPicture());
    if (!source || !view.LoadBitmap(source.Get())) {
        std::printf("no picture\n");
        return 1;
    }
    Pump();
    std::printf("picture %d x %d in a %d x %d canvas\n", view.ImageWidth(), view.ImageHeight(),
                view.CanvasWidth(), view.CanvasHeight());

    // One plain full-picture copy between two memory surfaces of the same picture.
    BitmapSurface from, to;
    from.Adopt(GradientPicture());
    to.Adopt(GradientPicture());
    std::vector<double> copies;
    for (int i = 0; i < moves; ++i) {
        const auto start = Clock::now();
        BitBlt(to.Dc(), 0, 0, kWidth, kHeight, from.Dc(), 0, 0, SRCCOPY);
        GdiFlush();
        copies.push_back(Ms(start));
    }

    // One full paint of the canvas: the whole picture stretched onto it.
    std::vector<double> paints;
    for (int i = 0; i < 10; ++i) {
        const auto start = Clock::now();
        RedrawWindow(view.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        GdiFlush();
        paints.push_back(Ms(start));
    }

    // Mouse moves while an object follows the pointer: a line and a measured length (their
    // guides cross the whole picture), and a short free-hand stroke.
    auto follow = [&](int32_t tool, bool shortSteps) {
        view.SetTool(tool);
        SendMessageW(view.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
        if (tool != 32805) SendMessageW(view.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
        std::vector<double> t, r;
        for (int i = 0; i < moves; ++i) {
            const int x = shortSteps ? 100 + i % 40 : 150 + (i * 37) % 800;
            const int y = shortSteps ? 100 + (i * 3) % 30 : 120 + (i * 23) % 600;
            auto start = Clock::now();
            SendMessageW(view.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
            GdiFlush();
            t.push_back(Ms(start));
            // The working picture's part alone: the same repaint again, without the canvas.
            start = Clock::now();
            view.Repaint(true);
            GdiFlush();
            r.push_back(Ms(start));
        }
        view.Cancel();
        view.Cancel();
        return std::make_pair(Summarise(t), Summarise(r));
    };
    const Timing copy = Summarise(copies);
    const Timing paint = Summarise(paints);
    std::printf("plain copy of the picture:   %7.2f ms median (%.2f mean, %.2f worst)\n",
                copy.median, copy.mean, copy.worst);
    std::printf("full paint of the canvas:    %7.2f ms median (%.2f mean, %.2f worst)\n",
                paint.median, paint.mean, paint.worst);
    const struct {
        const char* name;
        int32_t tool;
        bool shortSteps;
    } cases[] = {{"line", 32803, false},
                 {"measured length", 32874, false},
                 {"free-hand, short stroke", 32805, true}};
    for (const auto& c : cases) {
        const auto [t, r] = follow(c.tool, c.shortSteps);
        std::printf("mouse move, %-24s %7.2f ms median (%.2f mean, %.2f worst) = %.2f copies\n",
                    c.name, t.median, t.mean, t.worst, t.median / copy.median);
        std::printf(
            "  of which the working picture %7.2f ms median (%.2f mean, %.2f worst) = %.2f "
            "copies\n",
            r.median, r.mean, r.worst, r.median / copy.median);
    }
    DestroyWindow(host);
    return 0;
}
