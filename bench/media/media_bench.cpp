// RebuildMediaLists + ShowDisplayList over n pictures and n/10 clips whose thumbnails exist,
// with the folders held in memory: the cost of the program's own list work, without the
// platform's directory enumeration. Heap bytes per listed file show the memory is linear.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <map>
#include <new>
#include <set>

#include "media/capture_names.h"
#include "media/file_requests.h"
#include "media/media_browser.h"

namespace {
std::atomic<long long> g_live{0};
}  // namespace

void* operator new(size_t n) {
    void* p = std::malloc(n + 16);
    if (!p) std::abort();
    *static_cast<size_t*>(p) = n;
    g_live += static_cast<long long>(n);
    return static_cast<char*>(p) + 16;
}
void operator delete(void* p) noexcept {
    if (!p) return;
    char* base = static_cast<char*>(p) - 16;
    g_live -= static_cast<long long>(*reinterpret_cast<size_t*>(base));
    std::free(base);
}
void operator delete(void* p, size_t) noexcept {
    operator delete(p);
}

namespace orvane {
namespace {

class MemoryFolders : public MediaFiles {
  public:
    std::map<std::u16string, std::vector<std::u16string>> folders;
    std::set<std::u16string> existing;
    bool ReadPrefix(const std::u16string&, size_t, std::vector<uint8_t>&) override { return false; }
    bool WriteWhole(const std::u16string&, const uint8_t*, size_t) override { return false; }
    bool Exists(const std::u16string& path) override { return existing.count(path) != 0; }
    bool LastWriteLocalTime(const std::u16string&, LocalTime&) override { return false; }
    bool ListFolder(const std::u16string& folder, std::u16string_view,
                    const EntryVisitor& visit) override {
        auto it = folders.find(folder);
        if (it == folders.end()) return false;
        for (const std::u16string& name : it->second) visit(name);
        return true;
    }
};

struct NoAvi : AviLibrary {
    void Begin() override {}
    void End() override {}
    std::unique_ptr<AviClip> Open(const std::u16string&) override { return nullptr; }
};

struct NullStrip : StripView {
    void ClearSelection() override {}
    void SetCell(int, const std::u16string*) override {}
    void RedrawStrip() override {}
    void SetScrollPos(int) override {}
};

const std::u16string kPics = u"C:\\Users\\someone\\Documents\\Orvane\\pictures";
const std::u16string kVids = u"C:\\Users\\someone\\Documents\\Orvane\\videos";
const std::u16string kThumb = kVids + u"\\thumb";

void BM_RebuildAndShow(benchmark::State& state) {
    const int pictures = static_cast<int>(state.range(0));
    MemoryFolders files;
    auto& pics = files.folders[kPics];
    auto& vids = files.folders[kVids];
    // Scanned in the scrambled order a file system may return.
    for (int i = 0; i < pictures; ++i) {
        pics.push_back(CaptureNameOfStep((i * 7919) % pictures * 7) + u".JPG");
    }
    for (int i = 0; i < pictures / 10; ++i) {
        vids.push_back(CaptureNameOfStep(i * 70 + 3) + u".AVI");
        files.existing.insert(kThumb + u"\\" + CaptureNameOfStep(i * 70 + 3) + u".BMP");
    }
    NoAvi avi;
    NullStrip strip;
    MediaBrowser browser(files, avi, strip);
    browser.SetFolders({kPics, kVids, kThumb});
    browser.SetLayout(16, 16);
    const long long before = g_live.load();
    for (auto _ : state) {
        browser.RebuildMediaLists();
        browser.ShowDisplayList(MediaView::Picture);
        benchmark::DoNotOptimize(browser.display().data());
    }
    const double items = static_cast<double>(browser.display().size());
    state.counters["heap_bytes_per_item"] = static_cast<double>(g_live.load() - before) / items;
}
BENCHMARK(BM_RebuildAndShow)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvane

// Delete all and Copy file of a whole strip: every listed capture selected, found in the
// lists with its companions (10,000 pictures and 1,000 clips).
void BM_FilesOfWholeSelection(benchmark::State& state) {
    using namespace orvane;
    const int pictures = static_cast<int>(state.range(0));
    const int clips = pictures / 10;
    MediaLists lists;
    std::vector<SelectionEntry> entries;
    auto capture = [&](int n, const char16_t* ext) {
        std::u16string s = u"TX";
        for (int shift = 6; shift >= 0; --shift) {
            const int digit = (n >> (shift * 4)) & 15;
            s += static_cast<char16_t>(digit < 10 ? u'0' + digit : u'A' + digit - 10);
        }
        return s + ext;
    };
    for (int n = 0; n < pictures; ++n) {
        lists.pictures.push_back(u"C:\\USERS\\ME\\DOCUMENTS\\ORVANE\\PICTURES\\" + capture(n, u".BMP"));
        entries.push_back({0, lists.pictures.back()});
    }
    for (int n = 0; n < clips; ++n) {
        lists.videos.push_back(u"C:\\USERS\\ME\\DOCUMENTS\\ORVANE\\VIDEOS\\" + capture(n, u".AVI"));
        lists.thumbnails.push_back(u"C:\\USERS\\ME\\DOCUMENTS\\ORVANE\\VIDEOS\\thumb\\" +
                                   capture(n, u".BMP"));
        entries.push_back({0, lists.thumbnails.back()});
    }
    for (auto _ : state) {
        const std::vector<SelectedFile> files = FilesOfSelection(entries, lists);
        benchmark::DoNotOptimize(files.data());
        if (files.size() != entries.size()) state.SkipWithError("not every entry found");
    }
}
BENCHMARK(BM_FilesOfWholeSelection)->Arg(10000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
