// "Stack focus" in the real program, driven by real clicks and keys: the command greyed and
// enabled by the selection in the File popup and the strip's context menu, its messages in
// French, Cancel leaving no file, and a clip recorded during the virtual camera's focus sweep
// stacked into a new capture picture closer to the scene's all-in-focus truth than the
// sharpest frame of the clip.
#include <gtest/gtest.h>

#include <windows.h>
#include <vfw.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "capture_files.h"
#include "media/companion_paths.h"
#include "media/media_info.h"
#include "orvane_process.h"
#include "platform/wide.h"
#include "registry_reader.h"
#include "resources/lang/menu_ids.h"
#include "screen_picture.h"
#include "stacking/stack_image.h"
#include "test_pictures.h"
#include "tests/stacking/truth_compare.h"
#include "tools/virtualcam/client.h"
#include "user_input.h"

namespace orvane::test {
namespace {

using stacking::BgrImage;
using stacking::testing::CompareAligned;

constexpr UINT kFileButton = 1005;
constexpr DWORD kFrench = 504;
constexpr int kFilePopupBorder = 3, kFileItemHeight = 22, kFileSeparatorHeight = 3;

std::wstring PictureFolder() {
    return DocumentsFolder() + L"\\Orvane\\pictures";
}
std::wstring VideoFolder() {
    return DocumentsFolder() + L"\\Orvane\\videos";
}
std::vector<std::wstring> Pictures() {
    return CaptureFiles(PictureFolder(), L"TX*.BMP");
}
std::wstring Upper(std::wstring s) {
    CharUpperBuffW(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

// Where the command sits in a menu of the program's resources: its position and the number of
// items (as the program's own menu resource has them, so new items elsewhere move it along).
struct MenuPlace {
    int position = -1;
    int items = 0;
    int top = 0;  // the owner-drawn File popup: its top in the popup's client area
};
MenuPlace PlaceInMenu(UINT menuId, int submenu) {
    MenuPlace place;
    HMODULE exe =
        LoadLibraryExW(ProgramPath(L"Orvane.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!exe) return place;
    if (HMENU menu = LoadMenuW(exe, MAKEINTRESOURCEW(menuId))) {
        HMENU popup = GetSubMenu(menu, submenu);
        place.items = popup ? GetMenuItemCount(popup) : 0;
        int y = kFilePopupBorder;
        for (int i = 0; i < place.items; ++i) {
            if (GetMenuItemID(popup, i) == ID_FILE_STACK_FOCUS) {
                place.position = i;
                place.top = y;
                break;
            }
            const bool separator = (GetMenuState(popup, i, MF_BYPOSITION) & MF_SEPARATOR) != 0;
            y += separator ? kFileSeparatorHeight : kFileItemHeight;
        }
        DestroyMenu(menu);
    }
    FreeLibrary(exe);
    return place;
}

// The popup menu on screen, once it has had the time to draw itself.
HWND OpenPopupMenu() {
    for (int i = 0; i < 150; ++i) {
        HWND menu = FindWindowW(L"#32768", nullptr);
        if (menu && IsWindowVisible(menu)) {
            SleepMs(400);
            return menu;
        }
        SleepMs(20);
    }
    return nullptr;
}

// A row of a menu on screen, given in its client coordinates.
struct MenuRow {
    RECT screen{};
    POINT centre{};
};
MenuRow RowOf(HWND menu, int left, int top, int right, int bottom) {
    POINT a{left, top}, b{right, bottom};
    ClientToScreen(menu, &a);
    ClientToScreen(menu, &b);
    return {{a.x, a.y, b.x, b.y}, {(a.x + b.x) / 2, (a.y + b.y) / 2}};
}
// The File popup's Stack focus row (owner-drawn: 22-pixel items, 3-pixel separators).
MenuRow FileRow(HWND menu, const MenuPlace& place) {
    RECT client;
    GetClientRect(menu, &client);
    return RowOf(menu, 44, place.top + 4, client.right - 8, place.top + kFileItemHeight - 4);
}
// The context menu's Stack focus row (the platform's items, all of one height).
MenuRow ContextRow(HWND menu, const MenuPlace& place) {
    RECT client;
    GetClientRect(menu, &client);
    const int h = client.bottom / place.items;
    return RowOf(menu, 6, place.position * h + h / 4, client.right - 6,
                 (place.position + 1) * h - h / 4);
}
// The pointer onto the row (which highlights it), then the click.
void Choose(const MenuRow& row) {
    MoveMouseTo(row.centre);
    SleepMs(200);
    ClickAt(row.centre);
}
// Text drawn in black: the item is enabled; greyed text has no pixel that dark.
int DarkPixels(const MenuRow& row) {
    const ScreenPicture p = CaptureScreen(row.screen);
    int dark = 0;
    for (uint32_t c : p.pixels) {
        dark += ((c >> 16) & 0xFF) < 0x50 && ((c >> 8) & 0xFF) < 0x50 && (c & 0xFF) < 0x50;
    }
    return dark;
}

std::wstring BoxText(HWND box) {
    std::wstring all;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t text[1024] = {};
        SendMessageW(c, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
        all += text;
        all += L"|";
    }
    return all;
}

// A 24-bit BMP of a textured picture the stacker can align (value noise of a few scales).
std::vector<uint8_t> TexturedBmp(int width, int height) {
    std::vector<uint8_t> bytes = SolidBmp(width, height, 0, 0, 0);
    const int stride = (width * 3 + 3) & ~3;
    uint32_t seed = 12345;
    std::vector<uint8_t> coarse(static_cast<size_t>((width / 16 + 2) * (height / 16 + 2)));
    for (uint8_t& v : coarse)
        v = static_cast<uint8_t>((seed = seed * 1664525u + 1013904223u) >> 24);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int base = coarse[static_cast<size_t>((y / 16) * (width / 16 + 2) + x / 16)];
            const int v = std::clamp(base / 2 + static_cast<int>(seed >> 26) * 2 + 40, 0, 255);
            uint8_t* p = &bytes[54 + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 3];
            p[0] = static_cast<uint8_t>(v);
            p[1] = static_cast<uint8_t>(255 - v);
            p[2] = static_cast<uint8_t>(v / 2 + 60);
        }
    }
    return bytes;
}

// A bottom-up or top-down 24-bit BMP file as a top-down picture.
bool ReadBmp(const std::wstring& path, BgrImage* picture) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, &bytes) || bytes.size() < 54 || bytes[0] != 'B') return false;
    int32_t w = 0, h = 0;
    uint32_t offset = 0;
    uint16_t bits = 0;
    memcpy(&offset, &bytes[10], 4);
    memcpy(&w, &bytes[18], 4);
    memcpy(&h, &bytes[22], 4);
    memcpy(&bits, &bytes[28], 2);
    const int32_t rows = h < 0 ? -h : h;
    const size_t stride = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
    if (bits != 24 || w <= 0 || offset + stride * rows > bytes.size()) return false;
    if (!picture->Allocate(w, rows)) return false;
    for (int32_t y = 0; y < rows; ++y) {
        const uint8_t* row =
            &bytes[offset + stride * static_cast<size_t>(h < 0 ? y : rows - 1 - y)];
        std::copy(row, row + picture->Stride(), picture->Row(y));
    }
    return true;
}

// The YUY2 frames of a clip, decoded as the program decodes them, without the repeats (a frame
// byte for byte the one before it); total counts every frame.
std::vector<BgrImage> ClipFrames(const std::wstring& path, int* width, int* height, int* total) {
    std::vector<BgrImage> frames;
    AVIFileInit();
    PAVIFILE file = nullptr;
    if (AVIFileOpenW(&file, path.c_str(), OF_READ | OF_SHARE_DENY_NONE, nullptr) == 0) {
        PAVISTREAM stream = nullptr;
        if (AVIFileGetStream(file, &stream, streamtypeVIDEO, 0) == 0) {
            BITMAPINFOHEADER format{};
            LONG size = sizeof format;
            AVIStreamReadFormat(stream, 0, &format, &size);
            *width = format.biWidth;
            *height = format.biHeight;
            std::vector<uint8_t> sample(static_cast<size_t>(format.biWidth) * format.biHeight * 2);
            std::vector<uint8_t> previous;
            const LONG first = AVIStreamStart(stream), count = AVIStreamLength(stream);
            for (LONG i = first;
                 format.biCompression == MAKEFOURCC('Y', 'U', 'Y', '2') && i < first + count; ++i) {
                LONG bytes = 0, samples = 0;
                if (AVIStreamRead(stream, i, 1, sample.data(), static_cast<LONG>(sample.size()),
                                  &bytes, &samples) != 0 ||
                    static_cast<size_t>(bytes) != sample.size()) {
                    continue;
                }
                ++*total;
                if (sample == previous) continue;
                previous = sample;
                BgrImage frame;
                if (stacking::testing::DecodeYuy2(sample.data(), format.biWidth, format.biHeight,
                                                  &frame)) {
                    frames.push_back(std::move(frame));
                }
            }
            AVIStreamRelease(stream);
        }
        AVIFileRelease(file);
    }
    AVIFileExit();
    return frames;
}

// The sharpest frame and the stacked picture side by side, each shown twice as large.
bool SaveSideBySide(const BgrImage& left, const BgrImage& right, const std::wstring& path) {
    const int w = left.Width(), h = left.Height(), gap = 8;
    const int outW = 4 * w + gap, outH = 2 * h;
    std::vector<uint8_t> bytes = SolidBmp(outW, outH, 255, 255, 255);
    const int stride = (outW * 3 + 3) & ~3;
    for (int y = 0; y < outH; ++y) {
        uint8_t* row = &bytes[54 + static_cast<size_t>(outH - 1 - y) * stride];
        for (int x = 0; x < w * 2; ++x) {
            std::copy_n(left.Row(y / 2) + 3 * (x / 2), 3, row + 3 * x);
            std::copy_n(right.Row(y / 2) + 3 * (x / 2), 3, row + 3 * (2 * w + gap + x));
        }
    }
    return WriteFileBytes(path, bytes);
}

class FocusStack : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetOrvaneState();
        ASSERT_TRUE(VirtualCameraRegistered()) << "the virtual camera is not registered";
        CreateDirectoryW((DocumentsFolder() + L"\\Orvane").c_str(), nullptr);
        CreateDirectoryW(PictureFolder().c_str(), nullptr);
        CreateDirectoryW((PictureFolder() + L"\\Info").c_str(), nullptr);
        fileRow_ = PlaceInMenu(IDR_MENU_MAIN_EN, 0);
        contextRow_ = PlaceInMenu(IDR_MENU_CONTEXT_EN, 0);
        ASSERT_GE(fileRow_.position, 0) << "Stack focus in the File popup";
        ASSERT_GE(contextRow_.position, 0) << "Stack focus in the context menu";
    }
    void TearDown() override {
        if (main_ && program_.Running()) {
            PostMessageW(main_, WM_COMMAND, IDCANCEL, 0);
            program_.WaitForExit(15000);
        }
        cameras_.reset();
        ResetOrvaneState();
    }
    void Launch() {
        ASSERT_TRUE(program_.Start());
        main_ = program_.WaitForMainWindow();
        ASSERT_NE(main_, nullptr);
        ASSERT_NE(WaitForLivePicture(main_), nullptr) << "the camera opens";
        ASSERT_TRUE(BringToFront(main_));
    }
    // The visible strip cell that shows path (compared without regard to case).
    HWND CellOf(const std::wstring& path) const {
        for (int id = 8192; id < 8208; ++id) {
            HWND cell = GetDlgItem(main_, id);
            if (cell && IsWindowVisible(cell) && Upper(WindowText(cell)) == Upper(path))
                return cell;
        }
        return nullptr;
    }
    // A box of the program other than the main window with the caption; null when none came.
    HWND WaitForBox(const std::wstring& caption, DWORD timeoutMs) {
        return program_.WaitForBox(caption.c_str(), timeoutMs);
    }
    bool WaitGone(HWND window, DWORD timeoutMs) const {
        for (DWORD waited = 0; IsWindow(window) && IsWindowVisible(window) && waited < timeoutMs;
             waited += 20) {
            SleepMs(20);
        }
        return !IsWindow(window) || !IsWindowVisible(window);
    }
    // Opens the File popup by its button and answers its Stack focus row.
    MenuRow OpenFilePopup(HWND* menu) {
        ClickAt(CentreOf(GetDlgItem(main_, kFileButton)));
        *menu = OpenPopupMenu();
        return *menu ? FileRow(*menu, fileRow_) : MenuRow{};
    }
    MenuRow OpenContextMenu(HWND cell, HWND* menu) {
        RightClickAt(CentreOf(cell));
        *menu = OpenPopupMenu();
        return *menu ? ContextRow(*menu, contextRow_) : MenuRow{};
    }
    // The captions of the program's visible windows, for a failure's message.
    std::string Shown() const {
        std::string all;
        for (HWND w : program_.TopLevelWindows()) {
            if (!IsWindowVisible(w)) continue;
            for (wchar_t c : WindowText(w)) all += c < 128 ? static_cast<char>(c) : '?';
            all += " | ";
        }
        RECT r{};
        if (HWND m = FindWindowW(L"#32768", nullptr)) {
            GetWindowRect(m, &r);
            all += "menu " + std::to_string(r.left) + "," + std::to_string(r.top) + " " +
                   std::to_string(r.right) + "," + std::to_string(r.bottom) +
                   (IsWindowVisible(m) ? " visible" : " hidden");
        }
        return all + " pictures " + std::to_string(Pictures().size());
    }
    // Esc to the menu itself: one that has closed already leaves the main window alone.
    void CloseMenu(HWND menu) {
        if (IsWindowVisible(menu)) PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        WaitGone(menu, 2000);
        SleepMs(200);
    }
    OrvaneProcess program_;
    HWND main_ = nullptr;
    MenuPlace fileRow_, contextRow_;
    std::unique_ptr<VirtualCameras> cameras_;
};

TEST_F(FocusStack, TheSelectionEnablesTheCommandAndBadSourcesAndCancelLeaveNoFile) {
    PutDword(L"Language", kFrench);
    // Six copies of one textured 2048 x 1536 picture (a stack that takes a while), then two
    // small pictures of different sizes.
    const std::vector<uint8_t> large = TexturedBmp(2048, 1536);
    std::vector<std::wstring> paths;
    for (int n = 1; n <= 8; ++n) paths.push_back(PictureFolder() + L"\\" + CaptureFileName(n));
    ASSERT_TRUE(WriteFileBytes(paths[0], large));
    for (int n = 1; n < 6; ++n) ASSERT_TRUE(CopyFileW(paths[0].c_str(), paths[n].c_str(), FALSE));
    ASSERT_TRUE(WriteFileBytes(paths[6], TexturedBmp(64, 48)));
    ASSERT_TRUE(WriteFileBytes(paths[7], TexturedBmp(80, 48)));
    Launch();
    std::vector<HWND> cells;
    for (const std::wstring& p : paths) cells.push_back(CellOf(p));
    for (size_t k = 0; k < cells.size(); ++k) ASSERT_NE(cells[k], nullptr) << "cell of " << k + 1;

    // One picture: greyed in the File popup; the command itself says what to select.
    ClickAt(CentreOf(cells[6]));
    SleepMs(300);
    HWND menu = nullptr;
    MenuRow row = OpenFilePopup(&menu);
    ASSERT_NE(menu, nullptr) << "the File popup opens";
    EXPECT_EQ(DarkPixels(row), 0) << "greyed with one picture selected";
    Choose(row);  // a greyed item does nothing
    SleepMs(500);
    EXPECT_EQ(WaitForBox(L"Information", 300), nullptr) << "no command from a greyed item";
    CloseMenu(menu);
    PostMessageW(main_, WM_COMMAND, ID_FILE_STACK_FOCUS, 0);
    HWND box = WaitForBox(L"Information", 5000);
    ASSERT_NE(box, nullptr) << "one picture: a message";
    EXPECT_NE(BoxText(box).find(L"sélectionnez au moins deux images d'une même série, ou un clip"),
              std::wstring::npos)
        << BoxText(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitGone(box, 3000));

    // Two pictures of different sizes: enabled; the command names the other size's picture.
    ClickWithKeyAt(CentreOf(cells[7]), VK_CONTROL);
    SleepMs(300);
    row = OpenFilePopup(&menu);
    ASSERT_NE(menu, nullptr);
    EXPECT_GT(DarkPixels(row), 10) << "enabled with two pictures selected";
    Choose(row);
    box = WaitForBox(L"Erreur", 10000);
    ASSERT_NE(box, nullptr) << "pictures of different sizes: a message";
    const std::wstring text = BoxText(box);
    EXPECT_NE(
        text.find(L"Seules des images de même taille peuvent être empilées. Cette image a une "
                  L"autre taille :"),
        std::wstring::npos)
        << text;
    EXPECT_NE(Upper(text).find(Upper(paths[7])), std::wstring::npos) << text;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitGone(box, 3000));
    EXPECT_EQ(Pictures().size(), 8u) << "no file";

    // The six large pictures and the small one after them: the odd size is told before any
    // picture is decoded, so no progress box opens on the way to the message.
    ClickAt(CentreOf(cells[0]));
    SleepMs(800);  // not a double click
    ClickWithKeyAt(CentreOf(cells[6]), VK_SHIFT);
    SleepMs(300);
    row = OpenFilePopup(&menu);
    ASSERT_NE(menu, nullptr);
    Choose(row);
    bool progressShown = false;
    box = nullptr;
    for (int i = 0; i < 500 && !box; ++i) {
        if (HWND shown = program_.FindBox(L"Empiler la mise au point"))
            progressShown = progressShown || IsWindowVisible(shown);
        box = program_.FindBox(L"Erreur");
        if (!box) SleepMs(20);
    }
    ASSERT_NE(box, nullptr) << "six pictures and an odd one: a message; shown: " << Shown();
    EXPECT_FALSE(progressShown) << "told before the stack starts";
    EXPECT_NE(Upper(BoxText(box)).find(Upper(paths[6])), std::wstring::npos) << BoxText(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitGone(box, 3000));
    EXPECT_EQ(Pictures().size(), 8u) << "no file";

    // Six large pictures by a click and a Shift-click; the context menu of one of them (a right
    // click inside the selection keeps it) runs the command; Cancel stops it.
    ClickAt(CentreOf(cells[0]));
    SleepMs(800);  // not a double click
    ClickWithKeyAt(CentreOf(cells[5]), VK_SHIFT);
    SleepMs(300);
    row = OpenContextMenu(cells[2], &menu);
    ASSERT_NE(menu, nullptr) << "the context menu opens";
    EXPECT_GT(DarkPixels(row), 10) << "enabled in the context menu for six pictures";
    Choose(row);
    HWND progress = WaitForBox(L"Empiler la mise au point", 5000);
    ASSERT_NE(progress, nullptr) << "the progress box, in French; shown: " << Shown();
    HWND cancel = GetDlgItem(progress, IDCANCEL);
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(WindowText(cancel), L"Annuler");
    ClickAt(CentreOf(cancel));
    EXPECT_TRUE(WaitGone(progress, 5000)) << "Cancel ends the run";
    SleepMs(500);
    EXPECT_EQ(Pictures().size(), 8u) << "Cancel leaves no picture";
    EXPECT_TRUE(CaptureFiles(PictureFolder(), L"*.part").empty()) << "nor a part of one";
    EXPECT_EQ(WaitForBox(L"Erreur", 300), nullptr) << "and says nothing";

    // A right click on a single picture outside the selection selects it alone: greyed.
    row = OpenContextMenu(cells[6], &menu);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(DarkPixels(row), 0) << "greyed for the one picture the right click selects";
    CloseMenu(menu);
    EXPECT_TRUE(program_.Running());
}

TEST_F(FocusStack, AClipRecordedDuringTheSweepStacksIntoANewPictureCloserToTheTruth) {
    constexpr int kWidth = 320, kHeight = 240;
    constexpr DWORD kSweepMs = 3000;
    cameras_ = std::make_unique<VirtualCameras>(std::initializer_list<const wchar_t*>{L"62c1"});
    ASSERT_TRUE(cameras_->Registered());
    ASSERT_TRUE(vcam::WriteFocusSweep(kSweepMs));
    PutDword(L"ResolutionDisplay", 0x014000F0);  // 320 x 240
    const double magnification = 40.0;
    PutValue(L"InputMaginification", REG_BINARY, &magnification, sizeof magnification);
    Launch();

    // F8, a sweep and a quarter of frames, F8: the clip is listed by its thumbnail.
    PressKey(VK_F8);
    std::vector<std::wstring> clips;
    for (int i = 0; i < 100 && clips.empty(); ++i, SleepMs(100))
        clips = CaptureFiles(VideoFolder(), L"TX*.AVI");
    ASSERT_EQ(clips.size(), 1u) << "the clip is being recorded";
    const uint64_t frameBytes = uint64_t{kWidth} * kHeight * 2;
    const uint64_t wanted = frameBytes * (kSweepMs * 15 / 1000 * 5 / 4);
    uint64_t size = 0;
    for (int i = 0; i < 300 && size < wanted; ++i, SleepMs(100)) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (GetFileAttributesExW(clips[0].c_str(), GetFileExInfoStandard, &data))
            size = uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
    }
    ASSERT_GE(size, wanted) << "frames of a sweep and a quarter reach the clip";
    PressKey(VK_F8);
    const std::wstring thumb =
        Upper(ToWide(VideoThumbnailPath(FromWide(clips[0]), FromWide(VideoFolder() + L"\\thumb"))));
    HWND clipCell = nullptr;
    for (int i = 0; i < 100 && !clipCell; ++i, SleepMs(100)) clipCell = CellOf(thumb);
    ASSERT_NE(clipCell, nullptr) << "the clip's cell";
    SleepMs(500);

    // Selected by a click, stacked from the File popup.
    ClickAt(CentreOf(clipCell));
    SleepMs(300);
    HWND menu = nullptr;
    const MenuRow row = OpenFilePopup(&menu);
    ASSERT_NE(menu, nullptr);
    EXPECT_GT(DarkPixels(row), 10) << "enabled for one clip";
    SYSTEMTIME before{};
    GetLocalTime(&before);
    Choose(row);
    std::vector<std::wstring> pictures;
    for (int i = 0; i < 300 && pictures.empty(); ++i, SleepMs(100)) pictures = Pictures();
    ASSERT_EQ(pictures.size(), 1u) << "the stacked picture";
    SleepMs(500);
    SYSTEMTIME after{};
    GetLocalTime(&after);
    const std::wstring stacked = pictures[0];
    EXPECT_EQ(program_.FindBox(L"Stack focus"), nullptr) << "the progress box is gone";
    EXPECT_NE(CellOf(stacked), nullptr) << "listed in the strip at once";

    // Its side file: the time of the stacking, the clip's sizes, the camera, the count.
    std::vector<uint8_t> side;
    ASSERT_TRUE(ReadWholeFile(ToWide(SideFilePath(FromWide(stacked))), &side));
    ASSERT_EQ(side.size(), MediaInfoRecord::kSize);
    const MediaInfoRecord record = MediaInfoRecord::FromBytes(side.data(), side.size());
    EXPECT_EQ(Upper(ToWide(RecordText(record.mediaPath))), Upper(stacked));
    auto minutes = [](uint16_t h, uint16_t m, uint16_t s) { return (h * 60 + m) * 60 + s; };
    const LocalTime& t = record.captureTime;
    EXPECT_EQ(t.year, before.wYear);
    EXPECT_GE(minutes(t.hour, t.minute, t.second),
              minutes(before.wHour, before.wMinute, before.wSecond));
    EXPECT_LE(minutes(t.hour, t.minute, t.second),
              minutes(after.wHour, after.wMinute, after.wSecond));
    EXPECT_EQ(record.pictureSize, 0x014000F0u);
    EXPECT_EQ(record.stillSize, 0x014000F0u);
    EXPECT_EQ(record.deviceCode, 0x2C4562C1u);  // the 62c1 carries its variant flag
    EXPECT_EQ(record.magnification, magnification);
    EXPECT_EQ(record.adjustedMagnification, 0.0);
    const std::wstring note = ToWide(RecordText(record.note));
    const std::wstring clipName = clips[0].substr(clips[0].rfind(L'\\') + 1);
    int count = 0;
    wchar_t named[32] = {};
    ASSERT_EQ(swscanf(note.c_str(), L"Focus stack of %d frames of the clip %31ls", &count, named),
              2)
        << note;
    EXPECT_EQ(Upper(named), Upper(clipName));

    // Against the truth at the clip's resolution: the clip's frames and the stacked picture,
    // each aligned onto the truth's view by the stacker's registration and compared where both
    // reach, 8 pixels in from the borders.
    int width = 0, height = 0, total = 0;
    const std::vector<BgrImage> frames = ClipFrames(clips[0], &width, &height, &total);
    ASSERT_EQ(width, kWidth);
    ASSERT_EQ(height, kHeight);
    ASSERT_GE(total, 56);
    ASSERT_GE(frames.size(), 10u) << "the camera renders new frames of the sweep";
    EXPECT_EQ(count, static_cast<int>(frames.size())) << "every frame but the repeats went in";
    BgrImage truth, picture;
    ASSERT_TRUE(stacking::testing::CameraTruth(kWidth, kHeight, &truth));
    ASSERT_TRUE(ReadBmp(stacked, &picture));
    ASSERT_EQ(picture.Width(), kWidth);
    ASSERT_EQ(picture.Height(), kHeight);
    double sharpest = 0;
    size_t sharpestFrame = 0;
    for (size_t k = 0; k < frames.size(); ++k) {
        const auto c = CompareAligned(truth, frames[k].View());
        if (c.aligned && c.psnr > sharpest) {
            sharpest = c.psnr;
            sharpestFrame = k;
        }
    }
    const auto result = CompareAligned(truth, picture.View());
    ASSERT_TRUE(result.aligned);
    std::printf(
        "%d frames, %zu of them new, %d stacked; sharpest frame %.2f dB, stacked "
        "picture %.2f dB\n",
        total, frames.size(), count, sharpest, result.psnr);
    EXPECT_GE(result.psnr, sharpest + 6.0);

    wchar_t shots[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"ORVANE_SCREENSHOT_DIR", shots, MAX_PATH) != 0) {
        EXPECT_TRUE(SaveSideBySide(frames[sharpestFrame], picture,
                                   std::wstring(shots) + L"\\focus-stacked.bmp"));
    }
}

}  // namespace
}  // namespace orvane::test
