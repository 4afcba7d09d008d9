// The picture editor of the real program as a user meets it: real clicks and keys, the texts of
// its boxes in French, and what it records of a picture opened without side file.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
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
constexpr int kEditorFrame = 505;
constexpr int kEditorSaveAs = 514;
constexpr int kEditorText = 516;
constexpr int kEditorMeasure = 515;
constexpr int kEditorClose = 506;
constexpr DWORD kFrench = 504;

std::wstring PictureFolder() {
    return DocumentsFolder() + L"\\Orvane\\pictures";
}

std::wstring ControlText(HWND control) {
    wchar_t text[256] = {};
    SendMessageW(control, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

MediaInfoRecord ReadSideFile(const std::wstring& picture) {
    const std::u16string side = SideFilePath(std::u16string(picture.begin(), picture.end()));
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(std::wstring(side.begin(), side.end()), &bytes)) return {};
    return MediaInfoRecord::FromBytes(bytes.data(), bytes.size());
}

bool WriteSideFile(const std::wstring& picture, double magnification) {
    MediaInfoRecord r;
    SetRecordText(r.mediaPath, std::u16string(picture.begin(), picture.end()));
    r.magnification = magnification;
    r.stillSize = r.pictureSize = 0x028001E0;
    const std::u16string side = SideFilePath(std::u16string(picture.begin(), picture.end()));
    const MediaInfoRecord::Bytes bytes = r.ToBytes();
    return WriteFileBytes(std::wstring(side.begin(), side.end()),
                          std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

class EditorAsUsersMeetIt : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetOrvaneState();
        CreateDirectoryW((DocumentsFolder() + L"\\Orvane").c_str(), nullptr);
        CreateDirectoryW(PictureFolder().c_str(), nullptr);
        CreateDirectoryW((PictureFolder() + L"\\Info").c_str(), nullptr);
    }
    void TearDown() override {
        if (main_ && program_.Running()) {
            PostMessageW(main_, WM_COMMAND, IDCANCEL, 0);
            for (int i = 0; i < 50 && program_.Running(); ++i) {
                // A question left open (a failed check) must not keep the program alive.
                for (HWND w : program_.TopLevelWindows()) {
                    if (w != main_ && IsWindowVisible(w)) PostMessageW(w, WM_COMMAND, 7, 0);
                }
                SleepMs(100);
            }
            program_.WaitForExit(15000);
        }
        ResetOrvaneState();
    }
    void Seed(int count, int width = 640, int height = 480) {
        for (int n = 1; n <= count; ++n) {
            ASSERT_TRUE(WriteFileBytes(PictureFolder() + L"\\" + CaptureFileName(n),
                                       SolidBmp(width, height, 210, 210, 210)));
        }
    }
    void Launch() {
        ASSERT_TRUE(program_.Start());
        main_ = program_.WaitForMainWindow();
        ASSERT_NE(main_, nullptr);
        if (HWND notice = program_.WaitForBox(L"Orvane", 3000)) {
            PostMessageW(notice, WM_COMMAND, IDOK, 0);
        }
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
    // The editor on the picture of cell k, opened with a real double click.
    HWND OpenByDoubleClick(int k) {
        for (int i = 0; i < 50 && !IsWindowVisible(Cell(k)); ++i) SleepMs(100);
        DoubleClickAt(CentreOf(Cell(k)));
        for (int i = 0; i < 100 && !Editor(); ++i) SleepMs(100);
        return Editor();
    }
    HWND Canvas(HWND editor) const { return GetWindow(GetDlgItem(editor, kEditorFrame), GW_CHILD); }
    static int ChangedPixels(const ScreenPicture& a, const ScreenPicture& b) {
        if (a.pixels.size() != b.pixels.size()) return -1;
        int changed = 0;
        for (size_t i = 0; i < a.pixels.size(); ++i) changed += a.pixels[i] != b.pixels[i];
        return changed;
    }
    // A visible box of the program other than the main window (tooltips aside).
    HWND AnyBox() const {
        for (HWND w : program_.TopLevelWindows()) {
            wchar_t name[64] = {};
            GetClassNameW(w, name, 64);
            if (w != main_ && IsWindowVisible(w) && std::wstring(name) != L"tooltips_class32") {
                return w;
            }
        }
        return nullptr;
    }
    // A box by its caption, whatever its controls (the magnification box has a field 1004 as
    // the main window has).
    HWND WaitForTitled(const std::wstring& caption, DWORD timeoutMs = 5000) const {
        for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
            for (HWND w : program_.TopLevelWindows()) {
                if (w != main_ && IsWindowVisible(w) && WindowText(w) == caption) return w;
            }
            SleepMs(50);
        }
        return nullptr;
    }
    OrvaneProcess program_;
    HWND main_ = nullptr;
    NoCamera noCamera_;
};

TEST_F(EditorAsUsersMeetIt, EscAndEnterCloseNothingWhateverHasTheFocus) {
    Seed(2);
    Launch();
    HWND editor = OpenByDoubleClick(1);
    ASSERT_NE(editor, nullptr) << "a real double click opens the editor";
    // A hovered button takes the focus; the canvas takes it when the pointer is over it.
    for (int target : {kEditorSaveAs, kEditorClose, kEditorFrame}) {
        HWND over = target == kEditorFrame ? Canvas(editor) : GetDlgItem(editor, target);
        MoveMouseTo(CentreOf(over));
        SleepMs(200);
        PressKey(VK_ESCAPE);
        PressKey(VK_RETURN);
        SleepMs(600);
        ASSERT_TRUE(program_.Running()) << "Esc over control " << target << " ended the program";
        EXPECT_EQ(Editor(), editor) << "the editor is still open (control " << target << ")";
        EXPECT_EQ(AnyBox(), nullptr) << "no box opened (control " << target << ")";
    }
}

// Where the editor's keyboard input went: for a failure's message.
std::string KeyboardReport(HWND editor) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(editor, nullptr), &info);
    char focus[64] = {}, front[64] = {};
    GetClassNameA(info.hwndFocus, focus, sizeof focus);
    GetClassNameA(GetForegroundWindow(), front, sizeof front);
    return std::string("focus on a ") + focus + ", in front a " + front +
           (info.hwndCaret ? ", with a caret" : ", no caret");
}

TEST_F(EditorAsUsersMeetIt, DeleteAndBackspaceEditTheTextAndLeaveThePictureAlone) {
    Seed(2);
    Launch();
    HWND editor = OpenByDoubleClick(1);
    ASSERT_NE(editor, nullptr);
    HWND canvas = Canvas(editor);
    ClickAt(CentreOf(GetDlgItem(editor, kEditorText)));
    SleepMs(200);
    ClickAt(ClientPoint(canvas, 100, 100));
    SleepMs(300);
    // Where the text goes, as it is before typing (with the typing cursor).
    RECT area{100, 90, 220, 140};
    MapWindowPoints(canvas, nullptr, reinterpret_cast<POINT*>(&area), 2);
    const ScreenPicture empty = CaptureScreen(area);
    ASSERT_FALSE(empty.pixels.empty());
    // The program in front, and the pointer over the canvas, which gives it the keyboard.
    ASSERT_TRUE(BringToFront(main_));
    MoveMouseTo(ClientPoint(canvas, 300, 300));
    MoveMouseTo(ClientPoint(canvas, 301, 300));
    TypeText(L"WWW");
    auto changed = [&] { return ChangedPixels(empty, CaptureScreen(area)); };
    for (int i = 0; i < 20 && changed() <= 50; ++i) SleepMs(100);
    ASSERT_GT(changed(), 50) << "typed text shows on the canvas; " << KeyboardReport(editor);
    PressKey(VK_DELETE);
    PressKey(VK_BACK);
    PressKey(VK_DELETE);
    for (int i = 0; i < 20 && changed() != 0; ++i) SleepMs(100);
    EXPECT_EQ(changed(), 0) << "Delete and Backspace took the characters away";
    EXPECT_EQ(AnyBox(), nullptr) << "no question about the picture's file";
    EXPECT_TRUE(GetFileAttributesW((PictureFolder() + L"\\" + CaptureFileName(1)).c_str()) !=
                INVALID_FILE_ATTRIBUTES)
        << "the open picture stays in its folder";
    EXPECT_EQ(Editor(), editor);
}

TEST_F(EditorAsUsersMeetIt, TheFrameAroundTheCanvasPaintsTheWindowsBackground) {
    Seed(1, 200, 600);  // narrow: the canvas leaves room on both sides of the frame
    Launch();
    HWND editor = OpenByDoubleClick(1);
    ASSERT_NE(editor, nullptr);
    SleepMs(500);
    HWND frame = GetDlgItem(editor, kEditorFrame);
    RECT frameRect, canvasRect;
    GetWindowRect(frame, &frameRect);
    GetWindowRect(Canvas(editor), &canvasRect);
    ASSERT_GT(frameRect.right - canvasRect.right, 20) << "the canvas is narrower than its frame";
    const int y = (canvasRect.top + canvasRect.bottom) / 2;
    for (int x :
         {frameRect.left + 5, canvasRect.left - 5, canvasRect.right + 5, frameRect.right - 5}) {
        const ScreenPicture p = CaptureScreen({x, y, x + 1, y + 1});
        ASSERT_EQ(p.pixels.size(), 1u);
        EXPECT_EQ(p.pixels[0], 0xE9E9EEu) << "at x " << x;
    }
}

TEST_F(EditorAsUsersMeetIt, AFrenchUserReadsEveryBoxInFrench) {
    PutDword(L"Language", kFrench);
    Seed(2);
    const std::wstring first = PictureFolder() + L"\\" + CaptureFileName(1);
    ASSERT_TRUE(WriteSideFile(first, 123.456789));
    Launch();
    HWND editor = OpenByDoubleClick(1);
    ASSERT_NE(editor, nullptr);

    // The four choosers, opened by their commands.
    struct Chooser {
        UINT command;
        const wchar_t* title;
    };
    for (const Chooser& c :
         {Chooser{32826, L"\u00c9paisseur de trait"}, Chooser{32852, L"\u00c9paisseur de trait"},
          Chooser{32827, L"Style de trait"}, Chooser{32851, L"Style de trait"}}) {
        PostMessageW(editor, WM_COMMAND, c.command, 0);
        HWND box = program_.WaitForBox(c.title, 5000);
        ASSERT_NE(box, nullptr) << "command " << c.command << " opens its chooser titled";
        EXPECT_EQ(ControlText(GetDlgItem(box, IDOK)), L"OK");
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        for (int i = 0; i < 30 && program_.FindBox(c.title); ++i) SleepMs(100);
    }

    // Set picture magnification: its texts, and the start value kept whole through OK.
    PostMessageW(editor, WM_COMMAND, 32892, 0);
    HWND set = WaitForTitled(L"D\u00e9finir le grossissement");
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(ControlText(GetDlgItem(set, 537)), L"Grossissement :(1.00~9999.99)");
    EXPECT_EQ(ControlText(GetDlgItem(set, 539)),
              L"  Saisissez le grossissement exact, sinon la valeur mesur\u00e9e sera fausse !");
    EXPECT_EQ(ControlText(GetDlgItem(set, IDCANCEL)), L"Annuler");
    EXPECT_EQ(ControlText(GetDlgItem(set, 1004)), L"123.456789");
    PostMessageW(set, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 30 && IsWindow(set); ++i) SleepMs(100);

    // Reset it: Measure then asks for a calibration, in French, with one button.
    PostMessageW(editor, WM_COMMAND, 32894, 0);
    SleepMs(200);
    ClickAt(CentreOf(GetDlgItem(editor, kEditorMeasure)));
    HWND calibrate = program_.WaitForBox(L"Calibrage", 5000);
    ASSERT_NE(calibrate, nullptr) << "the calibration prompt";
    EXPECT_EQ(ControlText(GetDlgItem(calibrate, IDOK)), L"OK");
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(calibrate, 7)));
    PostMessageW(calibrate, WM_COMMAND, IDOK, 0);
    SleepMs(300);

    // The calibration line opens the calibration dialog in French.
    HWND canvas = Canvas(editor);
    ClickAt(ClientPoint(canvas, 60, 120));
    MoveMouseTo(ClientPoint(canvas, 260, 120));
    ClickAt(ClientPoint(canvas, 260, 120));
    HWND adjust = program_.WaitForBox(L"Ajuster le grossissement", 5000);
    ASSERT_NE(adjust, nullptr);
    EXPECT_EQ(ControlText(GetDlgItem(adjust, 534)), L"Unit\u00e9 :(mm)");
    EXPECT_EQ(ControlText(GetDlgItem(adjust, 536)), L"Dimension r\u00e9elle :");
    EXPECT_EQ(ControlText(GetDlgItem(adjust, 537)), L"Grossissement ajust\u00e9 :");
    EXPECT_EQ(ControlText(GetDlgItem(adjust, 535)), L"Utiliser le gross. ajust\u00e9 pour mesurer");
    PostMessageW(adjust, WM_CLOSE, 0, 0);
    for (int i = 0; i < 30 && program_.FindBox(L"Ajuster le grossissement"); ++i) SleepMs(100);

    // A drawn line, then Next: the modified-picture question in French; No goes on.
    PostMessageW(editor, WM_COMMAND, 32803, 0);
    ClickAt(ClientPoint(canvas, 40, 200));
    MoveMouseTo(ClientPoint(canvas, 200, 200));
    ClickAt(ClientPoint(canvas, 200, 200));
    SleepMs(200);
    PostMessageW(editor, WM_COMMAND, 522, 0);
    HWND prompt = program_.WaitForBox(L"\u00c9diteur d'images Orvane", 5000);
    ASSERT_NE(prompt, nullptr) << "the program's own question box";
    EXPECT_EQ(ControlText(GetDlgItem(prompt, IDOK)), L"Oui");
    EXPECT_EQ(ControlText(GetDlgItem(prompt, 7)), L"Non");
    PostMessageW(prompt, WM_COMMAND, 7, 0);
    SleepMs(800);
    EXPECT_EQ(ReadSideFile(first).magnification, 0.0) << "the reset went into the side file";
}

TEST_F(EditorAsUsersMeetIt, SetMagnificationWithoutAnEditKeepsTheValueWhole) {
    Seed(1);
    const std::wstring first = PictureFolder() + L"\\" + CaptureFileName(1);
    ASSERT_TRUE(WriteSideFile(first, 123.456789));
    Launch();
    HWND editor = OpenByDoubleClick(1);
    ASSERT_NE(editor, nullptr);
    PostMessageW(editor, WM_COMMAND, 32892, 0);
    HWND set = WaitForTitled(L"Set magnification");
    ASSERT_NE(set, nullptr);
    PostMessageW(set, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 30 && IsWindow(set); ++i) SleepMs(100);
    PostMessageW(editor, WM_COMMAND, kEditorClose, 0);
    for (int i = 0; i < 50 && Editor(); ++i) SleepMs(100);
    ASSERT_EQ(Editor(), nullptr);
    EXPECT_EQ(ReadSideFile(first).magnification, 123.456789);
}

// Without a side file the editor takes the picture for the photo size its width names, and
// records that as the size it was taken at.
TEST_F(EditorAsUsersMeetIt, PicturesWithoutSideFileAreMeasuredByTheirWidth) {
    struct Case {
        int width, height;
        uint32_t size;
    };
    const Case cases[] = {{800, 600, 0x05000400}, {1600, 1200, 0x064004B0}, {640, 480, 0x028001E0}};
    for (int n = 1; n <= 3; ++n) {
        const Case& c = cases[n - 1];
        ASSERT_TRUE(WriteFileBytes(PictureFolder() + L"\\" + CaptureFileName(n),
                                   SolidBmp(c.width, c.height, 200, 200, 200)));
    }
    Launch();
    HWND editor = OpenByDoubleClick(1);
    ASSERT_NE(editor, nullptr);
    for (int n = 2; n <= 3; ++n) {
        PostMessageW(editor, WM_COMMAND, 522, 0);  // Next: the one before gets its side file
        SleepMs(800);
    }
    PostMessageW(editor, WM_COMMAND, kEditorClose, 0);
    for (int i = 0; i < 50 && Editor(); ++i) SleepMs(100);
    for (int n = 1; n <= 3; ++n) {
        const MediaInfoRecord r = ReadSideFile(PictureFolder() + L"\\" + CaptureFileName(n));
        EXPECT_EQ(r.pictureSize, cases[n - 1].size) << "picture " << n;
        EXPECT_EQ(r.stillSize, cases[n - 1].size) << "picture " << n;
    }
}

}  // namespace
}  // namespace orvane::test

namespace orvane::test {
namespace {

constexpr UINT kMeasureLine = 32874;
constexpr UINT kMeasurementsCommand = 33301;
constexpr int kMeasurementsList = 1266;
constexpr int kMeasurementsCopy = 1267;
constexpr int kMeasurementsExport = 1268;

std::wstring Artifacts() {
    wchar_t unixPath[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"ORVANE_ARTIFACTS", unixPath, MAX_PATH)) return {};
    std::wstring folder = L"Z:";
    for (const wchar_t* c = unixPath; *c; ++c) folder += *c == L'/' ? L'\\' : *c;
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring ClipboardText() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* p = static_cast<const wchar_t*>(GlobalLock(h))) {
            text = p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return text;
}

std::vector<std::wstring> Split(const std::wstring& text, const std::wstring& by) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (size_t at; (at = text.find(by, start)) != std::wstring::npos; start = at + by.size()) {
        parts.push_back(text.substr(start, at - start));
    }
    if (start < text.size()) parts.push_back(text.substr(start));
    return parts;
}

bool WriteText(const std::wstring& path, const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::vector<uint8_t> bytes(static_cast<size_t>(n));
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                        reinterpret_cast<char*>(bytes.data()), n, nullptr, nullptr);
    return WriteFileBytes(path, bytes);
}

class EditorResults : public EditorAsUsersMeetIt {
  protected:
    // A picture taken at 40x by the model of 0.38093 mm a reference pixel, still 1280 x 960:
    // each of its 640 x 480 pixels covers 0.38093 * 2 / 40 mm.
    void SeedCalibrated() {
        Seed(1);
        MediaInfoRecord r;
        const std::wstring picture = PictureFolder() + L"\\" + CaptureFileName(1);
        SetRecordText(r.mediaPath, std::u16string(picture.begin(), picture.end()));
        r.magnification = 40.0;
        r.deviceCode = 0x0C4562C0;
        r.stillSize = 0x050003C0;
        r.pictureSize = 0x028001E0;
        const std::u16string side = SideFilePath(std::u16string(picture.begin(), picture.end()));
        const MediaInfoRecord::Bytes bytes = r.ToBytes();
        ASSERT_TRUE(WriteFileBytes(std::wstring(side.begin(), side.end()),
                                   std::vector<uint8_t>(bytes.begin(), bytes.end())));
    }
    // A measured line with the tool chosen already (choosing it again would put it away).
    void MeasureLine(HWND editor, POINT a, POINT b) {
        HWND canvas = Canvas(editor);
        ClickAt(ClientPoint(canvas, a.x, a.y));
        MoveMouseTo(ClientPoint(canvas, b.x, b.y));
        ClickAt(ClientPoint(canvas, b.x, b.y));
        MoveMouseTo(ClientPoint(canvas, b.x, b.y + 40));
        ClickAt(ClientPoint(canvas, b.x, b.y + 40));  // where the label goes
        SleepMs(300);
    }
    HWND OpenMeasurements(HWND editor) {
        PostMessageW(editor, WM_COMMAND, kMeasurementsCommand, 0);
        return WaitForTitled(L"Measurements");
    }
    // Answers the classic save dialog with a full name (and a filter, 1-based, when given).
    bool AnswerSave(const std::wstring& path, int filter = 0) {
        HWND box = nullptr;
        for (int i = 0; i < 100 && !box; ++i) {
            for (HWND w : program_.TopLevelWindows()) {
                if (IsWindowVisible(w) && (GetDlgItem(w, 0x480) || GetDlgItem(w, 0x47C))) box = w;
            }
            SleepMs(50);
        }
        if (!box) {
            for (HWND w : program_.TopLevelWindows()) {
                wchar_t cls[64] = {};
                GetClassNameW(w, cls, 64);
                printf("window '%ls' class %ls visible %d\n", WindowText(w).c_str(), cls,
                       IsWindowVisible(w));
            }
            return false;
        }
        SleepMs(300);
        if (filter > 0) {
            SendDlgItemMessageW(box, 0x470, CB_SETCURSEL, filter - 1, 0);
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(0x470, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, 0x470)));
            SleepMs(200);
        }
        // The classic dialog's name field, or the newer one's name box.
        HWND name = GetDlgItem(box, 0x480) ? GetDlgItem(box, 0x480) : GetDlgItem(box, 0x47C);
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        for (int i = 0; i < 80 && IsWindow(box); ++i) SleepMs(100);
        SleepMs(500);
        return !IsWindow(box);
    }
};

// Two lengths measured: the table lists them with the values their own points give by the
// picture's calibration, Copy puts the same rows on the clipboard, Export... writes them as
// CSV (read by Python's csv module on the host), undo takes a row away, and the rows come
// back with the picture. A TIFF of the picture carries its calibration (read by ImageJ).
TEST_F(EditorResults, TheTableHoldsEveryMeasurementAsItsLabelSaysAndLeavesWithThePicture) {
    SeedCalibrated();
    const std::wstring artifacts = Artifacts();
    ASSERT_FALSE(artifacts.empty()) << "ORVANE_ARTIFACTS names where the host checks";
    Launch();
    HWND editor = OpenByDoubleClick(1);
    ASSERT_NE(editor, nullptr);
    PostMessageW(editor, WM_COMMAND, kMeasureLine, 0);
    SleepMs(200);
    MeasureLine(editor, {60, 80}, {300, 80});
    MeasureLine(editor, {100, 200}, {100, 360});

    HWND table = OpenMeasurements(editor);
    ASSERT_NE(table, nullptr) << "the Measurements window";
    SaveScreenshotIfAsked(editor, L"measurements-window.bmp");
    EXPECT_EQ(SendDlgItemMessageW(table, kMeasurementsList, LB_GETCOUNT, 0, 0), 3)
        << "a header and two rows";
    ClickAt(CentreOf(GetDlgItem(table, kMeasurementsCopy)));
    SleepMs(400);
    const std::wstring copied = ClipboardText();
    std::vector<std::wstring> lines = Split(copied, L"\r\n");
    ASSERT_EQ(lines.size(), 3u) << "header and two rows on the clipboard";
    const std::vector<std::wstring> header = Split(lines[0], L"\t");
    const auto column = [&](const wchar_t* name) {
        return std::find(header.begin(), header.end(), name) - header.begin();
    };
    const size_t length = static_cast<size_t>(column(L"Length"));
    const size_t points = static_cast<size_t>(column(L"Points (pixels)"));
    ASSERT_LT(length, header.size());
    ASSERT_LT(points, header.size());
    for (size_t row = 1; row < lines.size(); ++row) {
        const std::vector<std::wstring> f = Split(lines[row], L"\t");
        ASSERT_GT(f.size(), std::max(length, points));
        int x1, y1, x2, y2;
        ASSERT_EQ(swscanf(f[points].c_str(), L"(%d,%d) (%d,%d)", &x1, &y1, &x2, &y2), 4)
            << f[points];
        const double mm = std::hypot(x2 - x1, y2 - y1) * 0.38093 * 2 / 40;
        wchar_t label[32];
        swprintf(label, 32, L"%.3f", mm);
        EXPECT_EQ(f[length], label) << "row " << row << ": the editor's length of its points";
    }
    ASSERT_TRUE(WriteText(artifacts + L"\\editor-table.tsv", copied));
    const std::wstring csv = artifacts + L"\\editor-table.csv";
    DeleteFileW(csv.c_str());
    ClickAt(CentreOf(GetDlgItem(table, kMeasurementsExport)));
    ASSERT_TRUE(AnswerSave(csv));
    EXPECT_NE(GetFileAttributesW(csv.c_str()), INVALID_FILE_ATTRIBUTES) << "the CSV is written";
    PostMessageW(table, WM_COMMAND, IDCANCEL, 0);
    for (int i = 0; i < 30 && IsWindow(table); ++i) SleepMs(100);

    // Undo takes the second row away.
    PostMessageW(editor, WM_COMMAND, 521, 0);
    SleepMs(300);
    table = OpenMeasurements(editor);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(SendDlgItemMessageW(table, kMeasurementsList, LB_GETCOUNT, 0, 0), 2);
    PostMessageW(table, WM_COMMAND, IDCANCEL, 0);
    for (int i = 0; i < 30 && IsWindow(table); ++i) SleepMs(100);

    // A TIFF of the picture as it stands.
    const std::wstring tiff = artifacts + L"\\editor-copy.TIF";
    DeleteFileW(tiff.c_str());
    PostMessageW(editor, WM_COMMAND, 514, 0);
    ASSERT_TRUE(AnswerSave(tiff.substr(0, tiff.size() - 4), 3));
    EXPECT_NE(GetFileAttributesW(tiff.c_str()), INVALID_FILE_ATTRIBUTES) << "the TIFF is written";
    char expected[96];
    snprintf(expected, sizeof expected, "editor-copy.TIF %.12g\n", 0.38093 * 2 / 40 / 10);
    ASSERT_TRUE(WriteFileBytes(artifacts + L"\\editor-copy.expected",
                               std::vector<uint8_t>(expected, expected + strlen(expected))));

    // Leaving the picture keeps its one row beside its side file; opened again, it is back.
    PostMessageW(editor, WM_COMMAND, 506, 0);
    if (HWND prompt = WaitForTitled(L"Orvane picture editor", 3000)) {
        PostMessageW(prompt, WM_COMMAND, 7, 0);  // No: the annotations are not saved as a copy
    }
    for (int i = 0; i < 50 && Editor(); ++i) SleepMs(100);
    ASSERT_EQ(Editor(), nullptr);
    const std::wstring rows = PictureFolder() + L"\\Info\\TX0000001.csv";
    EXPECT_NE(GetFileAttributesW(rows.c_str()), INVALID_FILE_ATTRIBUTES) << "the rows file";
    editor = OpenByDoubleClick(1);
    ASSERT_NE(editor, nullptr);
    table = OpenMeasurements(editor);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(SendDlgItemMessageW(table, kMeasurementsList, LB_GETCOUNT, 0, 0), 2)
        << "the row read back with the picture";
    PostMessageW(table, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace
}  // namespace orvane::test
