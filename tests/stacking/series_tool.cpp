// focus_series_tool: focus series as files, for the command-line test and the benchmarks.
//   focus_series_tool write DIR W H N [SHIFT [NOISE [SEED]]]
//     DIR/frame00.bmp .. frame(N-1).bmp (focus swept from depth 0 to 1, frames after the
//     first moved by up to SHIFT pixels and scaled by up to 1 %) and DIR/truth.bmp
//   focus_series_tool psnr A.bmp B.bmp      prints the PSNR of B against A in dB
#include <cstdio>
#include <cstdlib>
#include <string>

#include "stacking/files/frame_files.h"
#include "tests/stacking/focus_series.h"

namespace {

using namespace orvane::stacking;

int Usage() {
    std::fprintf(stderr,
                 "usage: focus_series_tool write DIR W H N [SHIFT [NOISE [SEED]]]\n"
                 "       focus_series_tool psnr A.bmp B.bmp\n");
    return 2;
}

int Write(int argc, char** argv) {
    if (argc < 6) return Usage();
    testing::SeriesPlan plan;
    const std::string dir = argv[2];
    plan.width = std::atoi(argv[3]);
    plan.height = std::atoi(argv[4]);
    plan.frames = std::atoi(argv[5]);
    plan.shift = argc > 6 ? std::atof(argv[6]) : 0.0;
    plan.scaleSpan = plan.shift > 0 ? 0.01 : 0.0;
    plan.noise = argc > 7 ? std::atof(argv[7]) : 2.0;
    plan.seed = argc > 8 ? static_cast<uint32_t>(std::atoi(argv[8])) : 1u;
    if (plan.width <= 0 || plan.height <= 0 || plan.frames <= 0) return Usage();
    vcam::FocusScene scene(plan.width, plan.height, plan.seed);
    BgrImage picture;
    std::string error;
    if (!picture.Allocate(plan.width, plan.height)) return 1;
    const ptrdiff_t stride = static_cast<ptrdiff_t>(picture.Stride());
    if (!scene.RenderTruth(picture.Data(), stride) ||
        !WriteBmpFile((dir + "/truth.bmp").c_str(), picture, &error)) {
        std::fprintf(stderr, "truth: %s\n", error.c_str());
        return 1;
    }
    for (int k = 0; k < plan.frames; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "/frame%02d.bmp", k);
        if (!scene.RenderFrame(testing::SeriesShot(plan, k), picture.Data(), stride) ||
            !WriteBmpFile((dir + name).c_str(), picture, &error)) {
            std::fprintf(stderr, "%s: %s\n", name + 1, error.c_str());
            return 1;
        }
    }
    return 0;
}

int Psnr(int argc, char** argv) {
    if (argc != 4) return Usage();
    const BmpFrameReader bmp;
    const FrameReader* const readers[] = {&bmp};
    BgrImage a, b;
    std::string error;
    if (!ReadFrameFile(argv[2], readers, 1, &a, &error) ||
        !ReadFrameFile(argv[3], readers, 1, &b, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (a.Width() != b.Width() || a.Height() != b.Height()) {
        std::fprintf(stderr, "sizes differ\n");
        return 1;
    }
    std::printf("%.2f\n", testing::Psnr(a, b));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string what = argv[1];
    if (what == "write") return Write(argc, argv);
    if (what == "psnr") return Psnr(argc, argv);
    return Usage();
}
