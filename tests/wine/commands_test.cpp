// The file commands of the real program on the strip's selection: delete through the recycle
// bin with the companion files, declining, a selection whose files are gone, and the two
// clipboard copies read back by this (another) program.
#include <gtest/gtest.h>

#include <windows.h>

#include <objidl.h>
#include <gdiplus.h>
#include <shellapi.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <climits>
#include <limits>
#include <cstring>
#include <string>
#include <vector>

#include "capture_files.h"
#include "media/media_info.h"
#include "media/stamp/pixel_rows.h"
#include "platform/wide.h"
#include "results/calibration.h"
#include "results/scale_bar.h"
#include "results/tiff_writer.h"
#include "registry_reader.h"
#include "orvane_process.h"
#include "screen_picture.h"
#include "test_pictures.h"

namespace orvane::test {
namespace {

constexpr int kFirstCell = 8192;
constexpr UINT kFileDelete = 33282;
constexpr UINT kCopyImage = 33283;
constexpr UINT kCopyFile = 33284;

int CellId(int k) {
    return kFirstCell + ((k - 1) % 2) * 8 + (k - 1) / 2;
}

std::wstring PictureFolder() {
    return DocumentsFolder() + L"\\Orvane\\pictures";
}
std::wstring VideoFolder() {
    return DocumentsFolder() + L"\\Orvane\\videos";
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    return WriteFileBytes(path, bytes);
}

// A width x 48 24-bit picture of one colour; widths not a multiple of four get padded rows.
std::vector<uint8_t> BmpBytes(int width, uint8_t r, uint8_t g, uint8_t b) {
    return SolidBmp(width, 48, r, g, b);
}

bool WriteJpeg(const std::wstring& path, int width, int height) {
    Gdiplus::Bitmap image(width, height, PixelFormat24bppRGB);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.SetPixel(x, y, Gdiplus::Color(255, 40, 160, 220));
    UINT count = 0, size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    std::vector<uint8_t> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, size, codecs);
    for (UINT i = 0; i < count; ++i) {
        if (wcscmp(codecs[i].MimeType, L"image/jpeg") == 0)
            return image.Save(path.c_str(), &codecs[i].Clsid, nullptr) == Gdiplus::Ok;
    }
    return false;
}

// Wine's recycle bin is the desktop trash of the Unix user: files named after the deleted one
// (with a suffix once the name is taken) in ~/.local/share/Trash/files. Wine names the home
// folder in WINEHOMEDIR as "\??\Z:\...".
size_t TrashedCopies(const wchar_t* name) {
    wchar_t home[MAX_PATH]{};
    const DWORD length = GetEnvironmentVariableW(L"WINEHOMEDIR", home, MAX_PATH);
    std::wstring folder(home, length < MAX_PATH ? length : 0);
    if (folder.rfind(L"\\??\\", 0) == 0) folder.erase(0, 4);
    EXPECT_FALSE(folder.empty()) << "Wine names the home folder";
    folder += L"\\.local\\share\\Trash\\files";
    return CaptureFiles(folder, (std::wstring(name) + L"*").c_str()).size();
}

class Commands : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetOrvaneState();
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&gdiplus_, &input, nullptr);
        CreateDirectoryW((DocumentsFolder() + L"\\Orvane").c_str(), nullptr);
        CreateDirectoryW(PictureFolder().c_str(), nullptr);
        CreateDirectoryW((PictureFolder() + L"\\Info").c_str(), nullptr);
        CreateDirectoryW(VideoFolder().c_str(), nullptr);
        CreateDirectoryW((VideoFolder() + L"\\thumb").c_str(), nullptr);
    }
    void TearDown() override {
        if (main_) {
            PostMessageW(main_, WM_COMMAND, IDCANCEL, 0);
            if (!program_.WaitForExit(15000)) {
                ADD_FAILURE() << "the program did not end within 15 s of its close";
            }
        }
        ResetOrvaneState();
        Gdiplus::GdiplusShutdown(gdiplus_);
    }
    // Pictures TX0000001..3.BMP with a side file for the second, and the clip TX0000004.AVI
    // with its thumbnail.
    void SeedPicturesAndClip() {
        for (int n = 1; n <= 3; ++n) {
            ASSERT_TRUE(WriteBytes(Picture(n), BmpBytes(64, static_cast<uint8_t>(n * 40), 90, 20)));
        }
        ASSERT_TRUE(WriteBytes(PictureFolder() + L"\\Info\\TX0000002", {1, 2, 3}));
        ASSERT_TRUE(WriteBytes(Clip(), {'R', 'I', 'F', 'F', 0, 0, 0, 0}));
        ASSERT_TRUE(WriteBytes(ClipThumb(), BmpBytes(64, 10, 200, 10)));
    }
    static std::wstring Picture(int n) {
        wchar_t name[32];
        swprintf(name, 32, L"\\TX%07d.BMP", n);
        return PictureFolder() + name;
    }
    static std::wstring Clip() { return VideoFolder() + L"\\TX0000004.AVI"; }
    static std::wstring ClipThumb() { return VideoFolder() + L"\\thumb\\TX0000004.BMP"; }
    void Launch() {
        ASSERT_TRUE(program_.Start());
        main_ = program_.WaitForMainWindow();
        ASSERT_NE(main_, nullptr);
        SleepMs(1500);
    }
    // The cell showing the file whose name ends the path, 0 when none does.
    int CellShowing(const std::wstring& path) const {
        const std::wstring name = path.substr(path.rfind(L'\\') + 1);
        for (int k = 1; k <= 16; ++k) {
            HWND cell = GetDlgItem(main_, CellId(k));
            if (!cell || !IsWindowVisible(cell)) continue;
            const std::wstring shown = WindowText(cell);
            if (shown.size() >= name.size() &&
                _wcsicmp(shown.substr(shown.size() - name.size()).c_str(), name.c_str()) == 0)
                return k;
        }
        return 0;
    }
    // Plain click on the first path's cell, Ctrl+click on the others.
    void Select(const std::vector<std::wstring>& paths) {
        bool first = true;
        for (const std::wstring& path : paths) {
            // A loaded machine fills the strip later than an idle one.
            int k = CellShowing(path);
            for (int i = 0; i < 100 && k == 0; ++i, k = CellShowing(path)) SleepMs(100);
            ASSERT_NE(k, 0) << "no cell shows " << std::string(path.begin(), path.end());
            PostMessageW(GetDlgItem(main_, CellId(k)), WM_LBUTTONDOWN,
                         MK_LBUTTON | (first ? 0 : MK_CONTROL), MAKELPARAM(50, 50));
            first = false;
            SleepMs(700);  // never a double click
        }
    }
    // The visible dialogs of the program other than its main window (the no-camera notice
    // among them).
    std::vector<HWND> Dialogs() const {
        std::vector<HWND> found;
        for (HWND w : program_.TopLevelWindows()) {
            wchar_t cls[32]{};
            GetClassNameW(w, cls, 32);
            if (w != main_ && IsWindowVisible(w) && wcscmp(cls, L"#32770") == 0) found.push_back(w);
        }
        return found;
    }
    // A dialog that was not open before the last command (the shell's question).
    HWND WaitForQuestion(DWORD timeoutMs) const {
        for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
            for (HWND w : Dialogs()) {
                if (std::find(before_.begin(), before_.end(), w) == before_.end()) return w;
            }
            SleepMs(100);
        }
        return nullptr;
    }
    // A picture of the window into the screenshot folder, when the run names one.
    static void Shoot(HWND window, const wchar_t* name) {
        wchar_t shots[MAX_PATH] = {};
        if (!GetEnvironmentVariableW(L"ORVANE_SCREENSHOT_DIR", shots, MAX_PATH)) return;
        SleepMs(300);
        SaveWindowImage(window, std::wstring(shots) + L"\\" + name);
    }
    void Command(UINT id) {
        before_ = Dialogs();
        PostMessageW(main_, WM_COMMAND, id, 0);
    }

    ULONG_PTR gdiplus_ = 0;
    OrvaneProcess program_;
    HWND main_ = nullptr;
    std::vector<HWND> before_;
    NoCamera noCamera_;
};

TEST_F(Commands, DeleteAsksOnceThenCompanionsFollowIntoTheRecycleBin) {
    SeedPicturesAndClip();
    Launch();
    const std::wstring cache = PictureFolder() + L"\\INFO\\TX0000002.BMP";
    ASSERT_TRUE(Exists(cache)) << "the strip made the picture's cached thumbnail";
    const size_t trashedPictures = TrashedCopies(L"TX0000002.BMP");
    const size_t trashedClips = TrashedCopies(L"TX0000004.AVI");
    Select({Picture(2), ClipThumb()});
    Command(kFileDelete);
    HWND question = WaitForQuestion(8000);
    ASSERT_NE(question, nullptr) << "the shell asks before deleting";
    PostMessageW(question, WM_COMMAND, IDYES, 0);
    for (int i = 0; i < 50 && Exists(Picture(2)); ++i) SleepMs(100);
    SleepMs(1000);
    EXPECT_EQ(WaitForQuestion(500), nullptr) << "the companions go without a second question";
    EXPECT_FALSE(Exists(Picture(2)));
    EXPECT_FALSE(Exists(Clip()));
    EXPECT_FALSE(Exists(PictureFolder() + L"\\Info\\TX0000002"));
    EXPECT_FALSE(Exists(cache));
    EXPECT_FALSE(Exists(ClipThumb()));
    EXPECT_TRUE(Exists(Picture(1)));
    EXPECT_TRUE(Exists(Picture(3)));
    // The picture and its cached thumbnail share a name: both land in the bin.
    EXPECT_EQ(TrashedCopies(L"TX0000002.BMP"), trashedPictures + 2) << "kept in the recycle bin";
    EXPECT_EQ(TrashedCopies(L"TX0000004.AVI"), trashedClips + 1);
    EXPECT_EQ(CellShowing(Picture(2)), 0) << "the strip is rebuilt";
    EXPECT_NE(CellShowing(Picture(3)), 0);
}

TEST_F(Commands, DecliningKeepsEverything) {
    SeedPicturesAndClip();
    Launch();
    Select({Picture(1), ClipThumb()});
    Command(kFileDelete);
    HWND question = WaitForQuestion(8000);
    ASSERT_NE(question, nullptr);
    PostMessageW(question, WM_COMMAND, IDNO, 0);
    SleepMs(1500);
    EXPECT_TRUE(Exists(Picture(1)));
    EXPECT_TRUE(Exists(Clip()));
    EXPECT_TRUE(Exists(ClipThumb()));
    EXPECT_TRUE(Exists(PictureFolder() + L"\\INFO\\TX0000001.BMP"));
    EXPECT_NE(CellShowing(Picture(1)), 0);
    EXPECT_TRUE(program_.Running());
}

TEST_F(Commands, FilesDeletedBehindTheProgramsBackAreLeftOut) {
    SeedPicturesAndClip();
    Launch();
    Select({Picture(1), Picture(3)});
    ASSERT_TRUE(DeleteFileW(Picture(1).c_str()));
    Command(kFileDelete);
    HWND question = WaitForQuestion(8000);
    ASSERT_NE(question, nullptr) << "the file still there is asked about";
    PostMessageW(question, WM_COMMAND, IDYES, 0);
    for (int i = 0; i < 50 && Exists(Picture(3)); ++i) SleepMs(100);
    SleepMs(800);
    EXPECT_FALSE(Exists(Picture(3)));
    EXPECT_TRUE(Exists(Picture(2)));
    EXPECT_EQ(CellShowing(Picture(1)), 0);
    EXPECT_EQ(CellShowing(Picture(3)), 0);
    // Nothing left of the selection on disk: no question, the strip catches up.
    Select({Picture(2)});
    ASSERT_TRUE(DeleteFileW(Picture(2).c_str()));
    Command(kFileDelete);
    EXPECT_EQ(WaitForQuestion(2000), nullptr);
    EXPECT_EQ(CellShowing(Picture(2)), 0);
    EXPECT_TRUE(program_.Running());
}

TEST_F(Commands, CopyFilePutsThePathsAClipAsItsVideo) {
    SeedPicturesAndClip();
    Launch();
    Select({Picture(1), ClipThumb(), Picture(3)});
    Command(kCopyFile);
    SleepMs(800);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE drop = GetClipboardData(CF_HDROP);
    std::vector<std::wstring> paths;
    if (drop) {
        const UINT count = DragQueryFileW(static_cast<HDROP>(drop), 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            wchar_t path[MAX_PATH]{};
            DragQueryFileW(static_cast<HDROP>(drop), i, path, MAX_PATH);
            paths.push_back(path);
        }
    }
    DWORD effect = 0;
    if (HANDLE e = GetClipboardData(RegisterClipboardFormatW(L"Preferred DropEffect"))) {
        if (void* p = GlobalLock(e)) {
            memcpy(&effect, p, 4);
            GlobalUnlock(e);
        }
    }
    CloseClipboard();
    ASSERT_EQ(paths.size(), 3u);
    EXPECT_EQ(_wcsicmp(paths[0].c_str(), Picture(1).c_str()), 0);
    EXPECT_EQ(_wcsicmp(paths[1].c_str(), Clip().c_str()), 0) << "a clip as its video";
    EXPECT_EQ(_wcsicmp(paths[2].c_str(), Picture(3).c_str()), 0);
    EXPECT_EQ(effect, 1u) << "copy, not move";
    // Another program can copy the files it was given.
    const std::wstring copy = DocumentsFolder() + L"\\Orvane\\pasted.bmp";
    ASSERT_TRUE(CopyFileW(paths[2].c_str(), copy.c_str(), FALSE));
    std::vector<uint8_t> a, b;
    ASSERT_TRUE(ReadWholeFile(copy, &a));
    ASSERT_TRUE(ReadWholeFile(Picture(3), &b));
    EXPECT_EQ(a, b);
}

// The CF_DIB of the clipboard, empty when there is none.
std::vector<uint8_t> ClipboardDib() {
    std::vector<uint8_t> dib;
    if (!OpenClipboard(nullptr)) return dib;
    if (HANDLE h = GetClipboardData(CF_DIB)) {
        const SIZE_T size = GlobalSize(h);
        if (const auto* p = static_cast<const uint8_t*>(GlobalLock(h))) {
            dib.assign(p, p + size);
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return dib;
}

TEST_F(Commands, CopyImageGivesTheBitmapOfABmpAndOfADecodedJpeg) {
    // An odd width: rows with padding.
    ASSERT_TRUE(WriteBytes(Picture(1), BmpBytes(33, 200, 30, 60)));
    ASSERT_TRUE(WriteJpeg(PictureFolder() + L"\\TX0000002.JPG", 80, 60));
    wchar_t temp[MAX_PATH]{};
    GetTempPathW(MAX_PATH, temp);
    std::wstring decoded = temp;
    if (decoded.back() != L'\\') decoded += L'\\';
    decoded += L"Orvane.bmp";
    DeleteFileW(decoded.c_str());
    Launch();

    Select({Picture(1)});
    Command(kCopyImage);
    SleepMs(800);
    std::vector<uint8_t> file;
    ASSERT_TRUE(ReadWholeFile(Picture(1), &file));
    const std::vector<uint8_t> dib = ClipboardDib();
    ASSERT_GE(dib.size(), file.size() - 14);
    EXPECT_TRUE(std::equal(file.begin() + 14, file.end(), dib.begin()))
        << "the file after its header";

    Select({PictureFolder() + L"\\TX0000002.JPG"});
    Command(kCopyImage);
    SleepMs(1200);
    EXPECT_TRUE(Exists(decoded)) << "the decoded picture in the temporary folder";
    const std::vector<uint8_t> jpeg = ClipboardDib();
    ASSERT_GE(jpeg.size(), 40u);
    int32_t w = 0, h = 0;
    memcpy(&w, &jpeg[4], 4);
    memcpy(&h, &jpeg[8], 4);
    EXPECT_EQ(w, 80);
    EXPECT_EQ(h < 0 ? -h : h, 60);
}

TEST_F(Commands, CopyImageWithTheClipboardHeldElsewhereChangesNothing) {
    ASSERT_TRUE(WriteBytes(Picture(1), BmpBytes(64, 1, 2, 3)));
    Launch();
    Select({Picture(1)});
    // What another program put there, held open while the command runs.
    const std::wstring kept = L"another program's text";
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, (kept.size() + 1) * sizeof(wchar_t));
    ASSERT_NE(text, nullptr);
    memcpy(GlobalLock(text), kept.c_str(), (kept.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(text);
    ASSERT_NE(SetClipboardData(CF_UNICODETEXT, text), nullptr);
    Command(kCopyImage);
    SleepMs(800);
    CloseClipboard();
    SleepMs(500);  // a late retry by the program would show now
    EXPECT_TRUE(ClipboardDib().empty());
    ASSERT_TRUE(OpenClipboard(nullptr));
    const auto* held = static_cast<const wchar_t*>(
        GetClipboardData(CF_UNICODETEXT) ? GlobalLock(GetClipboardData(CF_UNICODETEXT)) : nullptr);
    const std::wstring after = held ? held : L"";
    if (held) GlobalUnlock(GetClipboardData(CF_UNICODETEXT));
    CloseClipboard();
    EXPECT_EQ(after, kept) << "the other program's text stays on the clipboard";
    EXPECT_TRUE(program_.Running());
    EXPECT_EQ(WaitForQuestion(300), nullptr) << "no message: nothing of the user's is lost";
}

void PutString(const wchar_t* name, const std::wstring& text) {
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Orvane", name, REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::wstring ReadText(const std::wstring& path) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, &bytes)) return {};
    std::wstring text(bytes.begin(), bytes.end());
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
        text.pop_back();
    return text;
}

// PDF files opened through the shell are recorded in a text file by a handler registered for
// the test (Wine's HKEY_CLASSES_ROOT does not take in the user's own classes); the previous
// handler comes back afterwards.
class PdfRecorder {
  public:
    explicit PdfRecorder(const std::wstring& record) {
        wchar_t old[256]{};
        DWORD size = sizeof old;
        hadOld_ = RegGetValueW(HKEY_CLASSES_ROOT, L".pdf", nullptr, RRF_RT_REG_SZ, nullptr, old,
                               &size) == ERROR_SUCCESS;
        old_ = old;
        const std::wstring command = L"cmd.exe /c echo %1>\"" + record + L"\"";
        ok_ = SetDefault(L".pdf", kProgId) &&
              SetDefault(std::wstring(kProgId) + L"\\shell\\open\\command", command);
    }
    ~PdfRecorder() {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
        if (hadOld_) {
            SetDefault(L".pdf", old_);
        } else {
            RegDeleteTreeW(HKEY_CLASSES_ROOT, L".pdf");
        }
    }
    PdfRecorder(const PdfRecorder&) = delete;
    PdfRecorder& operator=(const PdfRecorder&) = delete;
    bool Ok() const { return ok_; }

  private:
    static constexpr const wchar_t* kProgId = L"OrvaneTest.Pdf";
    static bool SetDefault(const std::wstring& key, const std::wstring& value) {
        return RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, value.c_str(),
                               static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
               ERROR_SUCCESS;
    }
    bool ok_ = false;
    bool hadOld_ = false;
    std::wstring old_;
};

TEST_F(Commands, ManualFollowsInstallPathWithOrWithoutSeparatorAndFallsBackToItsName) {
    const std::wstring install = DocumentsFolder() + L"\\Orvane\\cam";
    const std::wstring work = DocumentsFolder() + L"\\Orvane\\work";
    const std::wstring record = DocumentsFolder() + L"\\Orvane\\opened.txt";
    ASSERT_TRUE(CreateDirectoryW(install.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(work.c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(install + L"\\Manual_English.pdf", {'%'}));
    ASSERT_TRUE(WriteBytes(work + L"\\Manual_English.pdf", {'%'}));
    const PdfRecorder recorder(record);
    ASSERT_TRUE(recorder.Ok());
    wchar_t previous[MAX_PATH]{};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(work.c_str()));  // the program's current directory
    const DWORD language = 501;
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Orvane", L"Language", REG_DWORD, &language,
                    sizeof language);
    Launch();
    SetCurrentDirectoryW(previous);
    auto opened = [&](const std::wstring& installPath) {
        DeleteFileW(record.c_str());
        PutString(L"InstallPath", installPath);
        Command(32801);
        // The viewer is a process of its own, slow to start on a loaded machine; its record is
        // complete once it holds the path.
        std::wstring text;
        for (int i = 0; i < 200 && (text = ReadText(record)).empty(); ++i) SleepMs(100);
        return text;
    };
    const std::wstring expected = install + L"\\Manual_English.pdf";
    EXPECT_EQ(_wcsicmp(opened(install + L"\\").c_str(), expected.c_str()), 0);
    EXPECT_EQ(_wcsicmp(opened(install).c_str(), expected.c_str()), 0);
    const std::wstring fallback = opened(install + L"\\gone");
    const std::wstring inWork = work + L"\\Manual_English.pdf";
    EXPECT_TRUE(_wcsicmp(fallback.c_str(), inWork.c_str()) == 0 ||
                fallback == L"Manual_English.pdf")
        << std::string(fallback.begin(), fallback.end());
}

// Moves the mouse to (x, y), clicking there when asked.
void MouseAt(int x, int y, bool click) {
    SetCursorPos(x, y);
    INPUT input[3]{};
    input[0].type = input[1].type = input[2].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(click ? 3 : 1, input, sizeof(INPUT));
}

TEST_F(Commands, MagnificationFieldIsReadOnlyAndTakesOverItsTextOnLeavingIt) {
    Launch();
    HWND field = GetDlgItem(main_, 1004);
    ASSERT_NE(field, nullptr);
    EXPECT_NE(GetWindowLongW(field, GWL_STYLE) & ES_READONLY, 0);
    // The edit's own text: another process's GetWindowText does not ask the control.
    auto text = [field] {
        wchar_t buffer[300]{};
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(field, WM_GETTEXT, 300, reinterpret_cast<LPARAM>(buffer),
                            SMTO_ABORTIFHUNG, 3000, &copied);
        return std::wstring(buffer);
    };
    const UINT setMagnification = RegisterWindowMessageW(L"OrvaneSetMagnificaton");
    auto announce = [&](double value) {
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Orvane", L"InputMaginification", REG_BINARY,
                        &value, sizeof value);
        PostMessageW(main_, setMagnification, 0, 0);
        SleepMs(500);
    };
    SetForegroundWindow(main_);
    RECT r;
    GetWindowRect(field, &r);
    auto enterAndLeave = [&] {
        MouseAt(r.left + 10, (r.top + r.bottom) / 2, true);
        SleepMs(400);
        // The mouse over another window of the program takes the focus away.
        MouseAt(r.left + 10, r.top - 60, false);
        SleepMs(600);
    };
    announce(0.0);
    EXPECT_EQ(text(), std::wstring(30, L'-'));
    enterAndLeave();
    EXPECT_EQ(text(), L"") << "the hyphens are no value";

    announce(12.5);
    EXPECT_EQ(text(), L"12.50");
    enterAndLeave();
    EXPECT_EQ(text(), L"12.50");
    EXPECT_TRUE(program_.Running());
}

// Text of a window of the program, asked of the window itself.
std::wstring ControlText(HWND window) {
    wchar_t buffer[400]{};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 400, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                        3000, &copied);
    return buffer;
}

void SetControlText(HWND window, const std::wstring& text) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_ABORTIFHUNG, 3000, &result);
}

BOOL CALLBACK AppendChildText(HWND child, LPARAM all) {
    *reinterpret_cast<std::wstring*>(all) += ControlText(child) + L"|";
    return TRUE;
}

// The first slot of a folder history the program stored at exit.
std::wstring StoredHistoryHead(const wchar_t* name) {
    wchar_t slots[2600]{};
    DWORD size = sizeof slots;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Orvane", name, RRF_RT_ANY, nullptr, slots,
                     &size) != ERROR_SUCCESS) {
        return L"(none)";
    }
    return slots;
}

std::wstring StoredFolder(const wchar_t* name) {
    wchar_t path[260]{};
    DWORD size = sizeof path;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Orvane", name, RRF_RT_ANY, nullptr, path,
                     &size) != ERROR_SUCCESS) {
        return L"(none)";
    }
    return path;
}

TEST_F(Commands, FolderChooserMakesNewFoldersWithHiddenSideFoldersAndShowsTheirFiles) {
    const std::wstring pictures = DocumentsFolder() + L"\\Orvane\\new\\deep\\pics";
    const std::wstring videos = DocumentsFolder() + L"\\Orvane\\new\\vids";
    Launch();
    Command(32773);
    HWND chooser = program_.WaitForBox(L"Select folder", 5000);
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(_wcsicmp(ControlText(GetDlgItem(chooser, 1059)).c_str(), PictureFolder().c_str()), 0);
    EXPECT_EQ(ControlText(GetDlgItem(chooser, 1073)), L"Picture folder:");
    SetControlText(GetDlgItem(chooser, 1059), pictures);
    SetControlText(GetDlgItem(chooser, 1060), videos);
    Shoot(chooser, L"folder-chooser.bmp");
    PostMessageW(chooser, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 50 && IsWindow(chooser); ++i) SleepMs(100);
    EXPECT_FALSE(IsWindow(chooser));
    EXPECT_EQ(GetFileAttributesW(pictures.c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    const DWORD info = GetFileAttributesW((pictures + L"\\info").c_str());
    ASSERT_NE(info, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(info & FILE_ATTRIBUTE_HIDDEN, 0u);
    const DWORD thumb = GetFileAttributesW((videos + L"\\thumb").c_str());
    ASSERT_NE(thumb, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(thumb & FILE_ATTRIBUTE_HIDDEN, 0u);

    // A picture put there shows once the chooser is confirmed again (the lists are read anew).
    ASSERT_TRUE(WriteBytes(pictures + L"\\TX0000007.BMP", BmpBytes(64, 9, 9, 9)));
    Command(32773);
    chooser = program_.WaitForBox(L"Select folder", 5000);
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(SendMessageW(GetDlgItem(chooser, 1059), CB_GETCOUNT, 0, 0), 1)
        << "the new folder heads the history";
    PostMessageW(chooser, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 50 && IsWindow(chooser); ++i) SleepMs(100);
    SleepMs(500);
    EXPECT_NE(CellShowing(pictures + L"\\TX0000007.BMP"), 0);

    PostMessageW(main_, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(program_.WaitForExit(15000));
    main_ = nullptr;
    EXPECT_EQ(_wcsicmp(StoredFolder(L"PictureFolderPath").c_str(), pictures.c_str()), 0);
    EXPECT_EQ(_wcsicmp(StoredHistoryHead(L"PictureHistoryFolderPath").c_str(), pictures.c_str()),
              0);
    EXPECT_EQ(_wcsicmp(StoredHistoryHead(L"VideoHistoryFolderPath").c_str(), videos.c_str()), 0);
}

TEST_F(Commands, FolderChooserKeepsTheOldFoldersWhenNewOnesCannotBeMade) {
    ASSERT_TRUE(WriteBytes(Picture(1), BmpBytes(64, 50, 60, 70)));
    Launch();
    Command(32773);
    HWND chooser = program_.WaitForBox(L"Select folder", 5000);
    ASSERT_NE(chooser, nullptr);
    const std::wstring missingDrive = L"Q:\\nowhere\\pictures";
    const std::wstring tooLong = DocumentsFolder() + L"\\" + std::wstring(300, L'v');
    SetControlText(GetDlgItem(chooser, 1059), missingDrive);
    SetControlText(GetDlgItem(chooser, 1060), tooLong);
    PostMessageW(chooser, WM_COMMAND, IDOK, 0);
    HWND error = program_.WaitForBox(L"Error", 5000);
    ASSERT_NE(error, nullptr) << "the picture folder cannot be made";
    std::wstring shown;
    EnumChildWindows(error, AppendChildText, reinterpret_cast<LPARAM>(&shown));
    EXPECT_NE(shown.find(L"Create picture folder error!\n" + missingDrive), std::wstring::npos)
        << std::string(shown.begin(), shown.end());
    PostMessageW(error, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 50 && IsWindow(error); ++i) SleepMs(100);
    error = program_.WaitForBox(L"Error", 5000);
    ASSERT_NE(error, nullptr) << "nor the video folder";
    PostMessageW(error, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 50 && IsWindow(chooser); ++i) SleepMs(100);
    EXPECT_FALSE(IsWindow(chooser)) << "OK closes the chooser all the same";
    SleepMs(500);
    EXPECT_NE(CellShowing(Picture(1)), 0) << "the old folder's files";
    EXPECT_TRUE(program_.Running());
    PostMessageW(main_, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(program_.WaitForExit(15000));
    main_ = nullptr;
    EXPECT_EQ(_wcsicmp(StoredFolder(L"PictureFolderPath").c_str(), PictureFolder().c_str()), 0);
    EXPECT_EQ(StoredHistoryHead(L"PictureHistoryFolderPath"), L"");
}

TEST_F(Commands, StampSettingsAreMaskedShownAndStoredAtOnce) {
    const DWORD stored = 0x8128;  // only the low eight bits count: size and date
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Orvane", L"PhotoSavedInfo", REG_DWORD, &stored,
                    sizeof stored);
    Launch();
    Command(32778);
    HWND dialog = program_.WaitForBox(L"Photo save as display", 5000);
    ASSERT_NE(dialog, nullptr);
    auto checked = [dialog](int id) {
        return SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    };
    EXPECT_TRUE(checked(1061));   // picture size
    EXPECT_TRUE(checked(1062));   // date and time
    EXPECT_FALSE(checked(1063));  // file name
    EXPECT_FALSE(checked(1066));  // magnification
    EXPECT_EQ(ControlText(GetDlgItem(dialog, 1062)), L"Date && time");
    SendMessageW(GetDlgItem(dialog, 1063), BM_CLICK, 0, 0);
    SendMessageW(GetDlgItem(dialog, 1061), BM_CLICK, 0, 0);
    Shoot(dialog, L"stamp-settings.bmp");
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 50 && IsWindow(dialog); ++i) SleepMs(100);
    ASSERT_FALSE(IsWindow(dialog));
    // Written while the program still runs.
    DWORD stamps = 0, colour = 0xFFFFFFFF, size = sizeof stamps;
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Orvane", L"PhotoSavedInfo",
                           RRF_RT_REG_DWORD, nullptr, &stamps, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(stamps, 0x24u) << "date and file name";
    size = sizeof colour;
    RegGetValueW(HKEY_CURRENT_USER, L"Software\\Orvane", L"PhotoSavedInfoFontColor",
                 RRF_RT_REG_DWORD, nullptr, &colour, &size);
    EXPECT_EQ(colour, 0u);
    LOGFONTW font{};
    size = sizeof font;
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Orvane", L"PhotoSavedInfoFont",
                           RRF_RT_REG_BINARY, nullptr, &font, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 92u);
    EXPECT_EQ(font.lfHeight, -21);
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_STREQ(font.lfFaceName, L"Times New Roman");
}

// "Save as" of the real program through its classic save dialog with the size choice.
class SaveAs : public Commands {
  protected:
    static constexpr UINT kSaveAs = 33285;
    static constexpr int kNameBox = 0x480;    // the classic dialog's file-name field
    static constexpr int kFilterBox = 0x470;  // its file-type list
    // Runs Save as on the selection and answers the dialog; the size radios are 100 and 101.
    bool SaveThroughDialog(const std::wstring& name, int filter, bool smallSize) {
        Command(kSaveAs);
        HWND box = program_.WaitForBox(L"Save as", 8000);
        if (!box || !GetDlgItem(box, 101) || !GetDlgItem(box, kNameBox)) return false;
        EXPECT_EQ(IsDlgButtonChecked(box, 101), BST_CHECKED) << "original size comes chosen";
        if (smallSize) {
            CheckRadioButton(box, 100, 101, 100);
        }
        SendDlgItemMessageW(box, kFilterBox, CB_SETCURSEL, filter - 1, 0);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(kFilterBox, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, kFilterBox)));
        SleepMs(300);
        SetDlgItemTextW(box, kNameBox, name.c_str());
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        for (int i = 0; i < 50 && IsWindow(box); ++i) SleepMs(100);
        SleepMs(800);
        return !IsWindow(box);
    }
    static std::wstring Target(const wchar_t* name) {
        return DocumentsFolder() + L"\\Orvane\\" + name;
    }
};

// A 1280 x 960 grey picture, a side file with its capture time and magnification 50, all four
// stamps in red: each text and its cyan shadow where it belongs, the rest untouched.
TEST_F(SaveAs, StampsTheFourTextsWithTheirShadows) {
    ASSERT_TRUE(WriteBytes(Picture(1), SolidBmp(1280, 960, 128, 128, 128)));
    MediaInfoRecord info;
    info.captureTime = {2026, 3, 0, 7, 9, 5, 4, 0};
    info.magnification = 50.0;
    const MediaInfoRecord::Bytes side = info.ToBytes();
    ASSERT_TRUE(WriteBytes(PictureFolder() + L"\\Info\\TX0000001",
                           std::vector<uint8_t>(side.begin(), side.end())));
    PutDword(L"PhotoSavedInfo", 0x13C);  // the four stamps; bits above the low eight ignored
    PutDword(L"PhotoSavedInfoFontColor", 0x0000FF);
    Launch();
    Select({Picture(1)});
    ASSERT_TRUE(SaveThroughDialog(Target(L"stamped"), 1, false));
    std::vector<uint8_t> file;
    ASSERT_TRUE(ReadWholeFile(Target(L"stamped.BMP"), &file)) << "BMP filter adds .BMP";
    wchar_t shots[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"ORVANE_SCREENSHOT_DIR", shots, MAX_PATH)) {
        CopyFileW(Target(L"stamped.BMP").c_str(),
                  (std::wstring(shots) + L"\\stamped-picture.bmp").c_str(), FALSE);
    }
    const auto out = ReadBmpPixels(file.data(), file.size());
    ASSERT_TRUE(out);
    ASSERT_EQ(out->width, 1280);
    ASSERT_EQ(out->height, 960);
    // Counts red and cyan pixels in a box given top-down.
    auto count = [&](int left, int top, int right, int bottom, uint32_t colour) {
        int n = 0;
        for (int y = top; y < bottom; ++y) {
            const uint8_t* row = out->Row(out->topDown ? y : out->height - 1 - y);
            for (int x = left; x < right; ++x) {
                const uint32_t px = row[3 * x] | row[3 * x + 1] << 8 | row[3 * x + 2] << 16;
                n += px == colour;
            }
        }
        return n;
    };
    const uint32_t red = 0xFF0000, cyan = 0x00FFFF;  // as blue, green, red bytes read here
    const int base = 960 - 21 / 5 - 21;
    struct Box {
        const char* what;
        int left, top, right, bottom;
    } boxes[] = {{"size", 0, 0, 120, 26},
                 {"date", 0, base, 240, 960},
                 {"name", 575, base, 740, 960},
                 {"magnification", 1080, base, 1280, 960}};
    for (const Box& b : boxes) {
        EXPECT_GT(count(b.left, b.top, b.right, b.bottom, red), 40) << b.what;
        EXPECT_GT(count(b.left, b.top, b.right, b.bottom, cyan), 40) << b.what << " shadow";
    }
    EXPECT_EQ(count(300, 200, 900, 700, red) + count(300, 200, 900, 700, cyan), 0);
    EXPECT_EQ(count(400, base, 560, 960, red), 0) << "nothing between date and name";
    // "Magnification: 50.00" is wider than the layout's guess of 10 pixels a character: it is
    // moved left from 1080 so that it ends inside the picture.
    EXPECT_GT(count(1000, base, 1080, 960, red), 0) << "the magnification is printed whole";
}

// 320X240 of a 1600 x 1200 picture samples every fifth pixel; the JPEG filter gives a JPEG;
// a target that cannot be written is reported and the program goes on.
TEST_F(SaveAs, SmallSizeSamplesByOneRatioAndFailuresAreReported) {
    PixelRows source;
    source.width = 1600;
    source.height = 1200;
    for (int y = 0; y < 1200; ++y) {
        for (int x = 0; x < 1600; ++x) {
            source.bytes.push_back(static_cast<uint8_t>(x / 5));
            source.bytes.push_back(static_cast<uint8_t>(y / 5));
            source.bytes.push_back(0);
        }
    }
    ASSERT_TRUE(WriteBytes(Picture(1), WriteBmp24(source)));
    Launch();
    Select({Picture(1)});
    ASSERT_TRUE(SaveThroughDialog(Target(L"small.BMP"), 1, true));
    std::vector<uint8_t> file;
    ASSERT_TRUE(ReadWholeFile(Target(L"small.BMP"), &file));
    const auto out = ReadBmpPixels(file.data(), file.size());
    ASSERT_TRUE(out);
    ASSERT_EQ(out->width, 320);
    ASSERT_EQ(out->height, 240);
    int wrong = 0;
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 320; ++x) {
            const uint8_t* px = out->Row(y) + 3 * x;
            wrong += px[0] != static_cast<uint8_t>(x) || px[1] != static_cast<uint8_t>(y);
        }
    }
    EXPECT_EQ(wrong, 0) << "output (x, y) is source (5x, 5y)";

    ASSERT_TRUE(SaveThroughDialog(Target(L"copy"), 2, true));
    std::vector<uint8_t> jpeg;
    ASSERT_TRUE(ReadWholeFile(Target(L"copy.JPG"), &jpeg));
    ASSERT_GE(jpeg.size(), 3u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);

    // A target another program holds open without sharing cannot be written.
    const std::wstring held = Target(L"held.BMP");
    ASSERT_TRUE(WriteBytes(held, {1, 2, 3}));
    HANDLE holder = CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SaveThroughDialog(held, 1, true));
    HWND message = program_.WaitForBox(L"Orvane", 5000);
    EXPECT_NE(message, nullptr) << "a failed write is reported";
    if (message) PostMessageW(message, WM_COMMAND, IDOK, 0);
    CloseHandle(holder);
    std::vector<uint8_t> kept;
    ASSERT_TRUE(ReadWholeFile(held, &kept));
    EXPECT_EQ(kept, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_TRUE(program_.Running());
}

}  // namespace
}  // namespace orvane::test

namespace orvane::test {
namespace {

// The program against what it finds on a user's disk and in the registry: pictures cut short
// or claiming more than they hold, a huge JPEG, a folder named like a capture, a side file
// with an infinite magnification, a stamp font no font can have. It starts, shows, opens,
// saves and deletes what it is asked to, stays alive and answers, and changes nothing else.
class HostileInput : public SaveAs {
  protected:
    bool Responsive() const {
        DWORD_PTR answer = 0;
        return program_.Running() &&
               SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 3000, &answer) != 0;
    }
    // Dismisses whatever box the last action opened; true when there was one.
    bool DismissBox() {
        HWND box = WaitForQuestion(1500);
        if (!box) return false;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        for (int i = 0; i < 30 && IsWindow(box) && IsWindowVisible(box); ++i) SleepMs(100);
        return true;
    }
};

TEST_F(HostileInput, DamagedHugeAndOddFilesAndValuesLeaveTheProgramAliveAndTheRestAsItWas) {
    const std::vector<uint8_t> good = SolidBmp(640, 480, 90, 120, 150);
    ASSERT_TRUE(WriteBytes(Picture(1), good));
    std::vector<uint8_t> cut = SolidBmp(640, 480, 10, 20, 30);
    cut.resize(5000);  // a copy interrupted
    ASSERT_TRUE(WriteBytes(Picture(2), cut));
    std::vector<uint8_t> claims = SolidBmp(64, 64, 1, 2, 3);
    const int32_t huge = 30000;
    memcpy(&claims[18], &huge, 4);  // a header that claims more than the file holds
    memcpy(&claims[22], &huge, 4);
    ASSERT_TRUE(WriteBytes(Picture(3), claims));
    const std::vector<uint8_t> large = GreyJpeg(10000);
    ASSERT_TRUE(WriteBytes(PictureFolder() + L"\\TX0000004.JPG", large));
    const std::wstring oddFolder = PictureFolder() + L"\\TX000000A.JPG";
    ASSERT_TRUE(CreateDirectoryW(oddFolder.c_str(), nullptr));
    MediaInfoRecord info;
    info.magnification = std::numeric_limits<double>::infinity();
    info.adjustedMagnification = -std::numeric_limits<double>::infinity();
    const MediaInfoRecord::Bytes side = info.ToBytes();
    ASSERT_TRUE(WriteBytes(PictureFolder() + L"\\Info\\TX0000001",
                           std::vector<uint8_t>(side.begin(), side.end())));
    PutDword(L"PhotoSavedInfo", 0xFF);
    LOGFONTW font{};
    font.lfHeight = INT_MIN;
    wcscpy(font.lfFaceName, L"Times New Roman");
    PutValue(L"PhotoSavedInfoFont", REG_BINARY, &font, sizeof font);
    const std::wstring outside = DocumentsFolder() + L"\\Orvane\\outside.txt";
    ASSERT_TRUE(WriteBytes(outside, {'k', 'e', 'e', 'p'}));

    Launch();
    ASSERT_TRUE(Responsive()) << "the program starts and answers";
    EXPECT_EQ(CellShowing(oddFolder), 0) << "a folder is no capture";
    for (int n : {1, 2, 3}) EXPECT_NE(CellShowing(Picture(n)), 0) << "picture " << n << " listed";
    // Hovering every cell: the preview of each, huge or damaged.
    for (int k = 1; k <= 4; ++k) {
        if (HWND cell = GetDlgItem(main_, CellId(k))) {
            RECT r;
            GetWindowRect(cell, &r);
            SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
            SleepMs(600);
            ASSERT_TRUE(Responsive()) << "hovering cell " << k;
        }
    }
    SetCursorPos(5, 5);

    // Saved with every stamp at an impossible font height: stamped at a bounded size.
    Select({Picture(1)});
    ASSERT_TRUE(SaveThroughDialog(Target(L"hostile"), 1, false));
    std::vector<uint8_t> saved;
    ASSERT_TRUE(ReadWholeFile(Target(L"hostile.BMP"), &saved));
    const auto rows = ReadBmpPixels(saved.data(), saved.size());
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->width, 640);
    size_t changed = 0;
    const auto source = ReadBmpPixels(good.data(), good.size());
    for (int32_t y = 0; y < 480; ++y) {
        const uint8_t* a = rows->Row(rows->topDown ? y : 479 - y);
        const uint8_t* b = source->Row(source->topDown ? y : 479 - y);
        changed += memcmp(a, b, 640 * 3) != 0;
    }
    EXPECT_GT(changed, 0u) << "the stamps are printed";
    EXPECT_LT(changed, 480u) << "within bounds: not every row";
    ASSERT_TRUE(Responsive());

    // Copy image of the huge JPEG: on the clipboard, or refused with a message.
    Select({PictureFolder() + L"\\TX0000004.JPG"});
    Command(kCopyImage);
    SleepMs(3000);
    DismissBox();
    ASSERT_TRUE(Responsive()) << "after Copy image of 10000 x 10000";

    // The huge JPEG opened in the editor: shown, or refused with a message; either way the
    // program goes on.
    Select({PictureFolder() + L"\\TX0000004.JPG"});
    Command(33281);  // Open
    for (int i = 0; i < 100; ++i) {
        bool editor = false;
        for (HWND c = GetWindow(main_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            editor = editor || (GetDlgItem(c, 505) && IsWindowVisible(c));
        }
        if (editor || !WaitForQuestion(100)) {
            if (editor) {
                for (HWND c = GetWindow(main_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                    if (GetDlgItem(c, 505)) PostMessageW(c, WM_COMMAND, 506, 0);  // Close
                }
                break;
            }
        } else {
            DismissBox();
        }
        SleepMs(100);
    }
    SleepMs(1000);
    DismissBox();
    ASSERT_TRUE(Responsive()) << "after opening the 10000 x 10000 picture";

    // The damaged picture deleted on its own.
    const size_t trashed = TrashedCopies(L"TX0000002.BMP");
    Select({Picture(2)});
    Command(kFileDelete);
    HWND question = WaitForQuestion(8000);
    ASSERT_NE(question, nullptr) << "the damaged picture's cell can be selected and deleted";
    PostMessageW(question, WM_COMMAND, IDYES, 0);
    for (int i = 0; i < 50 && Exists(Picture(2)); ++i) SleepMs(100);
    EXPECT_FALSE(Exists(Picture(2)));
    EXPECT_EQ(TrashedCopies(L"TX0000002.BMP"), trashed + 1) << "into the recycle bin";
    ASSERT_TRUE(Responsive());

    // Everything else as it was.
    std::vector<uint8_t> after;
    ASSERT_TRUE(ReadWholeFile(Picture(1), &after));
    EXPECT_EQ(after, good);
    ASSERT_TRUE(ReadWholeFile(Picture(3), &after));
    EXPECT_EQ(after, claims);
    ASSERT_TRUE(ReadWholeFile(PictureFolder() + L"\\TX0000004.JPG", &after));
    EXPECT_EQ(after.size(), large.size());
    EXPECT_TRUE(GetFileAttributesW(oddFolder.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    ASSERT_TRUE(ReadWholeFile(outside, &after));
    EXPECT_EQ(after, (std::vector<uint8_t>{'k', 'e', 'e', 'p'}));
    DeleteFileW(Target(L"hostile.BMP").c_str());
}

}  // namespace
}  // namespace orvane::test

namespace orvane::test {
namespace {

// Where the Wine tests leave files for the host's own checks (ImageJ, Python's csv module):
// ORVANE_ARTIFACTS as a Unix path, reached through Wine's Z: drive.
std::wstring ArtifactFolder() {
    wchar_t unixPath[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"ORVANE_ARTIFACTS", unixPath, MAX_PATH)) return {};
    std::wstring folder = L"Z:";
    for (const wchar_t* c = unixPath; *c; ++c) folder += *c == L'/' ? L'\\' : *c;
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// The longest run of one colour along any row of the rows, and its row.
int LongestRun(const PixelRows& rows, uint32_t colour, int* atRow) {
    int best = 0;
    for (int y = 0; y < rows.height; ++y) {
        const uint8_t* row = rows.Row(y);
        int run = 0;
        for (int x = 0; x < rows.width; ++x) {
            const uint32_t px = row[3 * x] | row[3 * x + 1] << 8 | row[3 * x + 2] << 16;
            run = px == colour ? run + 1 : 0;
            if (run > best) {
                best = run;
                *atRow = rows.topDown ? y : rows.height - 1 - y;
            }
        }
    }
    return best;
}

class CalibratedCopies : public SaveAs {
  protected:
    // A 640 x 480 picture taken at 40x by the model whose pixel covers 0.38093 mm, its still
    // size 1280 x 960: every picture pixel stands for two reference pixels.
    MediaInfoRecord SeedCalibratedPicture() {
        EXPECT_TRUE(WriteBytes(Picture(1), SolidBmp(640, 480, 128, 128, 128)));
        MediaInfoRecord info;
        SetRecordText(info.mediaPath, FromWide(Picture(1)));
        info.magnification = 40.0;
        info.deviceCode = 0x0C4562C0;
        info.stillSize = 0x050003C0;
        info.pictureSize = 0x028001E0;
        const MediaInfoRecord::Bytes side = info.ToBytes();
        EXPECT_TRUE(WriteBytes(PictureFolder() + L"\\Info\\TX0000001",
                               std::vector<uint8_t>(side.begin(), side.end())));
        return info;
    }
};

// The stamped copy's bar is as long in pixels as its label says by the picture's calibration.
TEST_F(CalibratedCopies, AStampedCopysScaleBarIsAsLongAsItsLabelSays) {
    const MediaInfoRecord info = SeedCalibratedPicture();
    PutDword(L"PhotoSavedInfo", 0);  // the bar alone
    PutDword(L"PhotoSavedInfoFontColor", 0x0000FF);
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Orvane\\Results", L"StampScaleBar", REG_DWORD,
                    std::array<BYTE, 4>{1, 0, 0, 0}.data(), 4);
    Launch();
    Select({Picture(1)});
    ASSERT_TRUE(SaveThroughDialog(Target(L"barred"), 1, false));
    std::vector<uint8_t> file;
    ASSERT_TRUE(ReadWholeFile(Target(L"barred.BMP"), &file));
    const auto rows = ReadBmpPixels(file.data(), file.size());
    ASSERT_TRUE(rows);
    const auto bar = results::ChooseScaleBar(
        results::PictureConversion(info, 640, 480, editor::Unit::kMillimetre), 640);
    ASSERT_TRUE(bar);
    // 0.38093 mm x 2 / 40 = 19.05 um a pixel: a quarter of 640 pixels is 3.05 mm, so 2 mm.
    EXPECT_EQ(bar->label, "2 mm");
    int row = -1;
    EXPECT_EQ(LongestRun(*rows, 0xFF0000, &row), bar->pixels) << "red bar, as many pixels";
    EXPECT_EQ(bar->pixels, static_cast<int>(std::lround(2.0 / (0.38093 * 2 / 40))));
    EXPECT_GT(row, 480 * 3 / 4) << "in the bottom part";
    wchar_t shots[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"ORVANE_SCREENSHOT_DIR", shots, MAX_PATH)) {
        CopyFileW(Target(L"barred.BMP").c_str(),
                  (std::wstring(shots) + L"\\stamped-copy-scale-bar.bmp").c_str(), FALSE);
    }
    DeleteFileW(Target(L"barred.BMP").c_str());
}

// A TIFF copy carries the picture's calibration; the host opens it in ImageJ (the check after
// the Wine tests) and compares the pixel size with the one written beside it here.
TEST_F(CalibratedCopies, ATiffCopyCarriesThePicturesCalibration) {
    const MediaInfoRecord info = SeedCalibratedPicture();
    const std::wstring artifacts = ArtifactFolder();
    ASSERT_FALSE(artifacts.empty()) << "ORVANE_ARTIFACTS names where the host checks";
    Launch();
    Select({Picture(1)});
    const std::wstring tiff = artifacts + L"\\main-copy.TIF";
    DeleteFileW(tiff.c_str());
    ASSERT_TRUE(SaveThroughDialog(tiff.substr(0, tiff.size() - 4), 3, false));
    std::vector<uint8_t> file;
    ASSERT_TRUE(ReadWholeFile(tiff, &file)) << "the TIFF filter writes .TIF";
    const auto picture = results::ReadTiff24(file.data(), file.size());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 640);
    const double mmPerPixel = results::LengthPerPixel(
        results::PictureConversion(info, 640, 480, editor::Unit::kMillimetre));
    char expected[128];
    snprintf(expected, sizeof expected, "main-copy.TIF %.12g\n", mmPerPixel / 10.0);
    ASSERT_TRUE(WriteBytes(artifacts + L"\\main-copy.expected",
                           std::vector<uint8_t>(expected, expected + strlen(expected))));
}

}  // namespace
}  // namespace orvane::test
