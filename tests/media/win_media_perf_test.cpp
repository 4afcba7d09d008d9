// Time of a full rebuild and show over a large library on the platform. Disabled by default
// (it writes 12,000 files); run with
//   media_tests.exe --gtest_also_run_disabled_tests --gtest_filter=*LargeLibrary*
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "media/capture_names.h"
#include "media/media_browser.h"
#include "media/win/win_avi_library.h"
#include "media/win/win_media_files.h"
#include "media/win/win_wide.h"

namespace orvane {
namespace {

struct NullStrip : StripView {
    void ClearSelection() override {}
    void SetCell(int, const std::u16string*) override {}
    void RedrawStrip() override {}
    void SetScrollPos(int) override {}
};

void Touch(const std::u16string& path) {
    HANDLE h = CreateFileW(Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
}

void Remove(const std::u16string& folder, const std::u16string& pattern) {
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(Wide(folder + u"\\" + pattern), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        DeleteFileW(Wide(folder + u"\\" + FromWide(found.cFileName)));
    } while (FindNextFileW(find, &found));
    FindClose(find);
}

TEST(WinMediaPerf, DISABLED_LargeLibrary) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::u16string root = FromWide(temp) + u"orvane-media-perf";
    const std::u16string pics = root + u"\\pictures";
    const std::u16string vids = root + u"\\videos";
    const std::u16string thumb = vids + u"\\thumb";
    for (const std::u16string& f : {root, pics, vids, thumb}) CreateDirectoryW(Wide(f), nullptr);
    for (int i = 0; i < 10000; ++i) Touch(pics + u"\\" + CaptureNameOfStep(i * 7) + u".JPG");
    for (int i = 0; i < 1000; ++i) {
        Touch(vids + u"\\" + CaptureNameOfStep(i * 70 + 3) + u".AVI");
        Touch(thumb + u"\\" + CaptureNameOfStep(i * 70 + 3) + u".BMP");
    }

    WinMediaFiles files;
    WinAviLibrary avi;
    NullStrip strip;
    MediaBrowser browser(files, avi, strip);
    browser.SetFolders({pics, vids, thumb});
    browser.SetLayout(16, 16);
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        const auto start = std::chrono::steady_clock::now();
        browser.RebuildMediaLists();
        const auto mid = std::chrono::steady_clock::now();
        browser.ShowDisplayList(MediaView::Picture);
        const auto end = std::chrono::steady_clock::now();
        std::printf("rebuild %.1f ms, show %.1f ms\n",
                    std::chrono::duration<double, std::milli>(mid - start).count(),
                    std::chrono::duration<double, std::milli>(end - mid).count());
        best = std::min(best, std::chrono::duration<double, std::milli>(end - start).count());
        ASSERT_EQ(browser.display().size(), 11000u);
    }
    std::printf("rebuild + show, 10000 pictures and 1000 clips: best of 5 %.1f ms\n", best);
    Remove(pics, u"*");
    Remove(vids, u"*");
    Remove(thumb, u"*");
    for (const std::u16string& f : {thumb, vids, pics, root}) RemoveDirectoryW(Wide(f));
    EXPECT_LT(best, 150.0);
}

}  // namespace
}  // namespace orvane
