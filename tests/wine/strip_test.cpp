// The thumbnail strip of the real program: which captures its cells show, their thumbnail
// cache, the selection marks, the hover preview and damaged files.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <cstring>
#include <string>
#include <vector>

#include <psapi.h>

#include <objidl.h>  // before gdiplus.h: the lean windows.h leaves out what it needs
#include <gdiplus.h>

#include "capture_files.h"
#include "orvane_process.h"
#include "platform/gdiplus_session.h"
#include "platform/image_codecs.h"
#include "screen_picture.h"
#include "test_pictures.h"

namespace orvane::test {
namespace {

constexpr int kFirstCell = 8192;
constexpr int kPreviewCell = 8448;

// Cell k (1..16): the left column holds the odd ones, the right column the even ones.
int CellId(int k) {
    return kFirstCell + ((k - 1) % 2) * 8 + (k - 1) / 2;
}

std::wstring PictureFolder() {
    return DocumentsFolder() + L"\\Orvane\\pictures";
}

std::wstring CaptureName(int n) {
    return CaptureFileName(n);
}

// A 64 x 48 24-bit picture of one colour.
bool WriteBmp(const std::wstring& path, uint8_t r, uint8_t g, uint8_t b) {
    return WriteFileBytes(path, SolidBmp(64, 48, r, g, b));
}

// A 1280 x 960 JPEG whose top half is red and bottom half blue (larger than the preview, so
// every view of it shrinks it).
bool WriteRedOverBlueJpeg(const std::wstring& path) {
    const GdiplusSession gdiplus;
    CLSID encoder{};
    if (!gdiplus.Ok() || !ImageEncoderFor(L"*.JPG", &encoder)) return false;
    Gdiplus::Bitmap picture(1280, 960, PixelFormat24bppRGB);
    {
        Gdiplus::Graphics g(&picture);
        Gdiplus::SolidBrush red(Gdiplus::Color(255, 255, 0, 0)),
            blue(Gdiplus::Color(255, 0, 0, 255));
        g.FillRectangle(&red, 0, 0, 1280, 480);
        g.FillRectangle(&blue, 0, 480, 1280, 480);
    }
    return picture.Save(path.c_str(), &encoder, nullptr) == Gdiplus::Ok;
}

bool Reddish(uint32_t rgb) {
    return (rgb >> 16 & 0xFF) > 200 && (rgb & 0xFF) < 60;
}
bool Bluish(uint32_t rgb) {
    return (rgb & 0xFF) > 200 && (rgb >> 16 & 0xFF) < 60;
}

// A pixel of a picture file as the platform decodes it, 0x00RRGGBB.
uint32_t FilePixel(const std::wstring& path, int x, int y) {
    const GdiplusSession gdiplus;
    Gdiplus::Bitmap picture(path.c_str());
    Gdiplus::Color colour;
    if (picture.GetLastStatus() != Gdiplus::Ok || picture.GetPixel(x, y, &colour) != Gdiplus::Ok)
        return 0xFFFFFFFF;
    return colour.GetValue() & 0xFFFFFF;
}

void MoveMouseTo(int x, int y) {
    SetCursorPos(x, y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = 0;
    input.mi.dy = 0;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
}

class Strip : public ::testing::Test {
  protected:
    void SetUp() override { ResetOrvaneState(); }
    void TearDown() override {
        if (main_) {
            PostMessageW(main_, WM_COMMAND, IDCANCEL, 0);
            program_.WaitForExit(15000);
        }
        ResetOrvaneState();
    }
    // count pictures TX0000001.BMP.. in the picture folder, each of its own colour.
    void SeedPictures(int count) {
        CreateDirectoryW((DocumentsFolder() + L"\\Orvane").c_str(), nullptr);
        CreateDirectoryW(PictureFolder().c_str(), nullptr);
        for (int n = 1; n <= count; ++n) {
            ASSERT_TRUE(WriteBmp(PictureFolder() + L"\\" + CaptureName(n),
                                 static_cast<uint8_t>(n * 12), 90,
                                 static_cast<uint8_t>(255 - n * 12)));
        }
    }
    void Launch() {
        ASSERT_TRUE(program_.Start());
        main_ = program_.WaitForMainWindow();
        ASSERT_NE(main_, nullptr);
        SleepMs(1500);
    }
    HWND Cell(int k) const { return GetDlgItem(main_, CellId(k)); }
    // The file a cell shows, by its name.
    std::wstring CellFile(int k) const {
        const std::wstring path = WindowText(Cell(k));
        return path.substr(path.rfind(L'\\') + 1);
    }
    // A pixel of the cell's background beside the picture, as the screen shows it.
    uint32_t CellBackground(int k) const {
        RECT r;
        GetWindowRect(Cell(k), &r);
        const ScreenPicture p = CaptureScreen({r.left + 6, r.top + 60, r.left + 7, r.top + 61});
        return p.pixels.empty() ? 0xFFFFFFFF : p.At(0, 0);
    }
    int VisibleCells() const {
        int shown = 0;
        for (int k = 1; k <= 16; ++k) shown += Cell(k) && IsWindowVisible(Cell(k)) ? 1 : 0;
        return shown;
    }
    OrvaneProcess program_;
    HWND main_ = nullptr;
    NoCamera noCamera_;
};

TEST_F(Strip, ShowsTheLastPageWithCachedThumbnailsAndHidesTheRest) {
    SeedPictures(20);
    Launch();
    RECT client;
    GetClientRect(main_, &client);
    const int cells = std::min(2 * static_cast<int>((client.bottom - 105) / 120), 16);
    ASSERT_GE(cells, 4);
    EXPECT_EQ(VisibleCells(), cells);
    // The last page: first = 20 - C, newest at the bottom.
    EXPECT_EQ(CellFile(1), CaptureName(20 - cells + 1));
    EXPECT_EQ(CellFile(cells), CaptureName(20));
    for (int k = 1; k <= cells; ++k) {
        const std::wstring cache = PictureFolder() + L"\\INFO\\" + CellFile(k);
        int w = 0, h = 0;
        ASSERT_TRUE(PictureSize(cache, &w, &h)) << "cache of cell " << k;
        EXPECT_EQ(w, 118);
        EXPECT_EQ(h, 120);
    }

    // Fewer pictures than cells: the cells past the last one are hidden.
    PostMessageW(main_, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(program_.WaitForExit(15000));
    for (int n = 4; n <= 20; ++n) DeleteFileW((PictureFolder() + L"\\" + CaptureName(n)).c_str());
    Launch();
    EXPECT_EQ(VisibleCells(), 3);
    EXPECT_EQ(CellFile(3), CaptureName(3));
}

TEST_F(Strip, ClicksMarkTheSelection) {
    SeedPictures(6);
    Launch();
    const uint32_t normal = CellBackground(1);
    PostMessageW(Cell(1), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    SleepMs(800);  // past the double-click time
    PostMessageW(Cell(3), WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(50, 50));
    SleepMs(300);
    const uint32_t selected = CellBackground(1);
    EXPECT_NE(selected, normal) << "the selected background differs";
    EXPECT_EQ(CellBackground(3), selected);
    EXPECT_EQ(CellBackground(2), normal);
    // Ctrl-click on a selected cell removes it; a plain click selects only its cell.
    PostMessageW(Cell(1), WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(50, 50));
    SleepMs(300);
    EXPECT_EQ(CellBackground(1), normal);
    EXPECT_EQ(CellBackground(3), selected);
    SleepMs(800);
    PostMessageW(Cell(2), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    SleepMs(300);
    EXPECT_EQ(CellBackground(3), normal);
    EXPECT_EQ(CellBackground(2), selected);
}

TEST_F(Strip, RightClickKeepsASelectionItHitsSelectsOnlyACellItMissesAndOpensTheMenu) {
    SeedPictures(6);
    Launch();
    const uint32_t normal = CellBackground(1);
    PostMessageW(Cell(1), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    PostMessageW(Cell(2), WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(50, 50));
    SleepMs(300);
    auto rightClick = [&](int k) {
        PostMessageW(Cell(k), WM_RBUTTONUP, 0, MAKELPARAM(100, 110));
        HWND menu = nullptr;
        for (int i = 0; i < 100 && !menu; ++i) {
            SleepMs(20);
            HWND found = FindWindowW(L"#32768", nullptr);
            if (found && IsWindowVisible(found)) menu = found;
        }
        EXPECT_NE(menu, nullptr) << "the context menu of cell " << k;
        if (menu) PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        SleepMs(300);
    };
    rightClick(2);
    EXPECT_NE(CellBackground(1), normal) << "a right click inside the selection keeps it";
    EXPECT_NE(CellBackground(2), normal);
    rightClick(3);
    EXPECT_EQ(CellBackground(1), normal) << "a right click outside selects only its cell";
    EXPECT_EQ(CellBackground(2), normal);
    EXPECT_NE(CellBackground(3), normal);
}

TEST_F(Strip, HoveringShowsTheLargePreviewAndLeavingHidesIt) {
    SeedPictures(4);
    Launch();
    SetForegroundWindow(main_);
    HWND preview = GetDlgItem(main_, kPreviewCell);
    ASSERT_NE(preview, nullptr);
    EXPECT_FALSE(IsWindowVisible(preview));
    RECT cell;
    GetWindowRect(Cell(2), &cell);
    MoveMouseTo(cell.left + 30, cell.top + 30);
    SleepMs(100);
    MoveMouseTo(cell.left + 40, cell.top + 40);
    for (int i = 0; i < 50 && !IsWindowVisible(preview); ++i) SleepMs(50);
    ASSERT_TRUE(IsWindowVisible(preview)) << "the preview shows while the mouse rests on a cell";
    EXPECT_EQ(WindowText(preview), WindowText(Cell(2)));
    // The picture fills the preview: its colour, scaled, at the centre.
    RECT r;
    GetWindowRect(preview, &r);
    const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    const ScreenPicture centre = CaptureScreen({cx, cy, cx + 1, cy + 1});
    ASSERT_FALSE(centre.pixels.empty());
    EXPECT_EQ(centre.At(0, 0), (24u << 16) | (90u << 8) | (255u - 24u)) << "picture 2's colour";

    MoveMouseTo(cell.right + 400, cell.top + 30);
    for (int i = 0; i < 50 && IsWindowVisible(preview); ++i) SleepMs(50);
    EXPECT_FALSE(IsWindowVisible(preview)) << "leaving the cell hides the preview";
}

// A JPEG on disk decodes into a top-down bitmap: its cell, the cache beside it and the large
// preview all show it the right way up.
TEST_F(Strip, JpegPicturesShowTheRightWayUpInCellCacheAndPreview) {
    CreateDirectoryW((DocumentsFolder() + L"\\Orvane").c_str(), nullptr);
    CreateDirectoryW(PictureFolder().c_str(), nullptr);
    const std::wstring name = L"TX0000001.JPG";
    ASSERT_TRUE(WriteRedOverBlueJpeg(PictureFolder() + L"\\" + name));
    Launch();
    SetForegroundWindow(main_);
    ASSERT_EQ(CellFile(1), name);
    RECT cell;
    GetWindowRect(Cell(1), &cell);
    // The picture box is 96 x 72 at (11, 24) of the cell.
    const ScreenPicture shown = CaptureScreen({cell.left, cell.top, cell.right, cell.bottom});
    ASSERT_FALSE(shown.pixels.empty());
    EXPECT_TRUE(Reddish(shown.At(59, 30))) << std::hex << shown.At(59, 30);
    EXPECT_TRUE(Bluish(shown.At(59, 90))) << std::hex << shown.At(59, 90);
    const std::wstring cache = PictureFolder() + L"\\INFO\\" + name;
    EXPECT_TRUE(Reddish(FilePixel(cache, 59, 10))) << "the cache is upside down";
    EXPECT_TRUE(Bluish(FilePixel(cache, 59, 110))) << "the cache is upside down";

    HWND preview = GetDlgItem(main_, kPreviewCell);
    ASSERT_NE(preview, nullptr);
    MoveMouseTo(cell.left + 30, cell.top + 30);
    SleepMs(100);
    MoveMouseTo(cell.left + 40, cell.top + 40);
    for (int i = 0; i < 50 && !IsWindowVisible(preview); ++i) SleepMs(50);
    ASSERT_TRUE(IsWindowVisible(preview)) << "the preview shows while the mouse rests on a cell";
    SleepMs(200);
    RECT r;
    GetWindowRect(preview, &r);
    const int cx = (r.left + r.right) / 2, quarter = (r.bottom - r.top) / 4;
    const ScreenPicture top = CaptureScreen({cx, r.top + quarter, cx + 1, r.top + quarter + 1});
    const ScreenPicture bottom =
        CaptureScreen({cx, r.bottom - quarter, cx + 1, r.bottom - quarter + 1});
    ASSERT_FALSE(top.pixels.empty());
    ASSERT_FALSE(bottom.pixels.empty());
    EXPECT_TRUE(Reddish(top.At(0, 0))) << "preview top " << std::hex << top.At(0, 0);
    EXPECT_TRUE(Bluish(bottom.At(0, 0))) << "preview bottom " << std::hex << bottom.At(0, 0);
}

TEST_F(Strip, DamagedFilesKeepTheirCellsAndTheProgramGoesOn) {
    SeedPictures(3);
    // A truncated picture, and a zero-byte cache for a sound one.
    HANDLE file = CreateFileW((PictureFolder() + L"\\" + CaptureName(2)).c_str(), GENERIC_WRITE, 0,
                              nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "BM\x10\x00", 4, &written, nullptr);
    CloseHandle(file);
    CreateDirectoryW((PictureFolder() + L"\\INFO").c_str(), nullptr);
    file = CreateFileW((PictureFolder() + L"\\INFO\\" + CaptureName(3)).c_str(), GENERIC_WRITE, 0,
                       nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
    Launch();
    EXPECT_EQ(CellFile(1), CaptureName(1));
    // A picture that cannot be read keeps its cell, to be selected and deleted on its own,
    // drawn without a picture.
    EXPECT_EQ(CellFile(2), CaptureName(2)) << "a picture that cannot be read is kept";
    EXPECT_NE(CellBackground(2), (233u << 16) | (233u << 8) | 238u) << "not the empty look";
    EXPECT_EQ(CellFile(3), CaptureName(3)) << "an unreadable cache is made again";
    int w = 0, h = 0;
    EXPECT_TRUE(PictureSize(PictureFolder() + L"\\INFO\\" + CaptureName(3), &w, &h));
    EXPECT_TRUE(program_.Running());
}

struct Usage {
    SIZE_T privateBytes = 0;
    DWORD handles = 0;
};

Usage UsageOf(DWORD processId) {
    Usage usage;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return usage;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters)) {
        // Wine reports no private usage; the commit charge is its equivalent.
        usage.privateBytes = counters.PagefileUsage;
    }
    GetProcessHandleCount(process, &usage.handles);
    CloseHandle(process);
    return usage;
}

TEST_F(Strip, HoverScrollAndLanguageCyclesDoNotGrowTheProcess) {
    SeedPictures(30);
    Launch();
    HWND bar = GetDlgItem(main_, 1090);
    ASSERT_NE(bar, nullptr);
    HWND tips = nullptr;
    for (HWND w : program_.TopLevelWindows()) {
        wchar_t cls[64] = {};
        GetClassNameW(w, cls, 64);
        if (std::wstring(cls) == L"tooltips_class32") tips = w;
    }
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 13);
    // Sent, not posted, so that each cycle has been handled before the next.
    auto send = [&](UINT message, WPARAM wParam, LPARAM lParam) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(main_, message, wParam, lParam, SMTO_BLOCK, 10000, &ignored);
    };
    auto cycles = [&](int count) {
        for (int i = 0; i < count; ++i) {
            const auto cell = reinterpret_cast<WPARAM>(Cell(1 + i % 4));
            send(WM_USER + 11, cell, 0x10000000);
            send(WM_USER + 11, cell, 0x40000001);
            send(WM_USER + 11, cell, 0x80000000);
            send(WM_VSCROLL, i % 2 ? SB_LINEDOWN : SB_LINEUP, reinterpret_cast<LPARAM>(bar));
        }
    };
    auto languages = [&](int count) {
        for (int i = 0; i < count; ++i) {
            PostMessageW(main_, WM_COMMAND, 32966, 0);
            HWND chooser = nullptr;
            for (int t = 0; t < 500 && !chooser; ++t) {
                for (HWND w : program_.TopLevelWindows())
                    if (IsWindowVisible(w) && GetDlgItem(w, 503)) chooser = w;
                if (!chooser) SleepMs(10);
            }
            ASSERT_NE(chooser, nullptr);
            const int radio = i % 2 ? 503 : 505;
            PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(radio, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(chooser, radio)));
            for (int t = 0; t < 300 && IsWindowVisible(chooser); ++t) SleepMs(10);
            send(WM_NULL, 0, 0);
        }
    };
    languages(2);
    cycles(50);  // caches, fonts and the preview's first picture are made once
    const Usage before = UsageOf(program_.Id());
    ASSERT_NE(before.privateBytes, 0u);
    cycles(500);
    languages(20);
    const Usage after = UsageOf(program_.Id());
    EXPECT_LT(after.privateBytes, before.privateBytes + 2 * 1024 * 1024)
        << before.privateBytes << " -> " << after.privateBytes;
    EXPECT_LE(after.handles, before.handles + 2) << before.handles << " -> " << after.handles;
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 13) << "tools kept, texts changed";
    EXPECT_TRUE(program_.Running());
}

}  // namespace
}  // namespace orvane::test
