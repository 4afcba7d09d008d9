// The main window's popups as the user sees them: drawn by the program, opened below their
// buttons.
#include <gtest/gtest.h>

#include <algorithm>

#include "orvane_process.h"
#include "screen_picture.h"

namespace orvane::test {
namespace {

constexpr UINT kFileButton = 1005;

HWND OpenPopupMenu() {
    for (int i = 0; i < 100; ++i) {
        HWND menu = FindWindowW(L"#32768", nullptr);
        if (menu && IsWindowVisible(menu)) return menu;
        SleepMs(20);
    }
    return nullptr;
}

uint32_t Grey(uint32_t v) {
    return v << 16 | v << 8 | v;
}

TEST(MainMenu, TheFilePopupOpensBelowItsButtonAndDrawsExitWithTheGradientWhenHovered) {
    ResetOrvaneState();
    NoCamera noCamera;
    OrvaneProcess program;
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    if (HWND notice = program.WaitForBox(L"Orvane", 3000))
        PostMessageW(notice, WM_COMMAND, IDOK, 0);
    SleepMs(300);
    SetForegroundWindow(main);
    PostMessageW(main, WM_COMMAND, kFileButton, 0);
    HWND menu = OpenPopupMenu();
    ASSERT_NE(menu, nullptr) << "the File popup opens";
    RECT button, popup, client;
    GetWindowRect(GetDlgItem(main, kFileButton), &button);
    GetWindowRect(menu, &popup);
    GetClientRect(menu, &client);
    EXPECT_EQ(popup.left, button.left);
    EXPECT_EQ(popup.top, button.bottom);
    // 9 items of 22 pixels and 3 separators of 3, inside the popup's 3-pixel border.
    constexpr int kBorder = 3;
    EXPECT_EQ(client.bottom, 9 * 22 + 3 * 3 + 2 * kBorder);

    POINT exitItem{client.right / 2, client.bottom - kBorder - 11};
    ClientToScreen(menu, &exitItem);
    SetCursorPos(exitItem.x, exitItem.y - 1);
    SetCursorPos(exitItem.x, exitItem.y);
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &move, sizeof move);
    SleepMs(400);
    POINT origin{0, 0};
    ClientToScreen(menu, &origin);
    const int top = origin.y + client.bottom - kBorder - 22;
    const ScreenPicture p = CaptureScreen({origin.x + kBorder, top, origin.x + 40, top + 22});
    ASSERT_EQ(p.height, 22);
    EXPECT_EQ(p.At(20, 0), 0u) << "the frame";
    EXPECT_EQ(p.At(0, 10), 0u);
    EXPECT_EQ(p.At(20, 21), 0u);
    for (int d = 0; d < 20; ++d) EXPECT_EQ(p.At(20, 1 + d), Grey(127 + 6 * d)) << "row " << d;

    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    SleepMs(200);
    PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(program.WaitForExit(15000));
    ResetOrvaneState();
}

// A real click on a menu button: the first opens its popup, the second (on the same button,
// with the popup open) only closes it, the third opens it again. The Capture popup marks the
// video item while recording. Screenshots of the popups when a folder for them is named.
void ClickAt(POINT p) {
    SetCursorPos(p.x, p.y);
    INPUT click[2]{};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, click, sizeof(INPUT));
}

POINT CentreOf(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

HWND VisiblePopupNow() {
    HWND menu = FindWindowW(L"#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

TEST(MainMenu, ASecondClickOnTheOpenButtonClosesItsPopupAndCaptureMarksTheRecording) {
    ResetOrvaneState();
    OrvaneProcess program;
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_NE(WaitForLivePicture(main), nullptr) << "the camera opens";
    SetForegroundWindow(main);
    const POINT setting = CentreOf(GetDlgItem(main, 1006));
    ClickAt(setting);
    EXPECT_NE(OpenPopupMenu(), nullptr) << "the first click opens Setting";
    SleepMs(300);
    ClickAt(setting);
    SleepMs(600);
    EXPECT_EQ(VisiblePopupNow(), nullptr) << "the second click only closes it";
    ClickAt(setting);
    EXPECT_NE(OpenPopupMenu(), nullptr) << "the third opens it again";
    SleepMs(300);
    wchar_t shots[MAX_PATH] = {};
    const bool shooting = GetEnvironmentVariableW(L"ORVANE_SCREENSHOT_DIR", shots, MAX_PATH) != 0;
    RECT window;
    GetWindowRect(main, &window);
    // The popups on screen (a submenu too) with the top-left of the window around them.
    auto shoot = [&](const wchar_t* name) {
        if (!shooting) return;
        RECT area{window.left, window.top, window.left, window.top};
        for (HWND w = FindWindowW(L"#32768", nullptr); w;
             w = FindWindowExW(nullptr, w, L"#32768", nullptr)) {
            RECT m;
            if (!IsWindowVisible(w) || !GetWindowRect(w, &m)) continue;
            area.right = std::max(area.right, m.right + 40);
            area.bottom = std::max(area.bottom, m.bottom + 40);
        }
        SaveScreenArea(area, std::wstring(shots) + L"\\" + name);
    };
    if (shooting) {
        PostMessageW(OpenPopupMenu(), WM_KEYDOWN, VK_DOWN, 0);  // "Resolution" and its submenu
        SleepMs(200);
        PostMessageW(OpenPopupMenu(), WM_KEYDOWN, VK_RIGHT, 0);
        SleepMs(500);
    }
    shoot(L"main-menu-setting.bmp");
    PostMessageW(OpenPopupMenu(), WM_KEYDOWN, VK_ESCAPE, 0);
    SleepMs(200);
    PostMessageW(OpenPopupMenu(), WM_KEYDOWN, VK_ESCAPE, 0);
    SleepMs(300);

    // The Capture popup before and while recording: the row of "Video F8" changes.
    const POINT capture = CentreOf(GetDlgItem(main, 1007));
    auto videoRow = [&] {
        ClickAt(capture);
        HWND menu = OpenPopupMenu();
        ScreenPicture row{};
        if (menu) {
            POINT origin{0, 0};
            ClientToScreen(menu, &origin);
            row =
                CaptureScreen({origin.x + 3, origin.y + 3 + 22, origin.x + 30, origin.y + 3 + 44});
        }
        return row;
    };
    const ScreenPicture idle = videoRow();
    PostMessageW(OpenPopupMenu(), WM_KEYDOWN, VK_ESCAPE, 0);
    SleepMs(300);
    PostMessageW(main, WM_COMMAND, 32799, 0);  // record
    SleepMs(1500);
    const ScreenPicture recording = videoRow();
    shoot(L"main-menu-capture.bmp");
    ASSERT_EQ(idle.pixels.size(), recording.pixels.size());
    ASSERT_FALSE(idle.pixels.empty());
    size_t changed = 0;
    for (size_t i = 0; i < idle.pixels.size(); ++i)
        changed += idle.pixels[i] != recording.pixels[i];
    EXPECT_GT(changed, 20u) << "the video item is checked while recording";
    PostMessageW(OpenPopupMenu(), WM_KEYDOWN, VK_ESCAPE, 0);
    SleepMs(300);
    PostMessageW(main, WM_COMMAND, 32799, 0);
    SleepMs(2000);
    if (shooting) {
        ClickAt(CentreOf(GetDlgItem(main, 1008)));
        shoot(L"main-menu-help.bmp");
        if (HWND menu = OpenPopupMenu()) PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        SleepMs(300);
    }
    PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(program.WaitForExit(15000));
    ResetOrvaneState();
}

}  // namespace
}  // namespace orvane::test
