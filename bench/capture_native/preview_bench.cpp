// The preview converter's colour conversion per frame: YUY2 to bottom-up 32-bit RGB at the
// capture sizes the cameras deliver, and, when it is installed, libyuv's YUY2ToARGB on the
// same frame into the same bottom-up layout.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "capture/preview/preview_convert.h"
#include "capture/preview/preview_rows.h"

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

// The production path (the best row kernel), or one named kernel.
void Convert(benchmark::State& state, const char* kernel) {
    Frame f(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const orvane::BgrxPicture picture{f.out.data(), f.width, f.height, f.width * 4, false};
    orvane::preview::Yuy2RowFn row = orvane::preview::BestYuy2Row();
    int count = 0;
    const orvane::preview::Yuy2Row* rows = orvane::preview::Yuy2Rows(&count);
    for (int i = 0; kernel && i < count; ++i)
        if (std::string(rows[i].name) == kernel) row = rows[i].convert;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            orvane::preview::Yuy2ToBgrxWith(row, f.yuy2.data(), f.yuy2.size(), picture));
        benchmark::ClobberMemory();
    }
    Rate(state, f);
}

void BM_Yuy2ToBgrx(benchmark::State& state) {
    Convert(state, nullptr);
}
void BM_Yuy2ToBgrxSse2(benchmark::State& state) {
    Convert(state, "sse2");
}
void BM_Yuy2ToBgrxPlain(benchmark::State& state) {
    Convert(state, "plain");
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
BENCHMARK(BM_Yuy2ToBgrxSse2)->Apply(Sizes);
BENCHMARK(BM_Yuy2ToBgrxPlain)->Apply(Sizes);
#ifdef ORVANE_BENCH_LIBYUV
BENCHMARK(BM_LibyuvYuy2ToArgb)->Apply(Sizes);
#endif

BENCHMARK_MAIN();
