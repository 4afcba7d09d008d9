// The main window around the editor and the strip in the real program with the virtual camera:
// buttons clicked twice quickly, a live picture built while the editor is open, the overlays
// and cells after the editor, the layout's live window, and the hover preview's texts.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "capture_files.h"
#include "media/companion_paths.h"
#include "media/media_info.h"
#include "orvane_process.h"
#include "registry_reader.h"
#include "screen_picture.h"
#include "test_pictures.h"
#include "user_input.h"

namespace orvane::test {
namespace {

constexpr int kFirstCell = 8192;
constexpr int kPreviewCell = 8448;
constexpr int kEditorFrame = 505;
constexpr int kEditorClose = 506;
constexpr int kCrossButton = 1028;
constexpr int kTimeButton = 1023;
constexpr WPARAM kSelectLanguage = 32966;

std::wstring PictureFolder() {
    return DocumentsFolder() + L"\\Orvane\\pictures";
}

class MainWindowModes : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetOrvaneState();
        ASSERT_TRUE(VirtualCameraRegistered()) << "the virtual camera is not registered";
        CreateDirectoryW((DocumentsFolder() + L"\\Orvane").c_str(), nullptr);
        CreateDirectoryW(PictureFolder().c_str(), nullptr);
        CreateDirectoryW((PictureFolder() + L"\\Info").c_str(), nullptr);
    }
    void TearDown() override {
        if (main_ && program_.Running()) {
            PostMessageW(main_, WM_COMMAND, IDCANCEL, 0);
            program_.WaitForExit(15000);
        }
        ResetOrvaneState();
    }
    void Seed(int count) {
        for (int n = 1; n <= count; ++n) {
            ASSERT_TRUE(WriteFileBytes(PictureFolder() + L"\\" + CaptureFileName(n),
                                       SolidBmp(640, 480, 200, 200, 200)));
        }
    }
    void Launch() {
        ASSERT_TRUE(program_.Start());
        main_ = program_.WaitForMainWindow();
        ASSERT_NE(main_, nullptr);
        ASSERT_TRUE(BringToFront(main_));
    }
    HWND Cell(int k) const {
        return GetDlgItem(main_, kFirstCell + ((k - 1) % 2) * 8 + (k - 1) / 2);
    }
    HWND Editor() const {
        for (HWND child = GetWindow(main_, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (GetDlgItem(child, kEditorFrame) && IsWindowVisible(child)) return child;
        }
        return nullptr;
    }
    HWND WaitForEditor(bool open) const {
        for (int i = 0; i < 100 && (Editor() != nullptr) != open; ++i) SleepMs(100);
        return Editor();
    }
    // The program's visible non-activating popup: the cross, or the date/time strip.
    HWND Overlay(bool dateTime) const {
        for (HWND w : program_.TopLevelWindows()) {
            if (w == main_ || !IsWindowVisible(w)) continue;
            if (!(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_NOACTIVATE)) continue;
            if ((GetDlgItem(w, 1048) != nullptr) == dateTime) return w;
        }
        return nullptr;
    }
    OrvaneProcess program_;
    HWND main_ = nullptr;
};

// Each click of a button is one command: a double click is two, never three.
TEST_F(MainWindowModes, AQuickDoubleClickOnAButtonRunsItsCommandTwice) {
    Launch();
    ASSERT_NE(WaitForLivePicture(main_), nullptr);
    const bool crossShown = Overlay(false) != nullptr;
    const bool timeShown = Overlay(true) != nullptr;
    DoubleClickAt(CentreOf(GetDlgItem(main_, kCrossButton)));
    SleepMs(600);
    EXPECT_EQ(Overlay(false) != nullptr, crossShown) << "two toggles of the cross";
    DoubleClickAt(CentreOf(GetDlgItem(main_, kTimeButton)));
    SleepMs(600);
    EXPECT_EQ(Overlay(true) != nullptr, timeShown) << "two toggles of the date and time";
    ClickAt(CentreOf(GetDlgItem(main_, kTimeButton)));
    SleepMs(600);
    EXPECT_NE(Overlay(true) != nullptr, timeShown) << "one click, one toggle";
    // What the button reports besides its clicks is no command.
    for (UINT code : {BN_DOUBLECLICKED, BN_SETFOCUS, BN_KILLFOCUS}) {
        PostMessageW(main_, WM_COMMAND, MAKEWPARAM(kTimeButton, code),
                     reinterpret_cast<LPARAM>(GetDlgItem(main_, kTimeButton)));
    }
    SleepMs(600);
    EXPECT_NE(Overlay(true) != nullptr, timeShown) << "no toggle but by a click";
}

// A double click whose second press the window thread takes up late, as when it is busy
// (building the camera's graph, decoding a picture): the presses were 150 ms apart, so the
// picture opens however long the thread took.
TEST_F(MainWindowModes, ADoubleClickOnACellCountsWhenThePressesWereMadeNotWhenHandled) {
    Seed(2);
    Launch();
    for (int i = 0; i < 50 && !IsWindowVisible(Cell(1)); ++i) SleepMs(20);
    SleepMs(500);  // settled, so that the first press is handled at once
    // Two presses 900 ms apart are two clicks.
    ClickAt(CentreOf(Cell(2)));
    SleepMs(900);
    ClickAt(CentreOf(Cell(2)));
    SleepMs(1500);
    EXPECT_EQ(Editor(), nullptr) << "two slow clicks open nothing";
    const POINT centre = CentreOf(Cell(1));
    ClickAt(centre);
    SleepMs(150);
    // The window thread stops before the second press and goes on a second later.
    const DWORD thread = GetWindowThreadProcessId(main_, nullptr);
    HANDLE handle = OpenThread(THREAD_SUSPEND_RESUME, FALSE, thread);
    ASSERT_NE(handle, nullptr);
    ASSERT_NE(SuspendThread(handle), static_cast<DWORD>(-1));
    ClickAt(centre);
    SleepMs(1000);
    ResumeThread(handle);
    CloseHandle(handle);
    EXPECT_NE(WaitForEditor(true), nullptr) << "the double click opens the picture";
}

// A user who opens a picture before the camera's first poll: the live picture built meanwhile
// stays under the editor, the canvas takes the clicks, and everything returns after it.
TEST_F(MainWindowModes, ALivePictureBuiltUnderTheEditorStaysHiddenUntilItCloses) {
    Seed(3);
    PutDword(L"bDisplayDateTime", 1);
    Launch();
    for (int i = 0; i < 50 && !IsWindowVisible(Cell(1)); ++i) SleepMs(20);
    DoubleClickAt(CentreOf(Cell(1)));
    HWND editor = WaitForEditor(true);
    ASSERT_NE(editor, nullptr);
    HWND live = WaitForLivePicture(main_);
    ASSERT_NE(live, nullptr) << "the camera's graph was built meanwhile";
    SleepMs(1500);
    EXPECT_FALSE(IsWindowVisible(live)) << "the live picture stays under the editor";
    EXPECT_EQ(Overlay(true), nullptr) << "the date/time strip hides in editor mode";
    for (int k = 1; k <= 3; ++k) EXPECT_FALSE(IsWindowVisible(Cell(k)));

    // The canvas gets the clicks: a line drawn with the mouse shows on it.
    HWND canvas = GetWindow(GetDlgItem(editor, kEditorFrame), GW_CHILD);
    PostMessageW(editor, WM_COMMAND, 32803, 0);
    SleepMs(200);
    ClickAt(ClientPoint(canvas, 40, 100));
    MoveMouseTo(ClientPoint(canvas, 240, 100));
    ClickAt(ClientPoint(canvas, 240, 100));
    // The canvas repaints when it gets to it: wait for the line on a loaded machine.
    auto darkest = [&] {
        const ScreenPicture line =
            CaptureScreen({ClientPoint(canvas, 140, 94).x, ClientPoint(canvas, 140, 94).y,
                           ClientPoint(canvas, 141, 106).x, ClientPoint(canvas, 141, 106).y});
        int d = 255;
        for (uint32_t px : line.pixels) d = std::min(d, static_cast<int>(px & 0xFF));
        return line.pixels.empty() ? 255 : d;
    };
    for (int i = 0; i < 30 && darkest() >= 60; ++i) SleepMs(100);
    EXPECT_LT(darkest(), 60) << "the line is on the canvas";
    EXPECT_FALSE(IsWindowVisible(live)) << "still under the editor";

    PostMessageW(editor, WM_COMMAND, kEditorClose, 0);
    if (HWND prompt = program_.WaitForBox(L"Orvane picture editor", 5000)) {
        PostMessageW(prompt, WM_COMMAND, 7, 0);  // No
    }
    ASSERT_EQ(WaitForEditor(false), nullptr);
    for (int i = 0; i < 30 && (!IsWindowVisible(live) || !Overlay(true)); ++i) SleepMs(100);
    EXPECT_TRUE(IsWindowVisible(live)) << "the live picture returns";
    EXPECT_NE(Overlay(true), nullptr) << "and the date/time strip";
    // Each cell to its own visibility: three pictures, the other cells stay empty and hidden.
    for (int k = 1; k <= 3; ++k) EXPECT_TRUE(IsWindowVisible(Cell(k))) << "cell " << k;
    for (int k = 4; k <= 16; ++k) {
        if (Cell(k)) {
            EXPECT_FALSE(IsWindowVisible(Cell(k))) << "empty cell " << k;
        }
    }
}

// The live picture's window is laid out with the others: a layout rebuild (a language change)
// puts it back on the preview rectangle.
TEST_F(MainWindowModes, TheLayoutMovesTheLivePicture) {
    Launch();
    HWND live = WaitForLivePicture(main_);
    ASSERT_NE(live, nullptr);
    RECT placed;
    GetWindowRect(live, &placed);
    SetWindowPos(live, nullptr, 0, 0, 200, 150, SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageW(main_, WM_COMMAND, kSelectLanguage, 0);
    HWND chooser = nullptr;
    for (int i = 0; i < 100 && !chooser; ++i) {
        for (HWND w : program_.TopLevelWindows()) {
            if (IsWindowVisible(w) && GetDlgItem(w, 505)) chooser = w;
        }
        SleepMs(50);
    }
    ASSERT_NE(chooser, nullptr);
    ClickAt(CentreOf(GetDlgItem(chooser, 505)));  // German
    for (int i = 0; i < 100 && IsWindow(chooser) && IsWindowVisible(chooser); ++i) SleepMs(50);
    SleepMs(800);
    RECT now;
    GetWindowRect(live, &now);
    EXPECT_EQ(now.left, placed.left);
    EXPECT_EQ(now.top, placed.top);
    EXPECT_EQ(now.right, placed.right);
    EXPECT_EQ(now.bottom, placed.bottom);
}

// The preview writes the hovered file's own name; a cell whose picture cannot be shown leaves
// nothing of the file hovered before it.
TEST_F(MainWindowModes, TheHoverPreviewWritesOnlyTheHoveredFilesTexts) {
    ASSERT_TRUE(WriteFileBytes(PictureFolder() + L"\\" + CaptureFileName(1),
                               SolidBmp(640, 480, 10, 10, 10)));
    std::vector<uint8_t> damaged(4000, 0x5A);  // no picture format at all
    ASSERT_TRUE(WriteFileBytes(PictureFolder() + L"\\" + CaptureFileName(2), damaged));
    Launch();
    ASSERT_NE(WaitForLivePicture(main_), nullptr);
    HWND preview = GetDlgItem(main_, kPreviewCell);
    ASSERT_NE(preview, nullptr);
    // The name at the bottom middle, in white (the pointer in the cell's upper right quarter).
    auto nameArea = [&](int k) {
        RECT cell;
        GetWindowRect(Cell(k), &cell);
        MoveMouseTo({cell.right - 10, cell.top + 10});
        for (int i = 0; i < 30 && !IsWindowVisible(preview); ++i) SleepMs(50);
        SleepMs(400);
        RECT r;
        GetClientRect(preview, &r);
        MapWindowPoints(preview, nullptr, reinterpret_cast<POINT*>(&r), 2);
        const int middle = (r.left + r.right) / 2;
        return CaptureScreen({middle - 60, r.bottom - 22, middle + 60, r.bottom - 4});
    };
    // Smoothed letters: bright in every channel.
    auto letters = [](const ScreenPicture& p) {
        std::vector<bool> mask;
        for (uint32_t px : p.pixels) {
            mask.push_back((px & 0xFF) > 0xA0 && (px >> 8 & 0xFF) > 0xA0 &&
                           (px >> 16 & 0xFF) > 0xA0);
        }
        return mask;
    };
    const std::vector<bool> first = letters(nameArea(1));
    ASSERT_GT(std::count(first.begin(), first.end(), true), 10) << "the hovered file's name";
    MoveMouseTo(CentreOf(GetDlgItem(main_, 1004)));
    SleepMs(300);
    const std::vector<bool> second = letters(nameArea(2));
    ASSERT_EQ(second.size(), first.size());
    EXPECT_NE(second, first) << "the first file's name is not written again";
}

}  // namespace
}  // namespace orvane::test
