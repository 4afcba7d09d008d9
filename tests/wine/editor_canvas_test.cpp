// The editor's canvas in a frame of the test program: loading, fitting, mapping, drawing with
// the mouse, undo and redo, tool changes, cancelling and the calibration result.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "editor/rules/magnification.h"
#include "editor/view/canvas_view.h"
#include "platform/gdiplus_session.h"
#include "screen_picture.h"

namespace orvane {
namespace {

std::wstring TempPath(const wchar_t* name) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

// A white 24-bit bottom-up BMP of the given size.
void WriteWhiteBmp(const std::wstring& path, int32_t width, int32_t height) {
    const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + stride * static_cast<uint32_t>(height);
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    FILE* f = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    fwrite(&file, sizeof file, 1, f);
    fwrite(&info, sizeof info, 1, f);
    std::vector<uint8_t> row(stride, 0xFF);
    for (int32_t y = 0; y < height; ++y) fwrite(row.data(), 1, row.size(), f);
    fclose(f);
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    FILE* f = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

// Answers the canvas's error boxes and keeps their texts.
class ErrorBoxWatcher {
  public:
    ErrorBoxWatcher() {
        thread_ = std::thread([this] {
            while (!stop_) {
                HWND box = FindWindowW(L"#32770", L"Orvane");
                if (box != nullptr) {
                    wchar_t text[512] = {};
                    GetDlgItemTextW(box, 0xFFFF, text, 512);
                    texts_.push_back(text);
                    PostMessageW(box, WM_COMMAND, IDOK, 0);
                    Sleep(200);
                }
                Sleep(20);
            }
        });
    }
    ~ErrorBoxWatcher() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    std::vector<std::wstring> Texts() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        return texts_;
    }

  private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
    std::vector<std::wstring> texts_;
};

class EditorCanvas : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(gdiplus_.Ok());
        host_ = CreateWindowExW(0, L"Static", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800,
                                600, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(host_, nullptr);
        frame_ = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 0, 0, 640, 480, host_,
                                 nullptr, nullptr, nullptr);
        ASSERT_NE(frame_, nullptr);
        ASSERT_TRUE(view_.Create(frame_, host_));
        view_.messageCaption = L"Orvane";  // as the editor gives it, in English
    }
    void TearDown() override { DestroyWindow(host_); }
    void Click(int x, int y) {
        SendMessageW(view_.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(view_.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    void Move(int x, int y) { SendMessageW(view_.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
    COLORREF At(int x, int y) { return GetPixel(view_.WorkingDc(), x, y); }
    bool Posted(UINT message, MSG& msg) {
        return PeekMessageW(&msg, host_, message, message, PM_REMOVE) != FALSE;
    }

    GdiplusSession gdiplus_;
    HWND host_ = nullptr;
    HWND frame_ = nullptr;
    CIvoraImgEdtView view_;
};

TEST_F(EditorCanvas, LargePictureFitsMapsAndDrawsUndoableLines) {
    const std::wstring path = TempPath(L"canvas_2560.bmp");
    WriteWhiteBmp(path, 2560, 1920);
    ASSERT_TRUE(view_.LoadPicture(path));
    EXPECT_EQ(view_.ImageWidth(), 2560);
    EXPECT_EQ(view_.CanvasWidth(), 640);
    EXPECT_EQ(view_.CanvasHeight(), 480);
    view_.Undo();  // nothing to undo right after loading
    EXPECT_EQ(view_.ModifiedCount(), 0);

    view_.SetTool(32803);
    Click(100, 240);
    Move(320, 240);
    Click(320, 240);
    EXPECT_EQ(view_.ModifiedCount(), 1);
    EXPECT_EQ(view_.ToolState(), 0);
    // Window (320, 240) is picture (1280, 960); width 1 is 8 picture pixels: rows 956..963.
    EXPECT_EQ(At(800, 960), RGB(0, 0, 0));
    EXPECT_EQ(At(800, 957), RGB(0, 0, 0));
    EXPECT_EQ(At(800, 950), RGB(255, 255, 255));
    EXPECT_EQ(At(1290, 960), RGB(255, 255, 255));
    view_.Undo();
    EXPECT_EQ(view_.ModifiedCount(), 0);
    EXPECT_EQ(At(800, 960), RGB(255, 255, 255));
    view_.Redo();
    EXPECT_EQ(view_.ModifiedCount(), 1);
    EXPECT_EQ(At(800, 960), RGB(0, 0, 0));
    DeleteFileW(path.c_str());
}

TEST_F(EditorCanvas, ToolChangeCommitsAndRightClicksCancel) {
    const std::wstring path = TempPath(L"canvas_640.bmp");
    WriteWhiteBmp(path, 640, 480);
    ASSERT_TRUE(view_.LoadPicture(path));
    view_.SetTool(32803);
    Click(100, 100);
    Move(200, 100);
    EXPECT_EQ(view_.ToolState(), 6);
    view_.SetTool(32806);  // the half-placed line is committed with its guides
    EXPECT_EQ(view_.ModifiedCount(), 1);
    EXPECT_EQ(view_.ToolState(), 0);
    EXPECT_EQ(At(150, 100), RGB(0, 0, 0));

    view_.SetTool(32874);
    Click(50, 300);
    Move(150, 300);
    EXPECT_EQ(view_.ToolState(), 10);
    MSG msg;
    SendMessageW(view_.Hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(150, 300));
    EXPECT_EQ(view_.ToolState(), 0);
    EXPECT_EQ(view_.Tool(), 32874);
    EXPECT_EQ(At(100, 300), RGB(255, 255, 255));  // the measurement is gone
    EXPECT_FALSE(Posted(CIvoraImgEdtView::kToolCleared, msg));
    SendMessageW(view_.Hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(150, 300));
    EXPECT_EQ(view_.Tool(), 0);
    EXPECT_TRUE(Posted(CIvoraImgEdtView::kToolCleared, msg));
    EXPECT_EQ(view_.ModifiedCount(), 1);
    DeleteFileW(path.c_str());
}

TEST_F(EditorCanvas, CalibrationLinePostsLengthTimesMagnification) {
    const std::wstring path = TempPath(L"canvas_cal.bmp");
    WriteWhiteBmp(path, 640, 480);
    ASSERT_TRUE(view_.LoadPicture(path));
    view_.scale = 1.0;
    view_.pixelFactor = 0.355;
    view_.magnifications = editor::OpenedMagnifications(0.0, 0.0);
    view_.SetTool(32814);
    Click(100, 200);
    Move(200, 200);
    SendMessageW(view_.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 200));
    EXPECT_EQ(view_.ToolState(), 19);
    SendMessageW(view_.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(200, 200));
    EXPECT_EQ(view_.ModifiedCount(), 1);
    const UINT adjust = RegisterWindowMessageW(L"OrvaneAdjustMagnificaton");
    MSG msg;
    ASSERT_TRUE(Posted(adjust, msg));
    const double v =
        editor::JoinDouble(static_cast<uint32_t>(msg.wParam), static_cast<uint32_t>(msg.lParam));
    EXPECT_NEAR(v, 100 * 0.355 * 50.0, 1e-9);
    const double measured = v / editor::CalibrationReference(0.0);
    EXPECT_EQ(editor::AdjustedText(editor::AdjustedFromActual(measured, "0.5", 0)), "71.00");
    view_.Undo();  // the window takes the calibration line back
    EXPECT_EQ(view_.ModifiedCount(), 0);
    EXPECT_EQ(At(150, 200), RGB(255, 255, 255));
    DeleteFileW(path.c_str());
}

TEST_F(EditorCanvas, UndecodableFilesAreReportedAndLeaveTheCanvasUsable) {
    const std::wstring empty = TempPath(L"canvas_empty.bmp");
    const std::wstring text = TempPath(L"canvas_text.bmp");
    const std::wstring good = TempPath(L"canvas_good.bmp");
    WriteBytes(empty, "");
    WriteBytes(text, "this is no picture at all");
    WriteWhiteBmp(good, 64, 48);
    ASSERT_TRUE(view_.LoadPicture(good));
    ErrorBoxWatcher watcher;
    EXPECT_FALSE(view_.LoadPicture(empty));
    EXPECT_FALSE(view_.PictureLoaded());
    EXPECT_FALSE(view_.LoadPicture(text));
    EXPECT_FALSE(view_.LoadPicture(TempPath(L"canvas_missing.bmp")));
    view_.SetTool(32803);
    Click(10, 10);  // ignored without a picture
    EXPECT_EQ(view_.ModifiedCount(), 0);
    const std::vector<std::wstring> texts = watcher.Texts();
    ASSERT_EQ(texts.size(), 3u);
    for (const std::wstring& t : texts) EXPECT_EQ(t.rfind(L"Load image failed:\n", 0), 0u) << t;
    EXPECT_NE(texts[2].find(L"80070002"), std::wstring::npos) << texts[2];
    EXPECT_TRUE(view_.LoadPicture(good));
    EXPECT_EQ(view_.ImageWidth(), 64);
    for (const auto& p : {empty, text, good}) DeleteFileW(p.c_str());
}

// Moves repaint only where the object was and is; whatever it passed over must come back, in
// the picture and on the screen.
TEST_F(EditorCanvas, ObjectsFollowingThePointerLeaveNothingBehind) {
    const std::wstring path = TempPath(L"canvas_trail.bmp");
    WriteWhiteBmp(path, 2560, 1920);
    ASSERT_TRUE(view_.LoadPicture(path));
    DIBSECTION section{};
    ASSERT_EQ(GetObjectW(view_.WorkingBitmap(), sizeof section, &section),
              static_cast<int>(sizeof section));
    const auto* bits = static_cast<const uint8_t*>(section.dsBm.bmBits);
    const size_t bytes = static_cast<size_t>(section.dsBm.bmWidthBytes) * 1920;
    auto darkBytes = [&] {
        GdiFlush();
        size_t dark = 0;
        for (size_t i = 0; i < bytes; i += 3) dark += bits[i] != 0xFF;
        return dark;
    };
    auto screen = [&] {
        RECT r;
        GetWindowRect(view_.Hwnd(), &r);
        return test::CaptureScreen(r).pixels;
    };
    UpdateWindow(view_.Hwnd());
    const std::vector<uint32_t> blank = screen();
    ASSERT_FALSE(blank.empty());
    view_.properties.textFont.height = -40;
    view_.properties.measureFont.height = -40;
    // A line and a measured length with guides and labels, and a free-hand stroke.
    for (int32_t tool : {32803, 32874, 32805}) {
        view_.SetTool(tool);
        SendMessageW(view_.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
        if (tool != 32805) SendMessageW(view_.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
        for (POINT p : {POINT{300, 120}, POINT{500, 400}, POINT{140, 300}, POINT{620, 40}}) {
            Move(p.x, p.y);
            EXPECT_GT(darkBytes(), 0u) << tool;
        }
        const std::vector<uint32_t> partial = screen();
        RedrawWindow(view_.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_TRUE(partial == screen()) << "moves showed what a full paint shows, tool " << tool;
        view_.Cancel();
        UpdateWindow(view_.Hwnd());
        EXPECT_EQ(darkBytes(), 0u) << "the picture is whole again, tool " << tool;
        EXPECT_TRUE(blank == screen()) << tool;
        view_.Cancel();
    }
    DeleteFileW(path.c_str());
}

}  // namespace
}  // namespace orvane
