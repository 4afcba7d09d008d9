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

// The main window with the live picture and a strip of photos the camera took, in English,
// German and Japanese, and its File popup open.
TEST(Screenshots, LivePictureWithAFullStripInThreeLanguagesAndAnOpenMenu) {
    wchar_t dir[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"ORVANE_SCREENSHOT_DIR", dir, MAX_PATH)) GTEST_SKIP();
    const std::wstring folder = dir;
    ResetOrvaneState();
    struct Shot {
        DWORD language;
        const wchar_t* name;
    };
    bool first = true;
    for (const Shot shot : {Shot{503, L"en"}, Shot{505, L"de"}, Shot{512, L"ja"}}) {
        PutDword(L"Language", shot.language);
        PutDword(L"bShowCross", 1);
        PutDword(L"bDisplayDateTime", 1);
        OrvaneProcess orvane;
        ASSERT_TRUE(orvane.Start());
        HWND main = orvane.WaitForMainWindow();
        ASSERT_NE(main, nullptr);
        SleepMs(3000);
        if (first) {
            for (int i = 0; i < 16; ++i) {
                PostMessageW(main, WM_COMMAND, 32798, 0);
                SleepMs(700);
            }
            first = false;
        }
        SleepMs(1500);
        SaveWindowImage(main, folder + L"\\main-window-strip-" + shot.name + L".bmp");
        if (shot.language == 503) {
            SetForegroundWindow(main);
            PostMessageW(main, WM_COMMAND, 1005, 0);
            SleepMs(800);
            RECT r;
            GetWindowRect(main, &r);
            HWND menu = FindWindowW(L"#32768", nullptr);
            if (menu) {
                RECT m;
                GetWindowRect(menu, &m);
                SetCursorPos(m.left + 100, m.bottom - 14);
                SleepMs(500);
                // The popup with the top-left of the window around it.
                const RECT area{r.left, r.top, m.right + 40, m.bottom + 40};
                SaveScreenArea(area, folder + L"\\main-menu-file.bmp");
                PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
                SleepMs(300);
            }
        }
        PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(orvane.WaitForExit(15000));
    }
    ResetOrvaneState();
}

}  // namespace
}  // namespace orvane::test
