// Build/teardown cycles: what the process holds after cycles 1, 10, 25 and the last.
#include <dshow.h>

#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "bench/capture/figures.h"
#include "bench/capture/graph_host.h"
#include "bench/capture/process_counters.h"
#include "bench/capture/virtual_camera.h"
#include "capture/frame_grabbers.h"

namespace orvane::bench {

namespace {

void PrintHeader() {
    std::printf("%-6s %8s %10s %10s %10s %7s %6s %4s %4s %7s\n", "after", "private", "committed",
                "working", "unix anon", "handles", "table", "GDI", "USER", "unix");
    std::printf("%-6s %8s %10s %10s %10s %7s %6s %4s %4s %7s\n", "cycle", "KiB", "KiB", "KiB",
                "KiB", "", "rows", "", "", "threads");
}

void PrintRow(const char* label, const ProcessCounters& c) {
    std::printf("%-6s %8llu %10llu %10llu %10lld %7lu %6lld %4lu %4lu %7d\n", label,
                static_cast<unsigned long long>(c.privateUsage / 1024),
                static_cast<unsigned long long>(c.committedPrivate / 1024),
                static_cast<unsigned long long>(c.workingSet / 1024),
                static_cast<long long>(c.unixAnonKb), static_cast<unsigned long>(c.handles),
                static_cast<long long>(c.tableHandles), static_cast<unsigned long>(c.gdiObjects),
                static_cast<unsigned long>(c.userObjects), c.unixThreads);
}

// Kinds of the handles held now that were not held after the first cycle.
void PrintNewHandles(const std::vector<HANDLE>& before) {
    const std::set<HANDLE> old(before.begin(), before.end());
    std::map<std::wstring, int> kinds;
    for (HANDLE handle : OwnHandles()) {
        if (!old.count(handle)) ++kinds[HandleTypeName(handle)];
    }
    std::printf("handles added since cycle 1:");
    for (const auto& [kind, count] : kinds) std::printf(" %ls %d", kind.c_str(), count);
    std::printf("%s\n", kinds.empty() ? " none" : "");
}

void PrintGrowth(int from, const ProcessCounters& a, int to, const ProcessCounters& b) {
    const double span = to - from;
    const long long committed = static_cast<long long>(b.committedPrivate - a.committedPrivate);
    std::printf(
        "cycle %d to %d: committed %+lld KiB (%+.1f KiB/cycle), unix anon %+lld KiB, "
        "handles %+lld (%+.2f/cycle), unix threads %+d\n",
        from, to, committed / 1024, committed / 1024.0 / span,
        static_cast<long long>(b.unixAnonKb - a.unixAnonKb),
        static_cast<long long>(b.tableHandles - a.tableHandles),
        static_cast<double>(b.tableHandles - a.tableHandles) / span, b.unixThreads - a.unixThreads);
}

// Handles left behind by creating and releasing the platform's graph object alone.
void PrintBareGraphHandles(const CLSID& clsid, const char* name) {
    constexpr int kGraphs = 10;
    const size_t before = OwnHandles().size();
    for (int i = 0; i < kGraphs; ++i) {
        ComPtr<IGraphBuilder> graph;
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.PutVoid());
    }
    std::printf("%d bare %s objects created and released: handles %+lld\n", kGraphs, name,
                static_cast<long long>(OwnHandles().size()) - static_cast<long long>(before));
}

bool Reported(int cycle, int last) {
    return cycle == 1 || cycle == 10 || cycle == 25 || cycle == last;
}

}  // namespace

int CycleFigures(int cycles) {
    const VirtualCameraModel model(L"6340");
    if (!model.Ok()) {
        std::printf("cannot register the virtual camera\n");
        return 1;
    }
    auto host = std::make_unique<GraphHost>(kSize1280x960);
    CaptureGraph& graph = host->Graph();
    DeviceNameTable names{};
    if (graph.EnumerateDevices(names) < 1) {
        std::printf("no camera\n");
        return 1;
    }
    graph.SelectDevice(0);
    std::printf("%d build/teardown cycles, model 6340 at 1280 x 960 YUY2\n", cycles);
    PrintHeader();
    PrintRow("start", ReadProcessCounters());
    std::map<int, ProcessCounters> reported;
    std::vector<HANDLE> firstHandles;
    int withoutFrames = 0;
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        const uint64_t before = PreviewCallback().Frames();
        graph.BuildGraph(0, cycle == 1);
        // A few frames through the whole preview, as a user would see before changing something.
        if (!PumpUntilPreviewPast(before + 2, 3000)) ++withoutFrames;
        graph.CameraLost();  // drains the graph's events, as the owner window's handler does
        graph.TearDown();
        Pump(50);
        if (!Reported(cycle, cycles)) continue;
        reported[cycle] = ReadProcessCounters();
        if (cycle == 1) firstHandles = OwnHandles();
        char label[16];
        std::snprintf(label, sizeof(label), "%d", cycle);
        PrintRow(label, reported[cycle]);
    }
    // Memory settles during the first cycles; the growth after cycle 10 is what would go on.
    for (int from : {1, 10}) {
        if (!reported.count(from) || from >= cycles) continue;
        PrintGrowth(from, reported[from], cycles, reported[cycles]);
    }
    PrintNewHandles(firstHandles);
    // The still callback keeps the last camera for register reads until the graph object goes.
    std::printf("camera objects alive after the last teardown: %s\n",
                VirtualCameraObjectsAlive() ? "yes" : "none");
    host.reset();
    std::printf("camera objects alive after the capture graph is gone: %s\n",
                VirtualCameraObjectsAlive() ? "yes" : "none");
    PrintBareGraphHandles(CLSID_FilterGraph, "filter graph");
    PrintBareGraphHandles(CLSID_FilterGraphNoThread, "no-thread filter graph");
    std::printf("cycles without 3 preview frames within 3 s: %d\n", withoutFrames);
    return withoutFrames == 0 ? 0 : 1;
}

}  // namespace orvane::bench
