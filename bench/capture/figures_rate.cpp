// Preview frame rate at 1280 x 960 YUY2 with the camera's own frame account, and the time from
// the first device-poll tick to the first preview frame.
#include <cstdio>

#include "bench/capture/figures.h"
#include "bench/capture/graph_host.h"
#include "bench/capture/graph_probe.h"
#include "bench/capture/virtual_camera.h"
#include "capture/frame_grabbers.h"

namespace orvane::bench {

namespace {

constexpr double kCameraRate = 15.0;  // the virtual camera's AvgTimePerFrame is 666,666

struct Account {
    uint64_t preview = 0;
    LONG delivered = 0;
    LONG dropped = 0;
    int drawn = -1;
    double seconds = 0;
};

Account Read(IAMDroppedFrames* drops, IQualProp* renderer) {
    Account a;
    a.preview = PreviewCallback().Frames();
    if (drops) {
        drops->GetNumNotDropped(&a.delivered);
        drops->GetNumDropped(&a.dropped);
    }
    if (renderer) renderer->get_FramesDrawn(&a.drawn);
    a.seconds = Seconds();
    return a;
}

}  // namespace

int RateFigures(int runs, int seconds) {
    const VirtualCameraModel model(L"6340");
    CameraWatch watch;
    if (!model.Ok() || !watch.Ok()) {
        std::printf("cannot register or watch the virtual camera\n");
        return 1;
    }
    GraphHost host(kSize1280x960);
    CaptureGraph& graph = host.Graph();
    DeviceNameTable names{};
    if (graph.EnumerateDevices(names) < 1) return 1;
    graph.SelectDevice(0);
    std::printf("preview rate, model 6340, %d s after 1 s of warm-up, camera rate %.0f fps\n",
                seconds, kCameraRate);
    int faults = 0;
    for (int run = 1; run <= runs; ++run) {
        const int code = graph.BuildGraph(0, run == 1);
        ComPtr<IBaseFilter> camera = watch.TakeCamera();
        ComPtr<IAMDroppedFrames> drops = CaptureDrops(camera.Get());
        ComPtr<IQualProp> renderer = RendererQuality(GraphOf(camera.Get()).Get());
        // The first frame leaves at once; the stream time itself starts a little after Run.
        const double built = Seconds();
        const uint64_t atBuild = PreviewCallback().Frames();
        const bool started = PumpUntilPreviewPast(atBuild, 3000);
        const double firstFrame = Seconds();
        PumpUntilPreviewPast(atBuild + 1, 3000);
        std::printf("run %d: first frame %.0f ms after BuildGraph returned, second %.0f ms later\n",
                    run, (firstFrame - built) * 1e3, (Seconds() - firstFrame) * 1e3);
        Pump(1000);
        const Account begin = Read(drops.Get(), renderer.Get());
        Pump(static_cast<DWORD>(seconds) * 1000);
        const Account end = Read(drops.Get(), renderer.Get());
        const int videoWindows = ChildWindowCount(host.Owner());
        LONG average = 0;
        if (drops) drops->GetAverageFrameSize(&average);
        const double span = end.seconds - begin.seconds;
        const double expected = span * kCameraRate;
        std::printf(
            "run %d: size code 0x%08X, %s; %.2f s: preview %llu (%.2f fps, %.0f expected)"
            ", camera delivered %ld dropped %ld (average %ld bytes), video windows %d\n",
            run, static_cast<unsigned>(code), started ? "frames" : "NO FRAMES", span,
            static_cast<unsigned long long>(end.preview - begin.preview),
            static_cast<double>(end.preview - begin.preview) / span, expected,
            static_cast<long>(end.delivered - begin.delivered),
            static_cast<long>(end.dropped - begin.dropped), static_cast<long>(average),
            videoWindows);
        if (renderer) std::printf("  renderer drew %d\n", end.drawn - begin.drawn);
        if (!started || !drops) ++faults;
        renderer.Reset();
        drops.Reset();
        camera.Reset();
        graph.TearDown();
        Pump(100);
    }
    return faults == 0 ? 0 : 1;
}

int FirstFrameFigures(int runs, const wchar_t* pid) {
    const VirtualCameraModel model(pid);
    if (!model.Ok()) return 1;
    GraphHost host(kSize1280x960);
    std::printf("first poll tick to first preview frame, model %ls\n", pid);
    int faults = 0;
    for (int run = 1; run <= runs; ++run) {
        host.NewGraph();  // its construction belongs to the program's start, not to the tick
        CaptureGraph& graph = host.Graph();
        DeviceNameTable names{};
        const uint64_t frames = PreviewCallback().Frames();
        const double tick = Seconds();
        const int count = graph.EnumerateDevices(names);
        const double listed = Seconds();
        graph.SelectDevice(0);
        const int code = graph.BuildGraph(0, true);
        const double built = Seconds();
        const bool arrived = count >= 1 && PumpUntilPreviewPast(frames, 5000);
        const double first = Seconds();
        std::printf(
            "run %d: size code 0x%08X; enumerate %.1f ms, build %.1f ms, build to frame "
            "%.1f ms, tick to first frame %s%.1f ms\n",
            run, static_cast<unsigned>(code), (listed - tick) * 1e3, (built - listed) * 1e3,
            (first - built) * 1e3, arrived ? "" : "(none) ", (first - tick) * 1e3);
        if (!arrived) ++faults;
        graph.TearDown();
        Pump(300);
    }
    return faults == 0 ? 0 : 1;
}

}  // namespace orvane::bench
