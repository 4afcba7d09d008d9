// Pictures of the program's windows for the documentation: run with ORVANE_SCREENSHOT_DIR set
// to a Windows path (for example Z:\tmp\shots); skipped otherwise.
#include <gtest/gtest.h>

#include "orvane_process.h"
#include "registry_reader.h"

namespace orvane::test {
namespace {

HWND WaitForWindowWith(OrvaneProcess& orvane, int controlId) {
    for (int i = 0; i < 500; ++i) {
        for (HWND hwnd : orvane.TopLevelWindows()) {
            if (IsWindowVisible(hwnd) && GetDlgItem(hwnd, controlId)) return hwnd;
        }
        SleepMs(10);
    }
    return nullptr;
}

TEST(Screenshots, MainWindowAboutBoxAndLanguageChooser) {
    wchar_t dir[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"ORVANE_SCREENSHOT_DIR", dir, MAX_PATH)) GTEST_SKIP();
    const std::wstring folder = dir;
    NoCamera noCamera;
    ResetOrvaneState();
    OrvaneProcess orvane;
    ASSERT_TRUE(orvane.Start());
    HWND main = orvane.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    if (HWND notice = orvane.WaitForBox(L"Orvane", 3000)) {
        SaveWindowImage(main, folder + L"\\main-window-no-camera.bmp");
        PostMessageW(notice, WM_COMMAND, IDOK, 0);
    }
    SleepMs(500);

    PostMessageW(main, WM_COMMAND, 32802, 0);
    HWND about = WaitForWindowWith(orvane, 1071);
    ASSERT_NE(about, nullptr);
    SleepMs(500);
    EXPECT_TRUE(SaveWindowImage(about, folder + L"\\about-box.bmp"));
    PostMessageW(about, WM_COMMAND, IDOK, 0);
    SleepMs(500);

    PostMessageW(main, WM_COMMAND, 32966, 0);
    HWND chooser = WaitForWindowWith(orvane, 503);
    ASSERT_NE(chooser, nullptr);
    SleepMs(500);
    EXPECT_TRUE(SaveWindowImage(chooser, folder + L"\\language-chooser.bmp"));
    PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
    SleepMs(300);
    PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(orvane.WaitForExit(10000));
    ResetOrvaneState();
}

}  // namespace
}  // namespace orvane::test
