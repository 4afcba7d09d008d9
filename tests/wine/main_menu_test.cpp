// The main window's popups as the user sees them: drawn by the program, opened below their
// buttons.
#include <gtest/gtest.h>

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
    // 8 items of 22 pixels and 3 separators of 3, inside the popup's 3-pixel border.
    constexpr int kBorder = 3;
    EXPECT_EQ(client.bottom, 8 * 22 + 3 * 3 + 2 * kBorder);

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

}  // namespace
}  // namespace orvane::test
