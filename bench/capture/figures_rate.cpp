// Preview frame rate at 1280 x 960 YUY2 with the camera's own frame account, and the time from
// the first device-poll tick to the first preview frame.
#include <cstdio>
#include <vector>

#include "bench/capture/figures.h"
#include "bench/capture/graph_host.h"
#include "bench/capture/graph_probe.h"
#include "bench/capture/virtual_camera.h"
#include "capture/frame_grabbers.h"
#include "capture/preview/preview_convert.h"

namespace orvane::bench {

namespace {

constexpr double kCameraRate = 15.0;  // the virtual camera's AvgTimePerFrame is 666,666

struct Account {
    uint64_t preview = 0;
    LONG delivered = 0;
    LONG dropped = 0;
    int drawn = -1;
    double seconds = 0;
    double cpuSeconds = 0;  // user and kernel time of the whole process
};

double ProcessCpuSeconds() {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    auto value = [](const FILETIME& t) {
        return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime) *
               1e-7;
    };
    return value(kernel) + value(user);
}

Account Read(IAMDroppedFrames* drops, IQualProp* renderer) {
    Account a;
    a.preview = PreviewCallback().Frames();
    if (drops) {
        drops->GetNumNotDropped(&a.delivered);
        drops->GetNumDropped(&a.dropped);
    }
    if (renderer) renderer->get_FramesDrawn(&a.drawn);
    a.seconds = Seconds();
    a.cpuSeconds = ProcessCpuSeconds();
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
        const double cpu = end.cpuSeconds - begin.cpuSeconds;
        const uint64_t frames = end.preview - begin.preview;
        std::printf(
            "  process CPU %.2f s (%.0f%% of one core), %.1f ms per preview frame"
            " (camera scene, converter, renderer and all)\n",
            cpu, 100.0 * cpu / span, frames ? cpu * 1e3 / static_cast<double>(frames) : 0.0);
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

namespace orvane::bench {

int ConvertFigures(int frames) {
    // The preview converter's own work for one 1280 x 960 YUY2 frame, on this build and platform.
    constexpr int kWidth = 1280, kHeight = 960;
    std::vector<uint8_t> frame(Yuy2FrameBytes(kWidth, kHeight));
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint8_t>(i * 37 + (i >> 11));
    std::vector<uint8_t> out(static_cast<size_t>(kWidth) * 4 * kHeight);
    const BgrxPicture picture{out.data(), kWidth, kHeight, kWidth * 4, false};
    Yuy2ToBgrx(frame.data(), frame.size(), picture);
    const double cpu = ProcessCpuSeconds();
    const double start = Seconds();
    for (int i = 0; i < frames; ++i) Yuy2ToBgrx(frame.data(), frame.size(), picture);
    const double wall = Seconds() - start;
    const double used = ProcessCpuSeconds() - cpu;
    std::printf(
        "YUY2 1280 x 960 to RGB32: %d frames, %.2f ms per frame (CPU %.2f ms), %.1f%% of"
        " one core at 15 fps\n",
        frames, wall * 1e3 / frames, used * 1e3 / frames, wall / frames * 15 * 100);
    return 0;
}

}  // namespace orvane::bench
