// The line style and width choosers hosted in the test with the program's resources, driven
// from a second thread.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/rules/language.h"
#include "app/messages.h"
#include "editor/win/style_choosers.h"
#include "resource.h"
#include "screen_picture.h"

namespace orvane {
namespace {

constexpr int kFirstButton = IDC_LINE_CHOICE_FIRST;
constexpr uint32_t kEnglish = 503, kSimplifiedChinese = 501;

// Waits for the visible chooser with the caption, then acts on it; failing that, nothing.
std::thread WhenShown(std::wstring caption, std::function<void(HWND)> act) {
    return std::thread([caption, act] {
        for (int i = 0; i < 500; ++i) {
            HWND hwnd = FindWindowW(L"#32770", caption.c_str());
            if (hwnd && IsWindowVisible(hwnd)) {
                act(hwnd);
                return;
            }
            Sleep(10);
        }
    });
}

std::vector<bool> Checks(HWND hwnd, int count) {
    std::vector<bool> out;
    for (int k = 0; k < count; ++k)
        out.push_back(IsDlgButtonChecked(hwnd, kFirstButton + k) == BST_CHECKED);
    return out;
}

std::vector<bool> Only(int count, int checked) {
    std::vector<bool> out(static_cast<size_t>(count), false);
    if (checked >= 0) out[static_cast<size_t>(checked)] = true;
    return out;
}

void Click(HWND hwnd, int id) {
    SendMessageW(GetDlgItem(hwnd, id), BM_CLICK, 0, 0);
}

struct Seen {
    INT_PTR result = 0;
    std::vector<bool> checks;
    std::wstring okText;
    int pictures = 0;  // picture controls showing an 80 x 20 bitmap
};

// Opens the chooser with `selection`, records what it shows, clicks button `click` (none for
// -1) and closes it with OK, or with the window's close when ok is false.
Seen Choose(CLineChooser& chooser, int count, int click, bool ok = true) {
    Seen run;
    auto driver = WhenShown(chooser.title, [&](HWND hwnd) {
        run.checks = Checks(hwnd, count);
        wchar_t text[64] = {};
        GetDlgItemTextW(hwnd, IDOK, text, 64);
        run.okText = text;
        for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            BITMAP bm{};
            auto image =
                reinterpret_cast<HBITMAP>(SendMessageW(child, STM_GETIMAGE, IMAGE_BITMAP, 0));
            if (image && GetObjectW(image, sizeof bm, &bm) && bm.bmWidth == 80 && bm.bmHeight == 20)
                ++run.pictures;
        }
        if (click >= 0) Click(hwnd, kFirstButton + click);
        if (ok)
            Click(hwnd, IDOK);
        else
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
    });
    run.result = chooser.DoModal(nullptr);
    driver.join();
    return run;
}

TEST(StyleChoosers, StyleChooserChecksTheStoredStyleAndAnswersTheClickedOne) {
    CLineStyle chooser;
    chooser.title = L"Line style";
    chooser.okText = L"Take";
    chooser.selection = 4;
    Seen run = Choose(chooser, 5, 0);
    EXPECT_EQ(run.result, IDOK);
    EXPECT_EQ(run.checks, Only(5, 4));  // style 4 checks the bottom button
    EXPECT_EQ(run.okText, L"Take");
    EXPECT_EQ(run.pictures, 5);
    EXPECT_EQ(chooser.selection, 0);
}

TEST(StyleChoosers, WidthChooserFromTopToBottomAndCancelKeepsTheSelection) {
    CLineWidth chooser;
    chooser.title = L"Line width";
    chooser.okText = L"OK";
    chooser.selection = 0;  // width 1
    Seen run = Choose(chooser, 9, 8);
    EXPECT_EQ(run.checks, Only(9, 0));
    EXPECT_EQ(run.pictures, 9);
    EXPECT_EQ(chooser.selection, 8);  // width 9

    chooser.selection = 3;
    run = Choose(chooser, 9, 6, false);
    EXPECT_EQ(run.result, IDCANCEL);
    EXPECT_EQ(chooser.selection, 3);
}

TEST(StyleChoosers, DamagedValuesOpenWithNothingCheckedAndOkStoresTheFirstChoice) {
    for (int stored : {-1, 5, 1000}) {
        CLineStyle style;
        style.title = L"Line style";
        style.selection = stored;
        Seen run = Choose(style, 5, -1);
        EXPECT_EQ(run.checks, Only(5, -1)) << stored;
        EXPECT_EQ(run.result, IDOK);
        EXPECT_EQ(style.selection, 0) << stored;
    }
    CLineWidth width;
    width.title = L"Line width";
    width.selection = 9;  // a stored width of 10
    Seen run = Choose(width, 9, -1);
    EXPECT_EQ(run.checks, Only(9, -1));
    EXPECT_EQ(width.selection, 0);
}

// Writes what the screen shows of the window as a 24-bit BMP.
bool SaveWindowPicture(HWND hwnd, const std::wstring& path) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    const test::ScreenPicture picture = test::CaptureScreen(r);
    if (picture.pixels.empty()) return false;
    const int stride = (picture.width * 3 + 3) & ~3;
    std::vector<uint8_t> rows(static_cast<size_t>(stride) * picture.height);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const uint32_t c = picture.At(x, picture.height - 1 - y);
            uint8_t* p = &rows[static_cast<size_t>(y) * stride + x * 3];
            p[0] = c & 0xFF;
            p[1] = (c >> 8) & 0xFF;
            p[2] = (c >> 16) & 0xFF;
        }
    BITMAPINFOHEADER info{sizeof info,
                          picture.width,
                          picture.height,
                          1,
                          24,
                          BI_RGB,
                          static_cast<DWORD>(rows.size()),
                          0,
                          0,
                          0,
                          0};
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof file + sizeof info + rows.size()), 0, 0,
                          sizeof file + sizeof info};
    FILE* out = _wfopen(path.c_str(), L"wb");
    if (!out) return false;
    fwrite(&file, sizeof file, 1, out);
    fwrite(&info, sizeof info, 1, out);
    fwrite(rows.data(), 1, rows.size(), out);
    return fclose(out) == 0;
}

// Pictures of the choosers in English and Simplified Chinese for ORVANE_SCREENSHOT_DIR. That
// the editor opens them with its language's texts is shown in the real program
// (orvane_user_flow_tests); here the texts are only what the pictures carry.
TEST(StyleChoosers, PicturesInEnglishAndSimplifiedChinese) {
    wchar_t dir[MAX_PATH] = {};
    const bool save = GetEnvironmentVariableW(L"ORVANE_SCREENSHOT_DIR", dir, MAX_PATH) > 0;
    if (!save) GTEST_SKIP() << "no folder for screenshots (ORVANE_SCREENSHOT_DIR)";
    struct Language {
        uint32_t code;
        const wchar_t* name;
        const wchar_t* styleTitle;
    };
    for (const Language& lang :
         {Language{kEnglish, L"en", L"Line style"}, Language{kSimplifiedChinese, L"sc", nullptr}}) {
        SetCurrentStringBase(StringBase(lang.code));
        CLineStyle style;
        style.title = MessageText(43);
        style.okText = MessageText(kMsgOK);
        style.selection = 1;
        CLineWidth width;
        width.title = MessageText(44);
        width.okText = MessageText(kMsgOK);
        width.selection = 2;
        ASSERT_FALSE(style.title.empty());
        ASSERT_NE(style.title, width.title);
        if (lang.styleTitle) {
            EXPECT_EQ(style.title, lang.styleTitle);
        }
        for (auto [chooser, file] :
             {std::pair<CLineChooser*, const wchar_t*>{&style, L"line-style"},
              std::pair<CLineChooser*, const wchar_t*>{&width, L"line-width"}}) {
            bool saved = !save;
            std::wstring caption;
            auto driver = WhenShown(chooser->title, [&](HWND hwnd) {
                wchar_t text[64] = {};
                GetWindowTextW(hwnd, text, 64);
                caption = text;
                Sleep(300);  // let the frame and the pictures paint
                if (save) {
                    saved = SaveWindowPicture(
                        hwnd, std::wstring(dir) + L"\\" + file + L"-" + lang.name + L".bmp");
                }
                Click(hwnd, IDOK);
            });
            EXPECT_EQ(chooser->DoModal(nullptr), IDOK);
            driver.join();
            EXPECT_EQ(caption, chooser->title);
            EXPECT_TRUE(saved);
        }
        EXPECT_EQ(style.selection, 1);
        EXPECT_EQ(width.selection, 2);
    }
    SetCurrentStringBase(StringBase(kEnglish));
}

}  // namespace
}  // namespace orvane
