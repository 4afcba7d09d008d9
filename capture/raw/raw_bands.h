#pragma once
// What the banded workers share: edge mirroring, the small row cache and the split of a frame's
// rows into one band per thread. Internal to capture/raw.
#include <cstdint>
#include <thread>
#include <vector>

namespace orvane::rawk {

// Mirror with the edge repeated: -1 -> 0, -2 -> 1, n -> n-1, n+1 -> n-2 (repeated for tiny n).
inline int MirrorRepeat(int i, int n) {
    while (i < 0 || i >= n) i = i < 0 ? -i - 1 : 2 * n - 1 - i;
    return i;
}

// Mirror without repeating the edge: -1 -> 1, n -> n-2; a single row or column mirrors to itself.
inline int MirrorNoRepeat(int i, int n) {
    if (n == 1) return 0;
    while (i < 0 || i >= n) i = i < 0 ? -i : 2 * n - 2 - i;
    return i;
}

// A small cache of rows keyed by their frame row, filled on demand.
struct RowCache {
    int slots = 0;
    int stride = 0;
    std::vector<int> tag;
    std::vector<uint8_t> data;
    bool Init(int n, int bytes) {
        slots = n;
        stride = bytes;
        tag.assign(n, -1);
        data.resize(static_cast<size_t>(n) * bytes);
        return true;
    }
    uint8_t* Slot(int i) { return data.data() + static_cast<size_t>(i) * stride; }
    int Find(int row) const {
        for (int i = 0; i < slots; ++i)
            if (tag[i] == row) return i;
        return -1;
    }
    // A slot for a new row, not one of the rows in keep.
    int Victim(const int* keep, int nkeep) const {
        int best = -1;
        for (int i = 0; i < slots; ++i) {
            bool kept = false;
            for (int k = 0; k < nkeep; ++k)
                if (tag[i] == keep[k]) kept = true;
            if (!kept) {
                best = i;
                if (tag[i] == -1) break;
            }
        }
        return best;
    }
};

// Splits the rows into one band per thread; the calling thread takes the first band and any
// band whose thread could not be started.
template <typename Worker, typename Make>
bool RunBands(int nthreads, int h, Make make) {
    std::vector<Worker> workers;
    try {
        workers.reserve(nthreads);
        for (int i = 0; i < nthreads; ++i) {
            workers.push_back(make());
            if (!workers.back().Init()) return false;
        }
    } catch (...) {
        return false;
    }
    auto bandStart = [&](int i) {
        return static_cast<int>(static_cast<int64_t>(h) * i / nthreads);
    };
    std::vector<std::thread> threads;
    int started = 0;
    for (int i = 1; i < nthreads; ++i) {
        try {
            threads.emplace_back(
                [&workers, i, a = bandStart(i), b = bandStart(i + 1)] { workers[i].Run(a, b); });
        } catch (...) {
            break;
        }
        started = i;
    }
    workers[0].Run(0, bandStart(1));
    if (started + 1 < nthreads) workers[0].Run(bandStart(started + 1), h);
    for (auto& t : threads) t.join();
    return true;
}

}  // namespace orvane::rawk
