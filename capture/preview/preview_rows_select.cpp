// Run-time choice of the YUY2 row kernel.
#include "capture/preview/preview_rows.h"

namespace orvane::preview {

namespace {

bool HasAvx2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

const Yuy2Row kRows[] = {{Yuy2RowPlain, "plain"}, {Yuy2RowSse2, "sse2"}, {Yuy2RowAvx2, "avx2"}};

}  // namespace

const Yuy2Row* Yuy2Rows(int* count) {
    static const int available = HasAvx2() ? 3 : 2;
    *count = available;
    return kRows;
}

Yuy2RowFn BestYuy2Row() {
    static const Yuy2RowFn best = [] {
        int count = 0;
        return Yuy2Rows(&count)[count - 1].convert;
    }();
    return best;
}

}  // namespace orvane::preview
