// The focus stacker against the field's anchor on the same rendered focus series, in one run:
// the stacker in the process, the command-line stacker on BMP files, and Debian's enfuse
// (contrast weight only, hard mask) on TIFF copies of the same frames, each with its PSNR
// against the all-in-focus truth. Argument 0 is the series as rendered, 1 the same series with
// the hand's shifts of up to 8 pixels and 1 % scale changes, which enfuse does not align.
//
// ORVANE_STACK_BENCH=WxHxN chooses the series (default 1280x960x10); the frames and the
// anchor's files live in a temporary folder for the run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <system_error>

#include "stacking/files/frame_files.h"
#include "tests/stacking/focus_series.h"

namespace orvane::stacking {
namespace {

struct Prepared {
    testing::SeriesPlan plan;
    testing::Series series;
    std::filesystem::path dir;
    std::string bmpList;
    std::string tifList;
    double bestFrame = 0;
    bool ok = false;
};

testing::SeriesPlan PlanFromEnvironment(bool shifted) {
    testing::SeriesPlan plan;
    plan.width = 1280;
    plan.height = 960;
    plan.frames = 10;
    if (const char* e = std::getenv("ORVANE_STACK_BENCH")) {
        int w = 0, h = 0, n = 0;
        if (std::sscanf(e, "%dx%dx%d", &w, &h, &n) == 3 && w > 0 && h > 0 && n > 1) {
            plan.width = w;
            plan.height = h;
            plan.frames = n;
        }
    }
    if (shifted) {
        plan.shift = 8.0;
        plan.scaleSpan = 0.01;
    }
    return plan;
}

bool Run(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

// Appended piece by piece: GCC 12 warns falsely on "..." + std::string chains.
std::string Quote(const std::filesystem::path& p) {
    std::string q(1, '\'');
    q += p.string();
    q += '\'';
    return q;
}

std::string Command(std::initializer_list<std::string> parts) {
    std::string c;
    for (const std::string& part : parts) c += part;
    return c;
}

// The rendered series of the run; their folders go when the program ends.
struct Cache {
    std::map<bool, std::unique_ptr<Prepared>> series;
    ~Cache() {
        std::error_code ec;
        for (auto& [shifted, p] : series)
            if (p && !p->dir.empty()) std::filesystem::remove_all(p->dir, ec);
    }
};

const Prepared& Get(bool shifted) {
    static Cache cache;
    std::unique_ptr<Prepared>& slot = cache.series[shifted];
    if (slot) return *slot;
    slot = std::make_unique<Prepared>();
    Prepared& p = *slot;
    p.plan = PlanFromEnvironment(shifted);
    if (!testing::MakeSeries(p.plan, &p.series)) return p;
    p.dir = std::filesystem::temp_directory_path() /
            (shifted ? "orvane-stack-bench-shifted" : "orvane-stack-bench");
    std::filesystem::create_directories(p.dir);
    std::string error;
    for (size_t k = 0; k < p.series.frames.size(); ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "frame%02zu", k);
        const std::filesystem::path bmp = p.dir / (std::string(name) + ".bmp");
        const std::filesystem::path tif = p.dir / (std::string(name) + ".tif");
        if (!WriteBmpFile(bmp.string().c_str(), p.series.frames[k], &error)) return p;
        if (!Run(Command({"convert ", Quote(bmp), " -compress none ", Quote(tif)}))) return p;
        p.bmpList += ' ';
        p.bmpList += Quote(bmp);
        p.tifList += ' ';
        p.tifList += Quote(tif);
        p.bestFrame = std::max(p.bestFrame, testing::Psnr(p.series.frames[k], p.series.truth));
    }
    p.ok = true;
    return p;
}

double PsnrOfFile(const Prepared& p, const std::filesystem::path& file) {
    const BmpFrameReader bmp;
    const FrameReader* const readers[] = {&bmp};
    BgrImage picture;
    std::string error;
    if (!ReadFrameFile(file.string().c_str(), readers, 1, &picture, &error) ||
        picture.Width() != p.series.truth.Width() || picture.Height() != p.series.truth.Height()) {
        return 0;
    }
    return testing::Psnr(picture, p.series.truth);
}

void Label(benchmark::State& state, const Prepared& p, double psnr) {
    state.counters["psnr_dB"] = psnr;
    state.counters["best_frame_dB"] = p.bestFrame;
    state.counters["frames"] = static_cast<double>(p.plan.frames);
    char label[64];
    std::snprintf(label, sizeof label, "%dx%d %s", p.plan.width, p.plan.height,
                  p.plan.shift > 0 ? "shifted" : "aligned");
    state.SetLabel(label);
}

void BM_StackInProcess(benchmark::State& state) {
    const Prepared& p = Get(state.range(0) != 0);
    if (!p.ok) return state.SkipWithError("series not rendered");
    BgrImage fused;
    for (auto _ : state) {
        if (testing::StackAll(p.series.frames, &fused) != StackStatus::kOk)
            return state.SkipWithError("stacking failed");
    }
    Label(state, p, testing::Psnr(fused, p.series.truth));
}

void BM_StackCommandLine(benchmark::State& state) {
    const Prepared& p = Get(state.range(0) != 0);
    if (!p.ok) return state.SkipWithError("series not rendered");
    const std::filesystem::path out = p.dir / "orvane.bmp";
    for (auto _ : state) {
        if (!Run(Command({ORVANE_STACK_TOOL, " ", Quote(out), p.bmpList, " > /dev/null"})))
            return state.SkipWithError("orvane-stack failed");
    }
    Label(state, p, PsnrOfFile(p, out));
}

void BM_Enfuse(benchmark::State& state) {
    const Prepared& p = Get(state.range(0) != 0);
    if (!p.ok) return state.SkipWithError("series not rendered");
    const std::filesystem::path out = p.dir / "enfuse.tif";
    const std::filesystem::path bmp = p.dir / "enfuse.bmp";
    for (auto _ : state) {
        if (!Run(Command({"enfuse --exposure-weight=0 --saturation-weight=0 --contrast-weight=1 "
                          "--hard-mask --compression=none -o ",
                          Quote(out), p.tifList, " > /dev/null 2>&1"})))
            return state.SkipWithError("enfuse failed (is the enfuse package installed?)");
    }
    if (!Run(Command({"convert ", Quote(out), " -alpha off BMP3:", Quote(bmp)})))
        return state.SkipWithError("cannot read enfuse's output");
    Label(state, p, PsnrOfFile(p, bmp));
}

// One frame added to a running stack of 2560 x 1920, the size of a stack of fifty.
void BM_AddFrame2560x1920(benchmark::State& state) {
    static testing::Series series;
    static bool rendered = [] {
        testing::SeriesPlan plan;
        plan.width = 2560;
        plan.height = 1920;
        plan.frames = 2;
        plan.shift = 8.0;
        plan.scaleSpan = 0.01;
        return testing::MakeSeries(plan, &series);
    }();
    if (!rendered) return state.SkipWithError("series not rendered");
    FocusStacker stacker;
    if (stacker.Begin(2560, 1920) != StackStatus::kOk ||
        stacker.Add(series.frames[0].View()) != StackStatus::kOk)
        return state.SkipWithError("begin failed");
    for (auto _ : state) {
        if (stacker.Add(series.frames[1].View()) != StackStatus::kOk)
            return state.SkipWithError("add failed");
    }
    state.counters["working_MiB"] = static_cast<double>(stacker.WorkingBytes()) / (1 << 20);
}

BENCHMARK(BM_StackInProcess)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StackCommandLine)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(BM_Enfuse)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_AddFrame2560x1920)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace orvane::stacking

BENCHMARK_MAIN();
