// Photo figures: the time from a photo request to the announced temporary picture, by photo
// option, and the preview callback's work per frame while it serves no request.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "bench/capture/figures.h"
#include "bench/capture/graph_host.h"
#include "bench/capture/virtual_camera.h"
#include "capture/frame_grabbers.h"
#include "capture/still/still_files.h"
#include "capture/still/still_rules.h"
#include "platform/gdiplus_session.h"

// Every allocation of this program's own code (the camera DLL and the platform have their own
// heaps), counted so that the preview path can be shown to allocate nothing per frame.
namespace {
std::atomic<long long> g_allocations{0};
}  // namespace

void* operator new(size_t n) {
    ++g_allocations;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void* operator new(size_t n, const std::nothrow_t&) noexcept {
    ++g_allocations;
    return std::malloc(n ? n : 1);
}
void* operator new[](size_t n) {
    return operator new(n);
}
void* operator new[](size_t n, const std::nothrow_t& t) noexcept {
    return operator new(n, t);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p, size_t) noexcept {
    std::free(p);
}

namespace orvane::bench {

namespace {

struct PhotoCase {
    const wchar_t* pid;
    uint32_t code;
    const char* what;
};

// Pumps until "OrvaneCapturePicture" (not a request) reaches this thread; false after timeoutMs.
bool PumpUntilAnnounced(UINT message, DWORD timeoutMs) {
    const double end = Seconds() + timeoutMs / 1000.0;
    MSG msg;
    while (Seconds() < end) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == message && msg.wParam != 2) return true;
            DispatchMessageW(&msg);
        }
        Sleep(1);
    }
    return false;
}

void Request(CaptureGraph& graph, uint32_t code) {
    StillRequests& r = Requests();
    switch (PhotoCommandAction(code)) {
        case PhotoAction::kPreviewFrame:
            r.previewPhoto.store(1);
            break;
        case PhotoAction::kGuardedStill:
            r.stillPending.store(1);
            graph.TriggerStill();
            break;
        case PhotoAction::kStill:
            graph.TriggerStill();
            break;
    }
}

}  // namespace

int PhotoFigures(int runs) {
    const GdiplusSession gdiplus;
    const UINT message = RegisterWindowMessageW(L"OrvaneCapturePicture");
    const PhotoCase cases[] = {
        {L"6340", 0x03200258, "option 0, still 800 x 600 (BMP)"},
        {L"6353", 0x150003C0, "option 1, MJPG preview frame 1280 x 960"},
        {L"6353", 0x250003C0, "option 2, raw 2560 x 1920 -> 2048 x 1536 (BMP)"},
        {L"6353", 0x350003C0, "option 3, raw 2560 x 1920 -> 2560 x 1920 (BMP)"},
        {L"6355", 0x23200258, "option 2, raw halves 3488 x 2616 -> 2048 x 1536 (JPEG)"},
        {L"6355", 0x33200258, "option 3, raw halves 3488 x 2616 -> 2560 x 1920 (JPEG)"},
        {L"6355", 0x43200258, "option 4, raw halves 3488 x 2616 -> 3488 x 2616 (JPEG)"},
    };
    int faults = 0;
    for (const PhotoCase& c : cases) {
        const VirtualCameraModel model(c.pid);
        if (!model.Ok()) return 1;
        GraphHost host(c.code);
        CaptureGraph& graph = host.Graph();
        DeviceNameTable names{};
        if (graph.EnumerateDevices(names) < 1) return 1;
        graph.SelectDevice(0);
        const int built = graph.BuildGraph(0, true);
        Pump(1500);
        if (&c == &cases[0]) {
            // The live picture alone: frames through the callbacks and the preview converter.
            const uint64_t frames = PreviewCallback().Frames();
            const long long allocations = g_allocations.load();
            Pump(3000);
            std::printf("preview without requests: %llu frames, %lld allocations\n",
                        static_cast<unsigned long long>(PreviewCallback().Frames() - frames),
                        g_allocations.load() - allocations);
        }
        std::printf("%ls %s, size code 0x%08X:", c.pid, c.what, static_cast<unsigned>(built));
        for (int run = 0; run < runs; ++run) {
            const double start = Seconds();
            Request(graph, static_cast<uint32_t>(built));
            const bool announced = PumpUntilAnnounced(message, 20000);
            std::printf(" %s%.0f ms", announced ? "" : "(none) ", (Seconds() - start) * 1e3);
            if (!announced) ++faults;
            // No main window takes the pictures here: their files go.
            for (const HandedOverPicture& p : TakeHandedOverCaptures()) DeleteFileW(p.path.c_str());
            Pump(300);
        }
        std::printf("\n");
        graph.TearDown();
    }
    if (runs > 0 && PhotoStepFigures(runs) != 0) ++faults;
    return faults == 0 ? 0 : 1;
}

}  // namespace orvane::bench
