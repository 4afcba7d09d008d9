// The preview converter's colour conversion per frame: YUY2 to bottom-up 32-bit RGB at the
// capture sizes the cameras deliver.
#include <benchmark/benchmark.h>

#include <vector>

#include "capture/preview/preview_convert.h"

namespace {

void BM_Yuy2ToBgrx(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    std::vector<uint8_t> frame(orvane::Yuy2FrameBytes(width, height));
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint8_t>(i * 37 + (i >> 11));
    std::vector<uint8_t> out(static_cast<size_t>(width) * 4 * height);
    const orvane::BgrxPicture picture{out.data(), width, height, width * 4, false};
    for (auto _ : state) {
        benchmark::DoNotOptimize(orvane::Yuy2ToBgrx(frame.data(), frame.size(), picture));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["Mpixel/s"] = benchmark::Counter(static_cast<double>(width) * height * 1e-6,
                                                    benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_Yuy2ToBgrx)
    ->Args({640, 480})
    ->Args({1280, 960})
    ->Args({1600, 1200})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
