// The windows over the live picture in the real program: the crossing cursor and the date and
// time, and how they follow the main window.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "orvane_process.h"
#include "screen_picture.h"

namespace orvane::test {
namespace {

constexpr UINT kCrossButton = 1028;
constexpr UINT kDateTimeCommand = 32784;
constexpr uint32_t kMagenta = 0xFF00FF;

class Overlays : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetOrvaneState();
        ASSERT_TRUE(VirtualCameraRegistered()) << "the virtual camera is not registered";
        ASSERT_TRUE(program_.Start());
        main_ = program_.WaitForMainWindow();
        ASSERT_NE(main_, nullptr);
        for (int i = 0; i < 300 && !GetDlgItem(main_, 0); ++i) SleepMs(10);
        live_ = GetDlgItem(main_, 0);
        ASSERT_NE(live_, nullptr) << "the live picture's window";
        SleepMs(500);
    }
    void TearDown() override {
        if (main_) {
            PostMessageW(main_, WM_COMMAND, IDCANCEL, 0);
            program_.WaitForExit(15000);
        }
        ResetOrvaneState();
    }
    // The program's visible top-level window, other than the main window, that never activates.
    HWND Overlay(bool withEdit) const {
        for (HWND w : program_.TopLevelWindows()) {
            if (w == main_ || !IsWindowVisible(w)) continue;
            if (!(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_NOACTIVATE)) continue;
            if ((GetDlgItem(w, 1048) != nullptr) == withEdit) return w;
        }
        return nullptr;
    }
    void Toggle(UINT id) {
        PostMessageW(main_, WM_COMMAND, id, 0);
        SleepMs(300);
    }
    OrvaneProcess program_;
    HWND main_ = nullptr;
    HWND live_ = nullptr;
};

TEST_F(Overlays, TheCrossMarksTheMiddleRowAndColumnOfTheLivePicture) {
    EXPECT_EQ(Overlay(false), nullptr) << "no cross before it is asked for";
    struct Case {
        int width, height, row, column;
    };
    for (const Case c : {Case{640, 480, 239, 319}, Case{641, 481, 240, 320}}) {
        SCOPED_TRACE(c.width);
        SetWindowPos(live_, nullptr, 0, 0, c.width, c.height, SWP_NOMOVE | SWP_NOZORDER);
        Toggle(kCrossButton);  // on (placed over the live window as it is now)
        HWND cross = Overlay(false);
        ASSERT_NE(cross, nullptr) << "the cross is shown";
        RECT r;
        GetWindowRect(live_, &r);
        SleepMs(300);
        const ScreenPicture p = CaptureScreen(r);
        ASSERT_EQ(p.width, c.width);
        for (int x : {5, c.width / 4, c.width - 6}) {
            EXPECT_EQ(p.At(x, c.row), kMagenta) << "row at x " << x;
            EXPECT_NE(p.At(x, c.row - 1), kMagenta);
            EXPECT_NE(p.At(x, c.row + 1), kMagenta);
        }
        for (int y : {5, c.height / 4, c.height - 6}) {
            EXPECT_EQ(p.At(c.column, y), kMagenta) << "column at y " << y;
            EXPECT_NE(p.At(c.column - 1, y), kMagenta);
            EXPECT_NE(p.At(c.column + 1, y), kMagenta);
        }
        Toggle(kCrossButton);  // off
        EXPECT_EQ(Overlay(false), nullptr) << "toggled twice: hidden again";
    }
}

TEST_F(Overlays, ClickingTheCrossLeavesTheFocusWithTheMainWindow) {
    Toggle(kCrossButton);
    ASSERT_NE(Overlay(false), nullptr);
    SetForegroundWindow(main_);
    SleepMs(200);
    RECT r;
    GetWindowRect(live_, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2 + 1);
    INPUT click[2] = {};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, click, sizeof(INPUT));
    SleepMs(300);
    EXPECT_EQ(GetForegroundWindow(), main_);
}

TEST_F(Overlays, TheDateAndTimeStripSitsAtTheBottomLeftAndFollowsTheWindow) {
    Toggle(kDateTimeCommand);
    HWND strip = Overlay(true);
    ASSERT_NE(strip, nullptr);
    RECT live, r;
    GetWindowRect(live_, &live);
    GetWindowRect(strip, &r);
    EXPECT_EQ(r.right - r.left, 114);
    EXPECT_EQ(r.left, live.left);
    EXPECT_EQ(r.bottom, live.bottom);
    SleepMs(1300);
    // Another process's edit text comes by message, not from the window's caption.
    wchar_t buffer[64] = {};
    SendMessageW(GetDlgItem(strip, 1048), WM_GETTEXT, 64, reinterpret_cast<LPARAM>(buffer));
    const std::wstring text = buffer;
    SYSTEMTIME now;
    GetLocalTime(&now);
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    ASSERT_EQ(swscanf(text.c_str(), L"%4d-%2d-%2d %2d:%2d:%2d", &y, &mo, &d, &h, &mi, &s), 6)
        << "the local time: " << std::string(text.begin(), text.end());
    EXPECT_EQ(text.size(), 19u) << "zero-padded fields";
    EXPECT_EQ(y, now.wYear);
    EXPECT_EQ(mo, now.wMonth);
    EXPECT_EQ(d, now.wDay);

    // Moving the main window takes the strip and the cross along with the live picture.
    Toggle(kCrossButton);
    RECT window;
    GetWindowRect(main_, &window);
    SetWindowPos(main_, nullptr, window.left - 40, window.top - 30, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SleepMs(500);
    GetWindowRect(live_, &live);
    GetWindowRect(strip, &r);
    EXPECT_EQ(r.left, live.left);
    EXPECT_EQ(r.bottom, live.bottom);
    HWND cross = Overlay(false);
    ASSERT_NE(cross, nullptr);
    GetWindowRect(cross, &r);
    EXPECT_EQ(r.left, live.left);
    EXPECT_EQ(r.top, live.top);

    Toggle(kDateTimeCommand);
    EXPECT_FALSE(IsWindowVisible(strip)) << "turned off: the strip is gone";
    EXPECT_EQ(Overlay(true), nullptr);
}

}  // namespace
}  // namespace orvane::test
