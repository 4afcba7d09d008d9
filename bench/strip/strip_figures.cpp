// Figures of the thumbnail strip under Wine: the real cells, lists and paging over a folder of
// 10,000 captures, timed in-process. Prints measurements; not a test.
//   strip_figures [count]   (default 10000; the folder is made under the temporary folder)
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "media/media_browser.h"
#include "media/companion_paths.h"
#include "media/media_info.h"
#include "media/win/picture_image.h"
#include "media/win/strip_cells.h"
#include "media/win/win_avi_library.h"
#include "media/win/win_media_files.h"
#include "platform/gdiplus_session.h"
#include "platform/handles.h"
#include "platform/wide.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// A 640 x 480 24-bit picture with a gradient, written once and copied for every capture.
std::vector<uint8_t> SamplePicture() {
    const int w = 640, h = 480, stride = w * 3;
    std::vector<uint8_t> bytes(54 + static_cast<size_t>(stride) * h);
    const uint32_t size = static_cast<uint32_t>(bytes.size()), offset = 54, info = 40;
    const uint16_t planes = 1, bits = 24;
    bytes[0] = 'B';
    bytes[1] = 'M';
    memcpy(&bytes[2], &size, 4);
    memcpy(&bytes[10], &offset, 4);
    memcpy(&bytes[14], &info, 4);
    memcpy(&bytes[18], &w, 4);
    memcpy(&bytes[22], &h, 4);
    memcpy(&bytes[26], &planes, 2);
    memcpy(&bytes[28], &bits, 2);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &bytes[54 + static_cast<size_t>(y) * stride + x * 3];
            p[0] = static_cast<uint8_t>(x);
            p[1] = static_cast<uint8_t>(y);
            p[2] = static_cast<uint8_t>(x + y);
        }
    }
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return written == bytes.size();
}

std::wstring CaptureName(int n) {
    wchar_t name[16];
    swprintf(name, 16, L"TX%07d.BMP", n);
    return name;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    using namespace orvane;
    const int count = argc > 1 ? _wtoi(argv[1]) : 10000;
    const GdiplusSession gdiplus;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring root = std::wstring(temp) + L"OrvaneStripFigures";
    const std::wstring pictures = root + L"\\PICTURES", videos = root + L"\\VIDEOS";
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW(pictures.c_str(), nullptr);
    CreateDirectoryW(videos.c_str(), nullptr);
    CreateDirectoryW((pictures + L"\\INFO").c_str(), nullptr);
    const std::vector<uint8_t> sample = SamplePicture();
    auto made = Clock::now();
    int written = 0;
    for (int n = 1; n <= count; ++n) {
        const std::wstring path = pictures + L"\\" + CaptureName(n);
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            WriteFileBytes(path, sample);
            ++written;
        }
    }
    std::printf("folder: %d captures (%d written in %.0f ms)\n", count, written, Ms(made));
    // Every capture the program stores has its side file beside the thumbnail caches.
    {
        WinMediaFiles files;
        WinMediaClock clock;
        for (int n = 1; n <= count; ++n) {
            const std::u16string path = FromWide(pictures + L"\\" + CaptureName(n));
            if (files.Exists(SideFilePath(path))) continue;
            MediaInfoRecord record;
            SetRecordText(record.mediaPath, path);
            record.captureTime = clock.LocalNow();
            record.magnification = 1.0;
            record.pictureSize = 640u << 16 | 480u;
            WriteMediaInfo(record, files);
        }
    }

    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"StripFiguresHost";
    RegisterClassW(&wc);
    HWND host = CreateWindowW(L"StripFiguresHost", L"strip", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                              1280, 1000, nullptr, nullptr, wc.hInstance, nullptr);
    HWND bar = CreateWindowW(L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_VERT, 250, 0, 16, 900,
                             host, nullptr, wc.hInstance, nullptr);
    SetScrollRange(bar, SB_CTL, 0, 1000, TRUE);

    WinMediaFiles files;
    WinMediaClock clock;
    WinAviLibrary avi;
    CellShared shared;
    shared.instance = wc.hInstance;
    shared.files = &files;
    shared.clock = &clock;
    StripCells strip;
    MediaBrowser browser(files, avi, strip);
    strip.Attach(host, bar, &shared, &browser);
    const int cells = 14;
    for (int k = 1; k <= cells; ++k) {
        const int row = (k - 1) / 2, column = (k - 1) % 2;
        strip.CreateCell(k,
                         {10 + column * 118, 18 + row * 120, 128 + column * 118, 138 + row * 120});
    }
    strip.CreatePreview({280, 18, 1280, 900});
    browser.SetFolders({FromWide(pictures), FromWide(videos), FromWide(videos + L"\\THUMB")});
    browser.SetLayout(cells, cells);

    auto pump = [] {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    };
    auto start = Clock::now();
    browser.RebuildMediaLists();
    std::printf("rebuild lists: %.1f ms\n", Ms(start));

    // The first fill makes the caches of the last page (removed first for a cold start).
    for (int n = count - cells + 1; n <= count; ++n)
        DeleteFileW((pictures + L"\\INFO\\" + CaptureName(n)).c_str());
    start = Clock::now();
    browser.ShowDisplayList(MediaView::Picture);
    pump();
    const double cold = Ms(start);
    std::printf("first fill without caches: %.1f ms (%.1f ms a cell)\n", cold, cold / cells);

    // A fresh strip over the same folder: every visible cell loads its cache.
    StripCells warmStrip;
    MediaBrowser warm(files, avi, warmStrip);
    warmStrip.Attach(host, bar, &shared, &warm);
    for (int k = 1; k <= cells; ++k) {
        const int row = (k - 1) / 2, column = (k - 1) % 2;
        warmStrip.CreateCell(
            k, {10 + column * 118, 18 + row * 120, 128 + column * 118, 138 + row * 120});
    }
    warmStrip.CreatePreview({280, 18, 1280, 900});
    warm.SetFolders({FromWide(pictures), FromWide(videos), FromWide(videos + L"\\THUMB")});
    warm.SetLayout(cells, cells);
    start = Clock::now();
    warm.RebuildMediaLists();
    const double scan = Ms(start);
    start = Clock::now();
    warm.ShowDisplayList(MediaView::Picture);
    pump();
    std::printf("start-up with caches: folder scan %.1f ms, then the strip's fill %.1f ms\n", scan,
                Ms(start));

    start = Clock::now();
    warm.ShowDisplayList(MediaView::Picture);
    pump();
    std::printf("fill again with the same paths: %.1f ms\n", Ms(start));

    // Page moves over cached pages: make the caches of the pages walked first.
    for (int i = 0; i < 6; ++i) warm.PageUp();
    for (int i = 0; i < 6; ++i) warm.PageDown();
    double total = 0, worst = 0;
    const int moves = 6;
    for (int i = 0; i < moves; ++i) {
        start = Clock::now();
        warm.PageUp();
        pump();
        const double t = Ms(start);
        total += t;
        worst = std::max(worst, t);
    }
    std::printf("page up over cached pages: %.1f ms mean, %.1f ms worst\n", total / moves, worst);

    // Where a cached cell's time goes.
    const std::u16string first3 = warmStrip.CellPath(3), second3 = warmStrip.CellPath(4);
    {
        std::vector<uint8_t> b0;
        const std::u16string path = warmStrip.CellPath(3);
        const std::wstring cache = pictures + L"\\INFO\\" + ToWide(path.substr(path.size() - 13));
        start = Clock::now();
        for (int i = 0; i < 20; ++i) ReadMediaInfo(path, 0.0, files, clock);
        std::printf("  side file read: %.2f ms\n", Ms(start) / 20);
        const std::u16string exact =
            FromWide(pictures + L"\\INFO\\") + path.substr(path.size() - 13, 9);
        start = Clock::now();
        for (int i = 0; i < 20; ++i) files.ReadPrefix(exact, 1088, b0);
        std::printf("  side read, exact case: %.2f ms\n", Ms(start) / 20);
        start = Clock::now();
        for (int i = 0; i < 20; ++i) files.ReadPrefix(SideFilePath(path), 1088, b0);
        std::printf("  side read, listed case: %.2f ms\n", Ms(start) / 20);
        LocalTime lt;
        start = Clock::now();
        for (int i = 0; i < 20; ++i) files.LastWriteLocalTime(path, lt);
        std::printf("  local file time: %.2f ms\n", Ms(start) / 20);
        std::vector<uint8_t> b;
        start = Clock::now();
        for (int i = 0; i < 20; ++i) files.ReadPrefix(path, 54, b);
        std::printf("  header read: %.2f ms\n", Ms(start) / 20);
        start = Clock::now();
        for (int i = 0; i < 20; ++i) LastWriteTime(cache);
        std::printf("  file time: %.2f ms\n", Ms(start) / 20);
        start = Clock::now();
        for (int i = 0; i < 20; ++i) LoadPicture(cache);
        std::printf("  cache decode: %.2f ms\n", Ms(start) / 20);
        const PictureBitmap cached = LoadPicture(cache);
        start = Clock::now();
        for (int i = 0; i < 20; ++i) ScalePicture(cached, 96, 72, 24);
        std::printf("  scale to the box: %.2f ms\n", Ms(start) / 20);
        start = Clock::now();
        for (int i = 0; i < 20; ++i) {
            const std::u16string* p = i % 2 ? &first3 : &second3;
            warmStrip.Cell(3).SetItem(p);
        }
        std::printf("  set item (alternating two paths): %.2f ms\n", Ms(start) / 20);
        start = Clock::now();
        for (int i = 0; i < 20; ++i) {
            InvalidateRect(warmStrip.Cell(3).Hwnd(), nullptr, FALSE);
            UpdateWindow(warmStrip.Cell(3).Hwnd());
        }
        std::printf("  cell paint: %.2f ms\n", Ms(start) / 20);
    }
    CPictureView& preview = warmStrip.Preview();
    const std::u16string first = warmStrip.CellPath(1), second = warmStrip.CellPath(2);
    total = 0;
    for (int i = 0; i < 10; ++i) {
        start = Clock::now();
        preview.SetItem(i % 2 ? &first : &second);
        total += Ms(start);
    }
    std::printf("hover preview of a 640 x 480 picture: %.1f ms\n", total / 10);
    DestroyWindow(host);
    return 0;
}
