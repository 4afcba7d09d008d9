// Raw conversion speed: the production path (SIMD and plain kernels, one and two threads), the
// plain oracle, and, when available, OpenCV's Bayer demosaicing alone on the same frame.
// Peak heap use during one conversion is reported as a multiple of the output buffer.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>
#include <vector>

#include "capture/raw/raw_vec_kernels.h"
#include "capture/raw/raw_pars.h"
#include "tests/raw/raw_oracle.h"

#ifdef ORVANE_BENCH_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

// Heap accounting for the memory figure.
namespace {
std::atomic<long long> g_live{0};
std::atomic<long long> g_peak{0};
void Note(long long delta) {
    long long now = g_live += delta;
    long long peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
}
}  // namespace

void* operator new(size_t n) {
    void* p = std::malloc(n + 16);
    if (!p) throw std::bad_alloc();
    *static_cast<size_t*>(p) = n;
    Note(static_cast<long long>(n));
    return static_cast<char*>(p) + 16;
}
void* operator new[](size_t n) {
    return operator new(n);
}
void* operator new(size_t n, const std::nothrow_t&) noexcept {
    void* p = std::malloc(n + 16);
    if (!p) return nullptr;
    *static_cast<size_t*>(p) = n;
    Note(static_cast<long long>(n));
    return static_cast<char*>(p) + 16;
}
void* operator new[](size_t n, const std::nothrow_t& t) noexcept {
    return operator new(n, t);
}
void operator delete(void* p) noexcept {
    if (!p) return;
    char* base = static_cast<char*>(p) - 16;
    Note(-static_cast<long long>(*reinterpret_cast<size_t*>(base)));
    std::free(base);
}
void operator delete[](void* p) noexcept {
    operator delete(p);
}
void operator delete(void* p, size_t) noexcept {
    operator delete(p);
}
void operator delete[](void* p, size_t) noexcept {
    operator delete(p);
}

namespace {

using orvane::CRawPars;

const std::vector<uint8_t>& Frame(int w, int h) {
    static std::vector<uint8_t> small, large;
    std::vector<uint8_t>& f = (w == 2560) ? small : large;
    if (f.empty()) {
        std::mt19937 rng(42);
        f.resize(static_cast<size_t>(w) * h);
        // Smooth picture with noise, like a sensor frame.
        for (int r = 0; r < h; ++r)
            for (int c = 0; c < w; ++c)
                f[static_cast<size_t>(r) * w + c] =
                    static_cast<uint8_t>((r * 7 / 40 + c * 5 / 32 + (rng() & 15)) & 255);
    }
    return f;
}

void Production(benchmark::State& state, orvane::rawk::VecLevel level) {
    int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const auto& raw = Frame(w, h);
    CRawPars p;
    p.SetThreads(static_cast<int>(state.range(2)));
    orvane::rawk::SetVecLevel(level);
    double peak = 0;
    for (auto _ : state) {
        long long before = g_live.load();
        g_peak = before;
        auto out = p.Process(w, h, raw.data(), raw.size());
        benchmark::DoNotOptimize(out.get());
        peak = static_cast<double>(g_peak.load() - before);
    }
    orvane::rawk::SetVecLevel(orvane::rawk::VecLevel::kBest);
    double output = static_cast<double>(w) * h * 3;
    state.counters["peak_heap_x_output"] = peak / output;
    state.counters["Mpix/s"] = benchmark::Counter(static_cast<double>(w) * h,
                                                  benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ConvertRaw(benchmark::State& state) {
    Production(state, orvane::rawk::VecLevel::kBest);
}
void BM_ConvertRawSse2(benchmark::State& state) {
    Production(state, orvane::rawk::VecLevel::kSse2);
}
void BM_ConvertRawPlainKernels(benchmark::State& state) {
    Production(state, orvane::rawk::VecLevel::kOff);
}

void BM_Oracle(benchmark::State& state) {
    int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const auto& raw = Frame(w, h);
    CRawPars p;
    for (auto _ : state) {
        auto out = orvane::oracle::Convert(p, w, h, raw);
        benchmark::DoNotOptimize(out.data());
    }
}

#ifdef ORVANE_BENCH_OPENCV
void OpenCv(benchmark::State& state, int code) {
    int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    cv::setNumThreads(1);
    cv::Mat src(h, w, CV_8UC1, const_cast<uint8_t*>(Frame(w, h).data()));
    cv::Mat dst;
    for (auto _ : state) {
        cv::cvtColor(src, dst, code);
        benchmark::DoNotOptimize(dst.data);
    }
}
void BM_OpenCvBayerBG2BGR(benchmark::State& state) {
    OpenCv(state, cv::COLOR_BayerBG2BGR);
}
void BM_OpenCvBayerBG2BGR_EA(benchmark::State& state) {
    OpenCv(state, cv::COLOR_BayerBG2BGR_EA);
}
#endif

void Sizes(benchmark::internal::Benchmark* b, bool threads) {
    for (auto s : {std::pair{2560, 1920}, std::pair{3488, 2616}}) {
        b->Args({s.first, s.second, 1});
        if (threads) b->Args({s.first, s.second, 2});
    }
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

}  // namespace

BENCHMARK(BM_ConvertRaw)->Apply([](auto* b) { Sizes(b, true); });
BENCHMARK(BM_ConvertRawSse2)->Apply([](auto* b) { Sizes(b, false); });
BENCHMARK(BM_ConvertRawPlainKernels)->Apply([](auto* b) { Sizes(b, false); });
BENCHMARK(BM_Oracle)->Apply([](auto* b) { Sizes(b, false); }) -> Iterations(2);
#ifdef ORVANE_BENCH_OPENCV
BENCHMARK(BM_OpenCvBayerBG2BGR)->Apply([](auto* b) { Sizes(b, false); });
BENCHMARK(BM_OpenCvBayerBG2BGR_EA)->Apply([](auto* b) { Sizes(b, false); });
#endif

BENCHMARK_MAIN();
