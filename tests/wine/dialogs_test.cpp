// The small dialogs hosted in the test process, driven from a second thread.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "app/dialogs/info_dlg.h"
#include "app/dialogs/small_dialogs.h"

namespace orvane {
namespace {

// Waits for a visible window of this process with the caption, then acts on it.
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

std::wstring TextOf(HWND hwnd) {
    wchar_t text[512] = {};
    GetWindowTextW(hwnd, text, 512);
    return text;
}

RECT ClientRectInScreen(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    return r;
}

TEST(InfoBox, ShowsItsTextsCentredAndClosesByOkEnterOrEsc) {
    struct Case {
        WPARAM key;
        INT_PTR result;
    };
    for (Case c : {Case{VK_ESCAPE, IDCANCEL}, Case{VK_RETURN, IDOK}, Case{0, IDOK}}) {
        CInfoDlg box;
        box.caption = L"Error";
        box.text = L"Create picture folder error!\nC:\\pictures";
        box.buttonText = L"OK";
        std::wstring seenText, seenButton;
        RECT seen{};
        auto driver = WhenShown(L"Error", [&](HWND hwnd) {
            seenText = TextOf(FindWindowExW(hwnd, nullptr, L"Static", nullptr));
            seenButton = TextOf(GetDlgItem(hwnd, IDOK));
            GetWindowRect(hwnd, &seen);
            if (c.key) {
                HWND focus = GetDlgItem(hwnd, IDOK);
                PostMessageW(focus, WM_KEYDOWN, c.key, 0);
            } else {
                PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDOK)));
            }
        });
        EXPECT_EQ(box.DoModal(nullptr), c.result);
        driver.join();
        EXPECT_EQ(seenText, L"Create picture folder error!\nC:\\pictures");
        EXPECT_EQ(seenButton, L"OK");
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_NEAR((seen.left + seen.right) / 2, (work.left + work.right) / 2, 2);
    }
}

TEST(QuestionBox, OneButtonModeCentresButtonOne) {
    CMessageBox box;
    box.SetTexts(L"Orvane", L"Picture has been modified!\nSave picture...", L"Yes", L"No");
    box.oneButton = true;
    bool sevenVisible = true;
    int offCentre = 1000;
    auto driver = WhenShown(L"Orvane", [&](HWND hwnd) {
        sevenVisible = IsWindowVisible(GetDlgItem(hwnd, 7));
        RECT client{};
        GetClientRect(hwnd, &client);
        RECT button = ClientRectInScreen(GetDlgItem(hwnd, IDOK));
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&button), 2);
        offCentre = (button.left + button.right) / 2 - client.right / 2;
        PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(box.DoModal(nullptr), IDOK);
    driver.join();
    EXPECT_FALSE(sevenVisible);
    EXPECT_LE(std::abs(offCentre), 1);
}

TEST(QuestionBox, ButtonSevenAndEscAndLongTexts) {
    {
        CMessageBox box;
        box.SetTexts(L"Question", L"Save?", L"Yes", L"No");
        auto driver = WhenShown(L"Question", [](HWND hwnd) {
            PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(7, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(hwnd, 7)));
        });
        EXPECT_EQ(box.DoModal(nullptr), 7);
        driver.join();
    }
    {
        CMessageBox box;
        const std::wstring longCaption(80, L'C');
        box.SetTexts(longCaption, std::wstring(400, L't'), std::wstring(40, L'b'), L"No");
        EXPECT_EQ(std::wstring(box.caption.data()).size(), 31u);
        EXPECT_EQ(std::wstring(box.text.data()).size(), 127u);
        EXPECT_EQ(std::wstring(box.button1.data()).size(), 15u);
        auto driver = WhenShown(std::wstring(31, L'C'),
                                [](HWND hwnd) { PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0); });
        EXPECT_EQ(box.DoModal(nullptr), IDCANCEL);
        driver.join();
    }
}

TEST(StatusWindow, ShapeLeavesOutThePureGreenPixels) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(215), MAKEINTRESOURCEW(2));
    CStatusDlg status;
    status.mode = 0;
    ASSERT_TRUE(status.Create(nullptr));
    if (!found) {
        EXPECT_EQ(status.BitmapSize().cx, 0) << "a missing picture leaves the window without size";
        GTEST_SKIP() << "the recording picture is not part of this build";
    }
    const SIZE size = status.BitmapSize();
    EXPECT_EQ(size.cx, 24);
    EXPECT_EQ(size.cy, 24);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(status.Hwnd(), region), ERROR);
    HBITMAP picture = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(215), IMAGE_BITMAP, 0, 0, 0));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, picture);
    int green = 0;
    for (int y = 0; y < size.cy; ++y) {
        for (int x = 0; x < size.cx; ++x) {
            const bool isGreen = GetPixel(dc, x, y) == RGB(0, 255, 0);
            green += isGreen;
            EXPECT_EQ(PtInRegion(region, x, y) != FALSE, !isGreen) << x << "," << y;
        }
    }
    EXPECT_GT(green, 0) << "the picture has a green outside";
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(picture);
    DeleteObject(region);
}

}  // namespace
}  // namespace orvane

#include "app/rules/language.h"
#include "app/messages.h"

namespace orvane {
namespace {

TEST(Languages, TextsAndMenusComeFromTheLanguagesIds) {
    SetCurrentStringBase(StringBase(505));
    const std::wstring german = MessageText(50);
    wchar_t byId[256] = {};
    LoadStringW(GetModuleHandleW(nullptr), 11050, byId, 256);
    EXPECT_EQ(german, byId);
    SetCurrentStringBase(StringBase(503));
    EXPECT_EQ(MessageText(50), L"Telvix device not Found!");
    EXPECT_NE(german, MessageText(50));
    for (uint32_t code = 501; code <= 513; ++code) {
        const LanguageInfo& info = LanguageInfoFor(code);
        for (int id : {info.mainMenu, info.contextMenu, info.editorMenu}) {
            HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
            EXPECT_NE(menu, nullptr) << "menu " << id << " of language " << code;
            if (menu) DestroyMenu(menu);
        }
        SetCurrentStringBase(StringBase(code));
        for (int n = 0; n <= 127; ++n) {
            if (n >= 54 && n <= 70) continue;
            EXPECT_FALSE(MessageText(n).empty()) << "message " << n << " of language " << code;
        }
    }
    SetCurrentStringBase(0);
}

// Points the browser fallback at a class that does not exist, for this user only.
class NoBrowser {
  public:
    NoBrowser() {
        RegCreateKeyW(HKEY_CURRENT_USER, L"Software\\Classes\\.htm", &key_);
        RegSetValueW(key_, nullptr, REG_SZ, L"OrvaneNoSuchClass", 17 * sizeof(wchar_t));
    }
    ~NoBrowser() {
        RegCloseKey(key_);
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Classes\\.htm");
    }

  private:
    HKEY key_ = nullptr;
};

TEST(HyperLinkOpen, FailureShowsTheReasonAndLeavesTheLinkUnvisited) {
    NoBrowser noBrowser;
    CHyperLink link;
    link.SetURL(L"C:\\orvane-no-such-folder\\missing.orvane-nothing");
    std::wstring shown;
    auto driver = std::thread([&] {
        for (int i = 0; i < 1000 && shown.empty(); ++i) {
            HWND box = FindWindowW(L"#32770", L"Error");
            if (box && IsWindowVisible(box)) {
                shown = TextOf(GetDlgItem(box, 0xFFFF));
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
            Sleep(10);
        }
    });
    EXPECT_FALSE(link.Open());
    driver.join();
    EXPECT_FALSE(link.Visited());
    const std::wstring prefix = L"Can't open link:\n\n";
    ASSERT_EQ(shown.substr(0, prefix.size()), prefix);
    bool known = false;
    for (int code : {0, 2, 3, 5, 8, 11, 26, 27, 28, 29, 30, 31, 32}) {
        known = known || shown.substr(prefix.size()) == ShellErrorReason(code);
    }
    EXPECT_TRUE(known) << "reason: " << std::string(shown.begin(), shown.end());
}

}  // namespace
}  // namespace orvane
