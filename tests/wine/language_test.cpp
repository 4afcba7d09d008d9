// The language chooser of the real program under Wine.
#include <gtest/gtest.h>

#include "orvane_process.h"
#include "registry_reader.h"

namespace orvane::test {
namespace {

constexpr WPARAM kSelectLanguage = 32966;

class LanguageChange : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetOrvaneState();
        ASSERT_TRUE(orvane_.Start());
        main_ = orvane_.WaitForMainWindow();
        ASSERT_NE(main_, nullptr);
    }
    void TearDown() override {
        PostMessageW(main_, WM_COMMAND, IDCANCEL, 0);
        orvane_.WaitForExit(10000);
        ResetOrvaneState();
    }
    // Opens the chooser and returns it: the process's window that holds radio button 503.
    HWND OpenChooser() {
        PostMessageW(main_, WM_COMMAND, kSelectLanguage, 0);
        for (int i = 0; i < 500; ++i) {
            for (HWND hwnd : orvane_.TopLevelWindows()) {
                if (IsWindowVisible(hwnd) && GetDlgItem(hwnd, 503)) return hwnd;
            }
            SleepMs(10);
        }
        return nullptr;
    }
    DWORD StoredLanguage() {
        const auto key = ReadOrvaneKey();
        auto it = key.find(L"Language");
        return it == key.end() ? 0 : it->second.Dword();
    }
    bool WaitClosed(HWND chooser) {
        for (int i = 0; i < 300 && IsWindow(chooser) && IsWindowVisible(chooser); ++i) SleepMs(10);
        return !IsWindow(chooser) || !IsWindowVisible(chooser);
    }

    OrvaneProcess orvane_;
    HWND main_ = nullptr;
};

TEST_F(LanguageChange, RadioButtonStoresTheNewLanguageAtOnce) {
    HWND chooser = OpenChooser();
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(SendMessageW(GetDlgItem(chooser, 503), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(chooser, 512))) << "the Japanese entry is hidden";
    PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(504, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(chooser, 504)));
    ASSERT_TRUE(WaitClosed(chooser));
    for (int i = 0; i < 200 && StoredLanguage() != 504; ++i) SleepMs(10);
    EXPECT_EQ(StoredLanguage(), 504u);
    EXPECT_TRUE(IsWindowVisible(main_));
}

TEST_F(LanguageChange, ClickBesideTheHiddenJapaneseEntrySelectsIt) {
    HWND chooser = OpenChooser();
    ASSERT_NE(chooser, nullptr);
    RECT radio{};
    GetWindowRect(GetDlgItem(chooser, 512), &radio);
    POINT p{radio.right + 43, (radio.top + radio.bottom) / 2};
    ScreenToClient(chooser, &p);
    PostMessageW(chooser, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    ASSERT_TRUE(WaitClosed(chooser));
    for (int i = 0; i < 200 && StoredLanguage() != 512; ++i) SleepMs(10);
    EXPECT_EQ(StoredLanguage(), 512u);
}

TEST_F(LanguageChange, ChoosingTheCurrentLanguageChangesNothing) {
    HWND chooser = OpenChooser();
    ASSERT_NE(chooser, nullptr);
    PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(503, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(chooser, 503)));
    ASSERT_TRUE(WaitClosed(chooser));
    SleepMs(300);
    EXPECT_EQ(StoredLanguage(), 0u) << "nothing is written for the same language";
}

}  // namespace
}  // namespace orvane::test
