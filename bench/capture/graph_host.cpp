#include "bench/capture/graph_host.h"

#include "capture/frame_grabbers.h"

namespace orvane::bench {

GraphHost::GraphHost(uint32_t sizeCode) : sizeCode_(sizeCode) {
    owner_.Reset(CreateWindowExW(0, L"Static", L"capture figures", WS_OVERLAPPEDWINDOW, 0, 0, 660,
                                 520, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (owner_) ShowWindow(owner_.Get(), SW_SHOWNORMAL);
    NewGraph();
}

void GraphHost::NewGraph() {
    graph_.reset();
    graph_ = std::make_unique<CaptureGraph>();
    const RECT preview{0, 0, 640, 480};
    graph_->SetParameters(owner_.Get(), preview, sizeCode_, L"C:\\windows\\temp\\figures.avi");
}

void Pump(DWORD ms) {
    const double end = Seconds() + ms / 1000.0;
    MSG msg;
    do {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (Seconds() < end) MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (Seconds() < end);
}

bool PumpUntilPreviewPast(uint64_t frames, DWORD timeoutMs) {
    const double end = Seconds() + timeoutMs / 1000.0;
    MSG msg;
    // Looks every millisecond, so the time a frame is seen is within about 1 ms of its arrival.
    while (PreviewCallback().Frames() <= frames) {
        if (Seconds() >= end) return false;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    return true;
}

namespace {
BOOL CALLBACK CountWindow(HWND, LPARAM counter) {
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}
}  // namespace

int ChildWindowCount(HWND window) {
    int count = 0;
    EnumChildWindows(window, CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

double Seconds() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

}  // namespace orvane::bench
