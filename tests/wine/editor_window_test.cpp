// The picture editor of the real program, opened from the strip: drawing and measuring on a
// picture, stepping through the folder, saving, and closing back to the main window.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "capture_files.h"
#include "editor/geometry/pen_scaling.h"
#include "editor/rules/window_rules.h"
#include "media/companion_paths.h"
#include "media/stamp/pixel_rows.h"
#include "orvane_process.h"
#include "registry_reader.h"
#include "screen_picture.h"
#include "test_pictures.h"

namespace orvane::test {
namespace {

constexpr int kFirstCell = 8192;
constexpr int kEditorFrame = 505;
constexpr int kEditorClose = 506;
constexpr int kEditorSaveAs = 514;
constexpr int kEditorCopyPicture = 510;
constexpr int kEditorCopyFile = 511;
constexpr int kEditorNext = 522;
constexpr int kEditorPrevious = 523;
constexpr int kMagnificationBox = 1004;

std::wstring PictureFolder() {
    return DocumentsFolder() + L"\\Orvane\\pictures";
}

std::wstring CaptureName(int n) {
    return CaptureFileName(n);
}

// A 640 x 480 24-bit picture of one light colour.
bool WriteBmp(const std::wstring& path, uint8_t grey) {
    return WriteFileBytes(path, SolidBmp(640, 480, grey, grey, grey));
}

std::string FileStart(const std::wstring& path, size_t n) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes(n, '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(n), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

// The text of another process's control, as it holds it now.
std::wstring FieldText(HWND field) {
    wchar_t text[128] = {};
    SendMessageW(field, WM_GETTEXT, 128, reinterpret_cast<LPARAM>(text));
    return text;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class EditorWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        if (WithCamera()) noCamera_.reset();
        ResetOrvaneState();
        CreateDirectoryW((DocumentsFolder() + L"\\Orvane").c_str(), nullptr);
        CreateDirectoryW(PictureFolder().c_str(), nullptr);
        CreateDirectoryW((PictureFolder() + L"\\Info").c_str(), nullptr);
        for (int n = 1; n <= 3; ++n) {
            ASSERT_TRUE(WriteBmp(PictureFolder() + L"\\" + CaptureName(n),
                                 static_cast<uint8_t>(200 + n * 10)));
        }
        ASSERT_TRUE(program_.Start());
        main_ = program_.WaitForMainWindow();
        ASSERT_NE(main_, nullptr);
        SleepMs(1500);
    }
    void TearDown() override {
        if (main_) {
            PostMessageW(main_, WM_COMMAND, IDCANCEL, 0);
            program_.WaitForExit(15000);
        }
        ResetOrvaneState();
    }
    HWND Cell(int k) const {
        return GetDlgItem(main_, kFirstCell + ((k - 1) % 2) * 8 + (k - 1) / 2);
    }
    // The editor: the visible child of the main window holding the picture frame.
    HWND Editor() const {
        for (HWND child = GetWindow(main_, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (GetDlgItem(child, kEditorFrame) && IsWindowVisible(child)) return child;
        }
        return nullptr;
    }
    HWND WaitForEditor(bool open) const {
        for (int i = 0; i < 100; ++i) {
            HWND e = Editor();
            if ((e != nullptr) == open) return e;
            SleepMs(100);
        }
        return Editor();
    }
    HWND Canvas(HWND editor) const { return GetWindow(GetDlgItem(editor, kEditorFrame), GW_CHILD); }
    void Click(HWND canvas, int x, int y) {
        SendMessageW(canvas, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(canvas, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    void DrawLine(HWND editor, int y) {
        SendMessageW(editor, WM_COMMAND, 32803, 0);
        HWND canvas = Canvas(editor);
        Click(canvas, 40, y);
        SendMessageW(canvas, WM_MOUSEMOVE, 0, MAKELPARAM(200, y));
        Click(canvas, 200, y);
    }
    // Darkest grey level on the screen along a short column through the canvas at (x, y).
    int DarkestAt(HWND canvas, int x, int y) {
        RECT r;
        GetWindowRect(canvas, &r);
        const ScreenPicture p =
            CaptureScreen({r.left + x, r.top + y - 6, r.left + x + 1, r.top + y + 6});
        int darkest = 255;
        for (uint32_t px : p.pixels) darkest = std::min(darkest, static_cast<int>(px & 0xFF));
        return p.pixels.empty() ? -1 : darkest;
    }
    // Answers the save dialog with a full path.
    bool AnswerSaveDialog(const std::wstring& path, bool smallSize = false) {
        HWND box = program_.WaitForBox(L"Save as", 8000);
        if (!box) return false;
        SleepMs(500);
        if (smallSize) CheckRadioButton(box, 100, 101, 100);  // "320X240"
        HWND name = GetDlgItem(box, 0x480);  // the classic dialog's file-name field
        if (!name) return false;
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        for (int i = 0; i < 80 && program_.FindBox(L"Save as"); ++i) SleepMs(100);
        // The save runs under its progress strip (item 531).
        auto saving = [this] {
            for (HWND w : program_.TopLevelWindows()) {
                if (IsWindowVisible(w) && GetDlgItem(w, 531)) return true;
            }
            return false;
        };
        SleepMs(200);
        for (int i = 0; i < 100 && saving(); ++i) SleepMs(100);
        return true;
    }
    OrvaneProcess program_;
    HWND main_ = nullptr;
    virtual bool WithCamera() const { return false; }
    std::unique_ptr<NoCamera> noCamera_ = std::make_unique<NoCamera>();
};

TEST_F(EditorWindow, OpensFromTheStripDrawsStepsSavesAndClosesBack) {
    if (HWND notice = program_.WaitForBox(L"Orvane", 3000))
        PostMessageW(notice, WM_COMMAND, IDOK, 0);
    // The middle picture, so that both Next and Previous have somewhere to go.
    int k = 1;
    while (k <= 3 && WindowText(Cell(k)).find(L"TX0000002") == std::wstring::npos) ++k;
    ASSERT_LE(k, 3) << "the strip shows the seeded pictures";
    const std::wstring first = WindowText(Cell(k));
    PostMessageW(Cell(k), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    PostMessageW(Cell(k), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    HWND editor = WaitForEditor(true);
    ASSERT_NE(editor, nullptr) << "a double-click on a picture opens the editor";
    EXPECT_FALSE(IsWindowVisible(Cell(k))) << "the strip hides under the editor";
    HWND live = GetDlgItem(main_, 0);
    EXPECT_TRUE(live == nullptr || !IsWindowVisible(live));
    EXPECT_EQ(FieldText(GetDlgItem(editor, kMagnificationBox)), L"------------------------------");
    HWND canvas = Canvas(editor);
    ASSERT_NE(canvas, nullptr);
    const int before = DarkestAt(canvas, 120, 100);
    DrawLine(editor, 100);
    SleepMs(300);
    EXPECT_GE(before, 200);
    EXPECT_LT(DarkestAt(canvas, 120, 100), 60) << "the line shows on the canvas";

    // A measured line (the picture has no magnification: the values read ---), and a picture
    // of the editor when a folder for screenshots is named.
    const int beforeMeasure = DarkestAt(canvas, 160, 190);
    SendMessageW(editor, WM_COMMAND, 32874, 0);
    Click(canvas, 60, 160);
    Click(canvas, 260, 220);
    SendMessageW(canvas, WM_MOUSEMOVE, 0, MAKELPARAM(200, 260));
    Click(canvas, 200, 260);
    SleepMs(300);
    EXPECT_GE(beforeMeasure, 200);
    EXPECT_LT(DarkestAt(canvas, 160, 190), 60) << "the measured line is drawn";
    EXPECT_GE(DarkestAt(canvas, 400, 400), 200) << "and only there";
    wchar_t shots[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"ORVANE_SCREENSHOT_DIR", shots, MAX_PATH)) {
        EXPECT_TRUE(SaveWindowImage(editor, std::wstring(shots) + L"\\picture-editor.bmp"));
    }

    // Save As a JPEG, then Next asks nothing and writes the first picture's side file.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring saved = std::wstring(temp) + L"editor_abc.JPG";
    DeleteFileW(saved.c_str());
    PostMessageW(editor, WM_COMMAND, kEditorSaveAs, 0);
    ASSERT_TRUE(AnswerSaveDialog(saved));
    const std::string head = FileStart(saved, 3);
    EXPECT_EQ(head, std::string("\xFF\xD8\xFF")) << "Save As with .JPG writes a JPEG file";

    PostMessageW(editor, WM_COMMAND, kEditorNext, 0);
    SleepMs(800);
    EXPECT_EQ(program_.FindBox(L"Orvane picture editor"), nullptr) << "no prompt after saving";
    const std::u16string side = SideFilePath(std::u16string(first.begin(), first.end()));
    EXPECT_TRUE(Exists(std::wstring(side.begin(), side.end())));

    // A line on the second picture: Previous asks; No goes on without saving.
    DrawLine(editor, 150);
    PostMessageW(editor, WM_COMMAND, kEditorPrevious, 0);
    HWND prompt = program_.WaitForBox(L"Orvane picture editor", 5000);
    ASSERT_NE(prompt, nullptr) << "a modified picture asks before moving on";
    PostMessageW(prompt, WM_COMMAND, 7, 0);  // No
    SleepMs(800);

    // Close with a modified picture: Yes saves it as BMP, then the main window comes back.
    DrawLine(editor, 200);
    PostMessageW(editor, WM_COMMAND, kEditorClose, 0);
    prompt = program_.WaitForBox(L"Orvane picture editor", 5000);
    ASSERT_NE(prompt, nullptr);
    PostMessageW(prompt, WM_COMMAND, IDOK, 0);  // Yes
    const std::wstring closing = std::wstring(temp) + L"editor_close";
    DeleteFileW((closing + L".BMP").c_str());
    ASSERT_TRUE(AnswerSaveDialog(closing));
    EXPECT_EQ(FileStart(closing + L".BMP", 2), "BM");
    EXPECT_EQ(WaitForEditor(false), nullptr) << "the editor closes";
    for (int i = 0; i < 30 && !IsWindowVisible(Cell(k)); ++i) SleepMs(100);
    EXPECT_TRUE(IsWindowVisible(Cell(k))) << "the strip is back";
    DeleteFileW(saved.c_str());
    DeleteFileW((closing + L".BMP").c_str());
}

// 320X240 of a 1280 x 1024 picture samples every fourth pixel of both axes, with the size
// stamped top-left in the stamp colour over its complement.
TEST_F(EditorWindow, SaveAsSmallSizeSamplesByOneFactorAndStamps) {
    if (HWND notice = program_.WaitForBox(L"Orvane", 3000))
        PostMessageW(notice, WM_COMMAND, IDOK, 0);
    PixelRows gradient;
    gradient.width = 1280;
    gradient.height = 1024;
    gradient.topDown = true;
    for (int y = 0; y < 1024; ++y) {
        for (int x = 0; x < 1280; ++x) {
            const uint8_t px[3] = {static_cast<uint8_t>(x / 4), static_cast<uint8_t>(y / 4), 0};
            gradient.bytes.insert(gradient.bytes.end(), px, px + 3);
        }
    }
    const std::wstring picture = PictureFolder() + L"\\" + CaptureName(1);
    ASSERT_TRUE(WriteFileBytes(picture, WriteBmp24(gradient)));
    PutDword(L"PhotoSavedInfo", 0x08);
    PutDword(L"PhotoSavedInfoFontColor", 0x0000FF);
    int k = 1;
    while (k <= 3 && WindowText(Cell(k)).find(L"TX0000001") == std::wstring::npos) ++k;
    ASSERT_LE(k, 3);
    PostMessageW(Cell(k), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    PostMessageW(Cell(k), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    HWND editor = WaitForEditor(true);
    ASSERT_NE(editor, nullptr);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring saved = std::wstring(temp) + L"editor_small.BMP";
    DeleteFileW(saved.c_str());
    PostMessageW(editor, WM_COMMAND, kEditorSaveAs, 0);
    ASSERT_TRUE(AnswerSaveDialog(saved, true));
    std::vector<uint8_t> file;
    ASSERT_TRUE(ReadWholeFile(saved, &file));
    const auto out = ReadBmpPixels(file.data(), file.size());
    ASSERT_TRUE(out);
    ASSERT_EQ(out->width, 320);
    ASSERT_EQ(out->height, 240);
    EXPECT_TRUE(out->topDown);
    int wrong = 0, red = 0;
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 320; ++x) {
            const uint8_t* px = out->Row(y) + 3 * x;
            if (x < 110 && y < 26) {
                red += px[0] == 0 && px[1] == 0 && px[2] == 255;
            } else {
                wrong += px[0] != static_cast<uint8_t>(x) || px[1] != static_cast<uint8_t>(y);
            }
        }
    }
    EXPECT_EQ(wrong, 0) << "output (x, y) is picture (4x, 4y)";
    EXPECT_GT(red, 40) << "the size stamp";
    DeleteFileW(saved.c_str());
}

TEST_F(EditorWindow, CalibrationSetsTheAdjustedMagnification) {
    if (HWND notice = program_.WaitForBox(L"Orvane", 3000)) {
        PostMessageW(notice, WM_COMMAND, IDOK, 0);
    }
    PostMessageW(Cell(1), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    PostMessageW(Cell(1), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    HWND editor = WaitForEditor(true);
    ASSERT_NE(editor, nullptr);
    HWND canvas = Canvas(editor);
    RECT client{};
    GetClientRect(canvas, &client);
    ASSERT_GT(client.right, 0);
    // A horizontal calibration line; its length in picture pixels as the canvas maps it.
    const int a = 100, b = 100 + client.right / 4;
    const float sx = 640.0f / static_cast<float>(client.right);
    const int length =
        static_cast<int>(static_cast<float>(b) * sx) - static_cast<int>(static_cast<float>(a) * sx);
    PostMessageW(editor, WM_COMMAND, 32814, 0);
    SleepMs(200);
    PostMessageW(canvas, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(a, 120));
    PostMessageW(canvas, WM_LBUTTONUP, 0, MAKELPARAM(a, 120));
    PostMessageW(canvas, WM_MOUSEMOVE, 0, MAKELPARAM(b, 120));
    PostMessageW(canvas, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(b, 120));
    PostMessageW(canvas, WM_LBUTTONUP, 0, MAKELPARAM(b, 120));
    HWND dialog = program_.WaitForBox(L"Adjust magnification", 5000);
    ASSERT_NE(dialog, nullptr) << "the calibration line opens the calibration dialog";
    SendMessageW(GetDlgItem(dialog, 529), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"0.5"));
    SleepMs(200);
    wchar_t expected[32];
    swprintf(expected, 32, L"%.2f", length * 0.355 / 0.5);
    EXPECT_EQ(FieldText(GetDlgItem(dialog, 532)), expected);
    wchar_t shots[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"ORVANE_SCREENSHOT_DIR", shots, MAX_PATH)) {
        SaveWindowImage(dialog, std::wstring(shots) + L"\\calibration-dialog.bmp");
    }
    SendMessageW(GetDlgItem(dialog, 529), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"0"));
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);  // 0 would be infinite: kept open
    SleepMs(300);
    ASSERT_NE(program_.FindBox(L"Adjust magnification"), nullptr);
    SendMessageW(GetDlgItem(dialog, 529), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"0.5"));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 50 && program_.FindBox(L"Adjust magnification"); ++i) SleepMs(100);
    SleepMs(300);
    EXPECT_EQ(FieldText(GetDlgItem(editor, kMagnificationBox)), expected);
    EXPECT_LT(DarkestAt(canvas, (a + b) / 2, 120), 255);
    EXPECT_GE(DarkestAt(canvas, (a + b) / 2, 120), 200) << "the calibration line is taken back";
    PostMessageW(editor, WM_COMMAND, kEditorClose, 0);
    EXPECT_EQ(WaitForEditor(false), nullptr);
}

TEST_F(EditorWindow, CopiesThePictureAndItsFileToTheClipboard) {
    if (HWND notice = program_.WaitForBox(L"Orvane", 3000)) {
        PostMessageW(notice, WM_COMMAND, IDOK, 0);
    }
    const std::wstring path = WindowText(Cell(1));
    PostMessageW(Cell(1), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    PostMessageW(Cell(1), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    HWND editor = WaitForEditor(true);
    ASSERT_NE(editor, nullptr);
    SendMessageW(editor, WM_COMMAND, kEditorCopyPicture, 0);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE dib = GetClipboardData(CF_DIB);
    ASSERT_NE(dib, nullptr);
    const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->biWidth, 640);
    EXPECT_EQ(header->biHeight, 480);
    EXPECT_EQ(header->biBitCount, 24);
    EXPECT_GE(GlobalSize(dib), sizeof(BITMAPINFOHEADER) + 640u * 3u * 480u);
    GlobalUnlock(dib);
    CloseClipboard();

    SendMessageW(editor, WM_COMMAND, kEditorCopyFile, 0);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE drop = GetClipboardData(CF_HDROP);
    ASSERT_NE(drop, nullptr);
    wchar_t file[MAX_PATH] = {};
    EXPECT_EQ(DragQueryFileW(static_cast<HDROP>(drop), 0xFFFFFFFF, nullptr, 0), 1u);
    DragQueryFileW(static_cast<HDROP>(drop), 0, file, MAX_PATH);
    EXPECT_EQ(_wcsicmp(file, path.c_str()), 0) << file;
    HANDLE effect = GetClipboardData(RegisterClipboardFormatW(L"Preferred DropEffect"));
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(*static_cast<const DWORD*>(GlobalLock(effect)), 1u);
    GlobalUnlock(effect);
    CloseClipboard();
}

class EditorOverLivePicture : public EditorWindow {
  protected:
    bool WithCamera() const override { return true; }
};

TEST_F(EditorOverLivePicture, HidesTheLivePictureAndBringsItBack) {
    ASSERT_TRUE(VirtualCameraRegistered());
    HWND live = nullptr;
    for (int i = 0; i < 100 && !(live = GetDlgItem(main_, 0)); ++i) SleepMs(100);
    ASSERT_NE(live, nullptr) << "the camera's live picture runs";
    ASSERT_TRUE(IsWindowVisible(live));
    PostMessageW(Cell(1), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    PostMessageW(Cell(1), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    HWND editor = WaitForEditor(true);
    ASSERT_NE(editor, nullptr);
    EXPECT_FALSE(IsWindowVisible(live)) << "the live picture hides under the editor";
    PostMessageW(editor, WM_COMMAND, kEditorClose, 0);
    EXPECT_EQ(WaitForEditor(false), nullptr);
    bool shown = false;
    for (int i = 0; i < 50 && !shown; ++i) {
        SleepMs(100);
        shown = IsWindowVisible(GetDlgItem(main_, 0)) != FALSE;
    }
    EXPECT_TRUE(shown) << "and shows again afterwards";
}

// The editor's dressing in another language than English: its owner-drawn menu, the tooltips
// of its picture buttons and the canvas's cursors. Its texts come from the program's own tables.
class EditorInFrench : public EditorWindow {
  protected:
    void SetUp() override {
        EditorWindow::SetUp();
        module_ = LoadLibraryExW(ProgramPath(L"Orvane.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr);
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
        EditorWindow::TearDown();
    }
    // The editor reads the language when it opens.
    HWND OpenEditor() {
        if (HWND notice = program_.WaitForBox(L"Orvane", 3000))
            PostMessageW(notice, WM_COMMAND, IDOK, 0);
        const DWORD french = 504;
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Orvane", L"Language", REG_DWORD, &french,
                        sizeof french);
        PostMessageW(Cell(1), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
        PostMessageW(Cell(1), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
        HWND editor = WaitForEditor(true);
        if (editor) SleepMs(500);
        return editor;
    }
    // A visible top-level window of the program with this class.
    HWND WaitForClass(const wchar_t* className, DWORD timeoutMs) const {
        for (DWORD waited = 0; waited <= timeoutMs; waited += 100) {
            for (HWND w : program_.TopLevelWindows()) {
                wchar_t name[64] = {};
                GetClassNameW(w, name, 64);
                if (IsWindowVisible(w) && wcscmp(name, className) == 0) return w;
            }
            SleepMs(100);
        }
        return nullptr;
    }
    // The cursor the screen shows once the pointer rests at (x, y).
    HCURSOR CursorAt(int x, int y) const {
        SetCursorPos(x - 1, y);
        SleepMs(150);
        SetCursorPos(x, y);
        SleepMs(300);
        CURSORINFO info{};
        info.cbSize = sizeof info;
        return GetCursorInfo(&info) ? info.hCursor : nullptr;
    }
    HMODULE module_ = nullptr;
};

TEST_F(EditorInFrench, DrawingMenuIsOwnerDrawnWithTheIconsOfTheStrip) {
    HWND editor = OpenEditor();
    ASSERT_NE(editor, nullptr);
    // The strip as the program holds it, white being clear.
    HBITMAP strip = static_cast<HBITMAP>(
        LoadImageW(module_, MAKEINTRESOURCEW(162), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(strip, nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 272, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<uint32_t> icons(272 * 16);
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDIBits(screen, strip, 0, 16, icons.data(), &info, DIB_RGB_COLORS), 16);
    ReleaseDC(nullptr, screen);
    DeleteObject(strip);

    // The menu opens under the pointer.
    RECT area{};
    GetWindowRect(editor, &area);
    SetCursorPos(area.left + 60, area.top + 90);
    SleepMs(200);
    PostMessageW(editor, WM_COMMAND, 517, 0);
    HWND menu = WaitForClass(L"#32768", 5000);
    ASSERT_NE(menu, nullptr) << "the Draw button opens the Drawing menu";
    SleepMs(500);
    RECT menuRect{};
    GetWindowRect(menu, &menuRect);
    const ScreenPicture shown = CaptureScreen(menuRect);
    ASSERT_GT(shown.width, 280);
    // The first item's top-left corner: the first pixel of the item background.
    constexpr uint32_t kBackground = 0xE9E9EE;  // RGB(233, 233, 238)
    int ox = -1, oy = -1;
    for (int y = 0; y < 8 && ox < 0; ++y)
        for (int x = 0; x < 8 && ox < 0; ++x)
            if (shown.At(x, y) == kBackground) ox = x, oy = y;
    ASSERT_GE(ox, 0) << "items are drawn on the program's background";
    // Line, arrow, freelance, rectangle, ellipse: icons 0..4, one 22-pixel item each, in the
    // box 12..28 x 2..18 of the 40-pixel column.
    for (int item = 0; item < 5; ++item) {
        int wrong = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const uint32_t icon =
                    icons[static_cast<size_t>(y) * 272 + item * 16 + x] & 0xFFFFFF;
                const uint32_t expected = icon == 0xFFFFFF ? kBackground : icon;
                if (shown.At(ox + 12 + x, oy + item * 22 + 2 + y) != expected) ++wrong;
            }
        EXPECT_EQ(wrong, 0) << "icon of item " << item;
    }
    // Text starts after the column: nothing but background left of it in the first item.
    EXPECT_EQ(shown.At(ox + 35, oy + 11), kBackground);

    wchar_t shots[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"ORVANE_SCREENSHOT_DIR", shots, MAX_PATH)) {
        RECT both{};
        UnionRect(&both, &area, &menuRect);
        EXPECT_TRUE(SaveScreenArea(both, std::wstring(shots) + L"\\picture-editor-menu.bmp"));
    }
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    for (int i = 0; i < 30 && IsWindowVisible(menu); ++i) SleepMs(100);
}

// Another process cannot read a tool's text; it sees the editor's tooltip window and its tools.
TEST_F(EditorInFrench, EveryPictureButtonHasATooltip) {
    HWND editor = OpenEditor();
    ASSERT_NE(editor, nullptr);
    int withFourteen = 0;
    for (HWND w : program_.TopLevelWindows()) {
        wchar_t name[64] = {};
        GetClassNameW(w, name, 64);
        if (wcscmp(name, L"tooltips_class32") == 0 && SendMessageW(w, TTM_GETTOOLCOUNT, 0, 0) == 14)
            ++withFourteen;
    }
    EXPECT_EQ(withFourteen, 1);
    // The buttons are drawn from their pictures.
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(editor, kEditorSaveAs), GWL_STYLE) & BS_OWNERDRAW);
}

// The cursors live in the program; another process sees only which one shows.
TEST_F(EditorInFrench, CanvasShowsOneCursorForFreeHandAnotherForTheFigures) {
    HWND editor = OpenEditor();
    ASSERT_NE(editor, nullptr);
    RECT canvas{};
    GetWindowRect(Canvas(editor), &canvas);
    const int x = (canvas.left + canvas.right) / 2, y = (canvas.top + canvas.bottom) / 2;
    const HCURSOR none = CursorAt(x, y);
    SendMessageW(editor, WM_COMMAND, 32805, 0);  // free-hand
    const HCURSOR pencil = CursorAt(x + 10, y);
    SendMessageW(editor, WM_COMMAND, 32806, 0);  // rectangle
    const HCURSOR rectangle = CursorAt(x, y);
    SendMessageW(editor, WM_COMMAND, 32874, 0);  // a measured line
    const HCURSOR measure = CursorAt(x + 10, y);
    SendMessageW(editor, WM_COMMAND, 32874, 0);  // chosen again: no tool
    const HCURSOR cleared = CursorAt(x, y);
    ASSERT_NE(none, nullptr);
    EXPECT_NE(pencil, none);
    EXPECT_NE(rectangle, none);
    EXPECT_NE(rectangle, pencil);
    EXPECT_EQ(measure, rectangle) << "one cross-hair for figures and measurements";
    EXPECT_EQ(cleared, none);
}

TEST_F(EditorWindow, CloseRequestPostedToAllWindowsClosesTheEditor) {
    if (HWND notice = program_.WaitForBox(L"Orvane", 3000))
        PostMessageW(notice, WM_COMMAND, IDOK, 0);
    PostMessageW(Cell(1), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    PostMessageW(Cell(1), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    ASSERT_NE(WaitForEditor(true), nullptr);
    // Other programs reach the editor only through the top-level windows.
    PostMessageW(main_, RegisterWindowMessageW(L"MessageInfoImgEditQuit"), 0, 0);
    EXPECT_EQ(WaitForEditor(false), nullptr);
    bool back = false;
    for (int i = 0; i < 50 && !back; ++i, SleepMs(100)) back = IsWindowVisible(Cell(1)) != FALSE;
    EXPECT_TRUE(back) << "the strip is back";
}

// The picture on the clipboard (CF_DIB, 24 bits) as 0x00RRGGBB pixels; empty without one.
ScreenPicture ClipboardPicture() {
    ScreenPicture picture;
    if (!OpenClipboard(nullptr)) return picture;
    if (HANDLE dib = GetClipboardData(CF_DIB)) {
        const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
        if (header != nullptr && header->biBitCount == 24 && header->biCompression == BI_RGB) {
            const int w = header->biWidth,
                      h = header->biHeight < 0 ? -header->biHeight : header->biHeight;
            const size_t stride = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
            const auto* rows = reinterpret_cast<const uint8_t*>(header) + header->biSize;
            if (GlobalSize(dib) >= header->biSize + stride * h) {
                picture.width = w;
                picture.height = h;
                picture.pixels.resize(static_cast<size_t>(w) * h);
                for (int y = 0; y < h; ++y) {
                    const uint8_t* row = rows + stride * (header->biHeight < 0 ? y : h - 1 - y);
                    for (int x = 0; x < w; ++x) {
                        picture.pixels[static_cast<size_t>(y) * w + x] =
                            row[x * 3] | row[x * 3 + 1] << 8 | row[x * 3 + 2] << 16;
                    }
                }
            }
        }
        GlobalUnlock(dib);
    }
    CloseClipboard();
    return picture;
}

// The label text among candidates that, written on `before` at `at` in the given font, gives
// exactly the pixels of `after` around it; empty when none does.
std::string LabelAmong(const std::vector<std::string>& candidates, const ScreenPicture& before,
                       const ScreenPicture& after, POINT at, const LOGFONTW& font) {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT made = CreateFontIndirectW(&font);
    HGDIOBJ oldFont = SelectObject(dc, made);
    std::string found;
    for (const std::string& text : candidates) {
        const std::wstring wide(text.begin(), text.end());
        SIZE extent{};
        GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
        // The text's box with a margin, in the picture.
        const int left = std::max(0, static_cast<int>(at.x) - 4);
        const int top = std::max(0, static_cast<int>(at.y) - 4);
        const int right = std::min(before.width, static_cast<int>(at.x + extent.cx) + 8);
        const int bottom = std::min(before.height, static_cast<int>(at.y + extent.cy) + 8);
        if (right <= left || bottom <= top) continue;
        BITMAPINFO info{};
        info.bmiHeader = {
            sizeof info.bmiHeader, right - left, -(bottom - top), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP box = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (box == nullptr) continue;
        HGDIOBJ oldBox = SelectObject(dc, box);
        auto* px = static_cast<uint32_t*>(bits);
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x)
                px[(y - top) * (right - left) + x - left] = before.At(x, y);
        }
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        TextOutW(dc, at.x - left, at.y - top, wide.c_str(), static_cast<int>(wide.size()));
        GdiFlush();
        bool same = true;
        for (int y = top; y < bottom && same; ++y) {
            for (int x = left; x < right && same; ++x) {
                same = (px[(y - top) * (right - left) + x - left] & 0xFFFFFF) == after.At(x, y);
            }
        }
        SelectObject(dc, oldBox);
        DeleteObject(box);
        if (same) {
            found = text;
            break;
        }
    }
    SelectObject(dc, oldFont);
    DeleteObject(made);
    DeleteDC(dc);
    return found;
}

// From the camera to a measured length: a photo of the virtual stage micrometer (divisions
// every 10 um) taken with F4 at a typed-in magnification, opened from the strip, calibrated
// over 40 divisions and measured over 25: the label must read 250 um within one division.
TEST_F(EditorOverLivePicture, MeasuresTheStageMicrometerAfterCalibratingOnIt) {
    ASSERT_TRUE(VirtualCameraRegistered());
    HWND live = nullptr;
    for (int i = 0; i < 100 && !(live = GetDlgItem(main_, 0)); ++i) SleepMs(100);
    ASSERT_NE(live, nullptr) << "the camera's live picture runs";
    const double magnification = 40.0;
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Orvane", L"InputMaginification", REG_BINARY,
                    &magnification, sizeof magnification);
    PostMessageW(main_, RegisterWindowMessageW(L"OrvaneSetMagnificaton"), 0, 0);
    SleepMs(500);

    const size_t seeded = CaptureFiles(PictureFolder(), L"TX*.*").size();
    PostMessageW(main_, WM_KEYDOWN, VK_F4, 0x003E0001);
    PostMessageW(main_, WM_KEYUP, VK_F4, 0xC03E0001);
    std::vector<std::wstring> pictures;
    for (int i = 0; i < 300 && pictures.size() <= seeded; ++i) {
        SleepMs(100);
        pictures = CaptureFiles(PictureFolder(), L"TX*.*");
    }
    ASSERT_EQ(pictures.size(), seeded + 1) << "F4 took a photo";
    std::sort(pictures.begin(), pictures.end());
    const std::wstring photo = pictures.back();  // the newest capture name sorts last
    const std::u16string side = SideFilePath(std::u16string(photo.begin(), photo.end()));
    for (int i = 0; i < 50 && !Exists(std::wstring(side.begin(), side.end())); ++i) SleepMs(100);
    SleepMs(1000);  // the strip is read again after the side file

    int k = 1;
    while (k <= 14 && _wcsicmp(WindowText(Cell(k)).c_str(), photo.c_str()) != 0) ++k;
    ASSERT_LE(k, 14) << "the strip shows the photo";
    PostMessageW(Cell(k), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    PostMessageW(Cell(k), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    HWND editor = WaitForEditor(true);
    ASSERT_NE(editor, nullptr);
    SleepMs(500);
    EXPECT_EQ(FieldText(GetDlgItem(editor, kMagnificationBox)), L"40.00");
    HWND canvas = Canvas(editor);
    RECT client{};
    GetClientRect(canvas, &client);

    // The micrometer's divisions in the picture itself.
    SendMessageW(editor, WM_COMMAND, kEditorCopyPicture, 0);
    const ScreenPicture before = ClipboardPicture();
    ASSERT_GT(before.width, 0) << "the picture on the clipboard";
    const SceneMarks marks = FindSceneMarks(before);
    ASSERT_GE(marks.baseLineRow, 0) << "the micrometer's base line";
    const std::vector<double> centres =
        MarkCentres(before, marks.baseLineRow - (8 * before.width + 400) / 800);
    ASSERT_GE(centres.size(), 60u);
    const float sx = static_cast<float>(before.width) / static_cast<float>(client.right);
    const float sy = static_cast<float>(before.height) / static_cast<float>(client.bottom);
    auto canvasX = [&](double pictureX) { return static_cast<int>(pictureX / sx + 0.5); };
    const int row = static_cast<int>(static_cast<float>(marks.baseLineRow) / sy) - 40;

    // Calibration over divisions 10 to 50: 400 um.
    SendMessageW(editor, WM_COMMAND, 32814, 0);
    Click(canvas, canvasX(centres[10]), row);
    SendMessageW(canvas, WM_MOUSEMOVE, 0, MAKELPARAM(canvasX(centres[50]), row));
    Click(canvas, canvasX(centres[50]), row);
    HWND dialog = program_.WaitForBox(L"Adjust magnification", 5000);
    ASSERT_NE(dialog, nullptr);
    SendMessageW(GetDlgItem(dialog, 529), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"0.4"));
    SleepMs(200);
    const std::wstring adjusted = FieldText(GetDlgItem(dialog, 532));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 50 && program_.FindBox(L"Adjust magnification"); ++i) SleepMs(100);
    SleepMs(300);
    EXPECT_EQ(FieldText(GetDlgItem(editor, kMagnificationBox)), adjusted);

    // A length over divisions 20 to 45, its label below the line.
    SendMessageW(editor, WM_COMMAND, kEditorCopyPicture, 0);
    const ScreenPicture calibrated = ClipboardPicture();
    SendMessageW(editor, WM_COMMAND, 32874, 0);
    const int x0 = canvasX(centres[20]), x1 = canvasX(centres[45]);
    const POINT label{(x0 + x1) / 2 - 40, row + 120};
    Click(canvas, x0, row);
    SendMessageW(canvas, WM_MOUSEMOVE, 0, MAKELPARAM(x1, row));
    Click(canvas, x1, row);
    SendMessageW(canvas, WM_MOUSEMOVE, 0, MAKELPARAM(label.x, label.y));
    Click(canvas, label.x, label.y);
    SleepMs(300);
    SendMessageW(editor, WM_COMMAND, kEditorCopyPicture, 0);
    const ScreenPicture measured = ClipboardPicture();
    ASSERT_EQ(measured.pixels.size(), calibrated.pixels.size());

    // The label as the canvas writes it: the measuring font scaled to the picture.
    const editor::FontRecord record = editor::DefaultEditorFont();
    LOGFONTW font{};
    static_assert(sizeof font == sizeof record);
    std::memcpy(&font, &record, sizeof font);
    font.lfHeight = editor::ScaledFontHeight(
        font.lfHeight,
        editor::CanvasScale(before.width, before.height, client.right, client.bottom));
    const POINT at{static_cast<LONG>(static_cast<float>(label.x) * sx),
                   static_cast<LONG>(static_cast<float>(label.y) * sy)};
    std::vector<std::string> candidates;
    for (int um = 200; um <= 300; ++um) {
        char text[32];
        std::snprintf(text, sizeof text, "%.3f mm", um / 1000.0);
        candidates.push_back(text);
    }
    const std::string shown = LabelAmong(candidates, calibrated, measured, at, font);
    ASSERT_FALSE(shown.empty()) << "the label reads a length between 0.200 and 0.300 mm";
    const double um = std::atof(shown.c_str()) * 1000.0;
    std::printf("calibrated magnification %ls; 25 divisions read %s\n", adjusted.c_str(),
                shown.c_str());
    EXPECT_NEAR(um, 250.0, 10.0) << shown;
    wchar_t shots[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"ORVANE_SCREENSHOT_DIR", shots, MAX_PATH)) {
        EXPECT_TRUE(
            SaveWindowImage(editor, std::wstring(shots) + L"\\picture-editor-measured.bmp"));
    }
    PostMessageW(editor, WM_COMMAND, kEditorClose, 0);
    if (HWND prompt = program_.WaitForBox(L"Orvane picture editor", 3000))
        PostMessageW(prompt, WM_COMMAND, 7, 0);  // No
    EXPECT_EQ(WaitForEditor(false), nullptr);
}

}  // namespace
}  // namespace orvane::test
