// The preview converter's colour conversion per frame: YUY2 to bottom-up 32-bit RGB at the
// capture sizes the cameras deliver, and, when it is installed, libyuv's YUY2ToARGB on the
// same frame into the same bottom-up layout.
#include <benchmark/benchmark.h>

#include <vector>

#include "capture/preview/preview_convert.h"

#ifdef ORVANE_BENCH_LIBYUV
#include <libyuv/convert_argb.h>
#endif

namespace {

struct Frame {
    int width, height;
    std::vector<uint8_t> yuy2, out;
    Frame(int w, int h)
        : width(w),
          height(h),
          yuy2(orvane::Yuy2FrameBytes(w, h)),
          out(static_cast<size_t>(w) * 4 * h) {
        for (size_t i = 0; i < yuy2.size(); ++i) yuy2[i] = static_cast<uint8_t>(i * 37 + (i >> 11));
    }
};

void Rate(benchmark::State& state, const Frame& f) {
    state.SetItemsProcessed(state.iterations());
    state.counters["Mpixel/s"] = benchmark::Counter(static_cast<double>(f.width) * f.height * 1e-6,
                                                    benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Yuy2ToBgrx(benchmark::State& state) {
    Frame f(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const orvane::BgrxPicture picture{f.out.data(), f.width, f.height, f.width * 4, false};
    for (auto _ : state) {
        benchmark::DoNotOptimize(orvane::Yuy2ToBgrx(f.yuy2.data(), f.yuy2.size(), picture));
        benchmark::ClobberMemory();
    }
    Rate(state, f);
}

#ifdef ORVANE_BENCH_LIBYUV
// A negative height makes libyuv write the rows bottom-up, as the converter does.
void BM_LibyuvYuy2ToArgb(benchmark::State& state) {
    Frame f(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(libyuv::YUY2ToARGB(f.yuy2.data(), f.width * 2, f.out.data(),
                                                    f.width * 4, f.width, -f.height));
        benchmark::ClobberMemory();
    }
    Rate(state, f);
}
#endif

void Sizes(benchmark::internal::Benchmark* b) {
    b->Args({640, 480})->Args({1280, 960})->Args({1600, 1200})->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_Yuy2ToBgrx)->Apply(Sizes);
#ifdef ORVANE_BENCH_LIBYUV
BENCHMARK(BM_LibyuvYuy2ToArgb)->Apply(Sizes);
#endif

BENCHMARK_MAIN();
