// A strip cell hosted in the test: what it posts for presses by the tick count, for the Open
// call, and for the mouse entering, moving in and leaving it.
#include <gtest/gtest.h>

#include <algorithm>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "media/win/picture_view.h"
#include "media/win/win_media_files.h"
#include "platform/gdiplus_session.h"
#include "platform/wide.h"

namespace orvane {
namespace {

DWORD g_now = 0;
DWORD FakeTicks() {
    return g_now;
}

std::wstring WriteSmallBmp() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"OrvaneCellTest";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring path = folder + L"\\TX0000001.BMP";
    const int w = 8, h = 8;
    std::vector<uint8_t> bytes(54 + w * h * 3, 0x80);
    std::fill(bytes.begin(), bytes.begin() + 54, 0);  // headers: fields not set are 0
    const uint32_t size = static_cast<uint32_t>(bytes.size()), offset = 54, info = 40;
    const uint16_t planes = 1, bits = 24;
    memcpy(&bytes[0], "BM", 2);
    memcpy(&bytes[2], &size, 4);
    memcpy(&bytes[10], &offset, 4);
    memcpy(&bytes[14], &info, 4);
    memcpy(&bytes[18], &w, 4);
    memcpy(&bytes[22], &h, 4);
    memcpy(&bytes[26], &planes, 2);
    memcpy(&bytes[28], &bits, 2);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), size, &written, nullptr);
    CloseHandle(file);
    return path;
}

class Cell : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(gdiplus_.Ok());
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"CellTestOwner";
        RegisterClassW(&wc);
        owner_ = CreateWindowW(L"CellTestOwner", L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                               nullptr, wc.hInstance, nullptr);
        ASSERT_NE(owner_, nullptr);
        shared_.instance = wc.hInstance;
        shared_.files = &files_;
        shared_.clock = &clock_;
        ASSERT_TRUE(cell_.Create(owner_, 8192, {10, 10, 128, 130}, false, &shared_));
        path_ = FromWide(WriteSmallBmp());
        ASSERT_TRUE(cell_.SetItem(&path_)) << "the picture loads";
        CPictureView::SetTickSource(FakeTicks);
        Posted();  // drop whatever the window's creation left
    }
    void TearDown() override {
        CPictureView::SetTickSource(nullptr);
        DestroyWindow(owner_);
    }
    // lParams of the messages of this kind the cell posted, oldest first.
    std::vector<uint32_t> Posted(UINT kind = WM_THUMB_CLICK) {
        std::vector<uint32_t> found;
        MSG msg;
        while (PeekMessageW(&msg, owner_, kind, kind, PM_REMOVE)) {
            EXPECT_EQ(reinterpret_cast<HWND>(msg.wParam), cell_.Hwnd());
            found.push_back(static_cast<uint32_t>(msg.lParam));
        }
        return found;
    }
    void Press(DWORD at, int x = 5, int y = 5, WPARAM keys = MK_LBUTTON) {
        g_now = at;
        SendMessageW(cell_.Hwnd(), WM_LBUTTONDOWN, keys, MAKELPARAM(x, y));
    }
    const GdiplusSession gdiplus_;
    HWND owner_ = nullptr;
    WinMediaFiles files_;
    WinMediaClock clock_;
    CellShared shared_;
    CPictureView cell_;
    std::u16string path_;
};

TEST_F(Cell, PressesUpTo700MsApartOpenThePictureAnd701MsApartDoNot) {
    Press(1000);
    Press(1700);  // 700 ms: the second of a double click
    Press(3000);  // after a double click the next press is single again
    Press(3701, 5, 5, MK_LBUTTON | MK_CONTROL);  // 701 ms: single, with its key flags
    EXPECT_EQ(Posted(), (std::vector<uint32_t>{MK_LBUTTON, 0xFFFF0000u, MK_LBUTTON, MK_LBUTTON,
                                               MK_LBUTTON | MK_CONTROL}));
    // The Open command presses at (-1, -1): open at once, whatever the time.
    Press(90000, -1, -1);
    EXPECT_EQ(Posted(), (std::vector<uint32_t>{0xFFFF0000u, MK_LBUTTON}));
}

TEST_F(Cell, FocusAndMovesReportEnterQuadrantsAndLeave) {
    SendMessageW(cell_.Hwnd(), WM_SETFOCUS, 0, 0);
    SendMessageW(cell_.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(100, 10));  // right half, top
    SendMessageW(cell_.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 100));  // left half, bottom
    SendMessageW(cell_.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(200, 10));  // outside
    EXPECT_EQ(Posted(WM_THUMB_HOVER),
              (std::vector<uint32_t>{0x10000000u, 0x40000001u, 0x40000002u, 0x80000000u}));
    EXPECT_NE(GetCapture(), cell_.Hwnd()) << "leaving releases the mouse";
}

TEST_F(Cell, TheSamePathAgainDoesNoWorkAndNoPathEmptiesTheCell) {
    // The file is gone: a cell that loaded it again would lose its picture and its path.
    ASSERT_TRUE(DeleteFileW(ToWide(path_).c_str()));
    EXPECT_TRUE(cell_.SetItem(&path_));
    EXPECT_TRUE(cell_.HasImage());
    EXPECT_EQ(cell_.Path(), path_);
    EXPECT_TRUE(cell_.SetItem(nullptr));
    EXPECT_TRUE(cell_.Path().empty());
    EXPECT_FALSE(cell_.HasImage());
    EXPECT_FALSE(cell_.SetItem(&path_)) << "a picture that cannot be loaded is not shown";
    EXPECT_EQ(cell_.Path(), path_) << "but kept, to be selected, opened or deleted on its own";
}

}  // namespace
}  // namespace orvane
