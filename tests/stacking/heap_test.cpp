// The stacker's heap use as the heap sees it (every operator new of this program counted):
// Begin takes what WorkingBytesFor says, Add and Finish take nothing beyond it, and Finish
// gives it all back, however many frames come.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "tests/stacking/focus_series.h"

namespace {
std::atomic<long long> g_live{0};
std::atomic<long long> g_taken{0};

void* Take(size_t n) {
    void* p = std::malloc(n + 16);
    if (p == nullptr) return nullptr;
    *static_cast<size_t*>(p) = n;
    g_live += static_cast<long long>(n);
    g_taken += static_cast<long long>(n);
    return static_cast<char*>(p) + 16;
}
void Give(void* p) {
    if (p == nullptr) return;
    char* base = static_cast<char*>(p) - 16;
    g_live -= static_cast<long long>(*reinterpret_cast<size_t*>(base));
    std::free(base);
}
}  // namespace

void* operator new(size_t n) {
    void* p = Take(n);
    if (p == nullptr) std::abort();
    return p;
}
void* operator new[](size_t n) {
    return operator new(n);
}
void* operator new(size_t n, const std::nothrow_t&) noexcept {
    return Take(n);
}
void* operator new[](size_t n, const std::nothrow_t&) noexcept {
    return Take(n);
}
void operator delete(void* p) noexcept {
    Give(p);
}
void operator delete[](void* p) noexcept {
    Give(p);
}
void operator delete(void* p, size_t) noexcept {
    Give(p);
}
void operator delete[](void* p, size_t) noexcept {
    Give(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    Give(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    Give(p);
}

namespace orvane::stacking {
namespace {

TEST(FocusStackerHeap, AddingFramesTakesNoMemoryBeyondWhatBeginTook) {
    testing::SeriesPlan plan;
    plan.width = 200;
    plan.height = 150;
    plan.frames = 5;
    plan.shift = 5.0;
    testing::Series series;
    ASSERT_TRUE(testing::MakeSeries(plan, &series));

    FocusStacker stacker;
    const long long before = g_live;
    ASSERT_EQ(stacker.Begin(plan.width, plan.height), StackStatus::kOk);
    const long long begun = g_live - before;
    // The ledger's figure is the buffers; the heap also holds the state object (a few KiB).
    EXPECT_GE(begun, static_cast<long long>(FocusStacker::WorkingBytesFor(200, 150)));
    EXPECT_LT(begun, static_cast<long long>(FocusStacker::WorkingBytesFor(200, 150)) + 16384);

    const long long taken = g_taken;
    for (int round = 0; round < 4; ++round)
        for (const BgrImage& f : series.frames) ASSERT_EQ(stacker.Add(f.View()), StackStatus::kOk);
    EXPECT_EQ(g_taken - taken, 0);
    EXPECT_EQ(g_live - before, begun);

    BgrImage out;
    const long long beforeFinish = g_taken;
    ASSERT_EQ(stacker.Finish(&out), StackStatus::kOk);
    EXPECT_EQ(g_taken - beforeFinish, 0);  // the picture was set aside in Begin
    // Only the picture handed out is left.
    EXPECT_EQ(g_live - before, 200LL * 150 * 3);
    out.Release();
    EXPECT_EQ(g_live - before, 0);
}

}  // namespace
}  // namespace orvane::stacking
