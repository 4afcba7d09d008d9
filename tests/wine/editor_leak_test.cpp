// The editor window hosted in the test program, worked for a long while: it must hold no more
// GDI objects and memory afterwards than before.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "editor/window/editor_dlg.h"
#include "gdi_objects.h"
#include "media/companion_paths.h"
#include "media/win/win_media_files.h"
#include "platform/gdiplus_session.h"
#include "platform/wide.h"
#include "test_pictures.h"

namespace orvane {
namespace {

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

TEST(EditorLeaks, AnnotatingUndoingRedoingAndSteppingHoldNothingMore) {
    const GdiplusSession gdiplus;
    ASSERT_TRUE(gdiplus.Ok());
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"OrvaneEditorLeaks";
    CreateDirectoryW(folder.c_str(), nullptr);
    CreateDirectoryW((folder + L"\\Info").c_str(), nullptr);
    for (int n = 1; n <= 2; ++n) {
        const uint8_t grey = static_cast<uint8_t>(180 + 20 * n);
        ASSERT_TRUE(test::WriteFileBytes(folder + L"\\" + test::CaptureFileName(n),
                                         test::SolidBmp(320, 240, grey, grey, grey)));
    }
    HWND owner = CreateWindowExW(0, L"Static", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 800, 600, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    {
        WinMediaFiles files;
        WinMediaClock clock;
        CIvoraImgEdtDlg editor(FromWide(folder + L"\\" + test::CaptureFileName(1)), files, clock);
        ASSERT_TRUE(editor.Open(owner));
        CIvoraImgEdtView& canvas = editor.Canvas();
        const HWND c = canvas.Hwnd();
        auto click = [c](int x, int y) {
            SendMessageW(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
            SendMessageW(c, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        };
        // A measured length (pens, label font) annotated, undone and redone.
        auto rowsOf = [&](int n) {
            return MeasurementRowsPath(FromWide(folder + L"\\" + test::CaptureFileName(n)));
        };
        auto annotate = [&](int i) {
            canvas.SetTool(32874);
            click(20, 20 + i % 50);
            SendMessageW(c, WM_MOUSEMOVE, 0, MAKELPARAM(200, 120));
            click(200, 120);
            click(150, 160);
            canvas.Undo();
            canvas.Redo();
        };
        // Previous and Next in turn; the prompt for a modified picture is not wanted here. The
        // rows the measurements leave beside the pictures are removed, or the pictures would
        // gather a thousand rows a round (data kept, not memory lost).
        auto step = [&](int i) {
            canvas.ClearModified();
            editor.Step(i % 2 == 0);
            Pump();
            for (int n = 1; n <= 2; ++n) DeleteFileW(ToWide(rowsOf(n)).c_str());
        };
        for (int i = 0; i < 20; ++i) annotate(i);
        for (int i = 0; i < 2; ++i) step(i);
        ASSERT_EQ(canvas.ModifiedCount(), 0);
        ASSERT_TRUE(canvas.PictureLoaded());
        const int objects = test::LiveGdiObjects();
        // Two equal rounds: the first may still settle the heap, the second shows what stays per
        // round. A copy kept per annotation would be 220 MiB a round, a pen or a label font left
        // behind one GDI object each.
        double grown[2] = {};
        for (double& round : grown) {
            const double committed = test::CommittedBytes();
            for (int i = 0; i < 1000; ++i) annotate(i);
            for (int i = 0; i < 100; ++i) step(i);
            ASSERT_TRUE(canvas.PictureLoaded());
            round = test::CommittedBytes() - committed;
        }
        std::printf(
            "1000 annotations and 100 steps, twice: %+d GDI objects, %+.1f KiB, %+.1f KiB\n",
            test::LiveGdiObjects() - objects, grown[0] / 1024, grown[1] / 1024);
        EXPECT_EQ(test::LiveGdiObjects(), objects);
        EXPECT_LT(grown[1], 512.0 * 1024.0);
    }
    DestroyWindow(owner);
    for (int n = 1; n <= 2; ++n) {
        const std::wstring picture = folder + L"\\" + test::CaptureFileName(n);
        DeleteFileW(ToWide(SideFilePath(FromWide(picture))).c_str());
        DeleteFileW(ToWide(MeasurementRowsPath(FromWide(picture))).c_str());
        DeleteFileW(picture.c_str());
    }
}

}  // namespace
}  // namespace orvane
