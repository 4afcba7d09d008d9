// Start-up, settings and exit of the real program under Wine.
#include <gtest/gtest.h>

#include <shlwapi.h>
#include <winternl.h>

extern "C" NTSTATUS NTAPI NtDeleteKey(HANDLE key);  // ntdll; not in the tool chain's headers

#include <cstdio>
#include <optional>

#include "orvane_process.h"
#include "registry_reader.h"

namespace orvane::test {
namespace {

class Startup : public ::testing::Test {
  protected:
    // These tests are about a machine without a camera; the live picture has its own tests.
    void SetUp() override {
        ResetOrvaneState();
        noCamera_.emplace();
    }
    void TearDown() override {
        noCamera_.reset();
        ResetOrvaneState();
    }
    std::optional<NoCamera> noCamera_;

    // Starts the program, waits for its window, presses Esc and waits for the exit.
    std::map<std::wstring, RawValue> RunAndEscape() {
        OrvaneProcess orvane;
        EXPECT_TRUE(orvane.Start());
        HWND main = orvane.WaitForMainWindow();
        EXPECT_NE(main, nullptr);
        PostMessageW(main, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(main, WM_KEYUP, VK_ESCAPE, 0);
        EXPECT_TRUE(orvane.WaitForExit(10000));
        return ReadOrvaneKey();
    }
};

bool IsHiddenFolder(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) &&
           (a & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(Startup, FirstRunWritesTheTwentyValuesAndMakesTheFolders) {
    const auto key = RunAndEscape();
    struct Expected {
        const wchar_t* name;
        DWORD type;
        size_t size;
    };
    const Expected expected[] = {
        {L"CurrentUI", REG_DWORD, 4},
        {L"CurrentReselution", REG_DWORD, 4},
        {L"PictureFolderPath", REG_SZ, 520},
        {L"PictureHistoryFolderPath", REG_SZ, 5200},
        {L"VideoFolderPath", REG_SZ, 520},
        {L"VideoHistoryFolderPath", REG_SZ, 5200},
        {L"CaptureAudio", REG_DWORD, 4},
        {L"ResolutionSavePhoto", REG_DWORD, 4},
        {L"PhotoSavedInfo", REG_DWORD, 4},
        {L"PhotoSavedInfoFontColor", REG_DWORD, 4},
        {L"PhotoSavedInfoFont", REG_BINARY, 92},
        {L"InputMaginification", REG_BINARY, 8},
        {L"Language", REG_DWORD, 4},
        {L"bSetMagnification", REG_DWORD, 4},
        {L"bDisplayDateTime", REG_DWORD, 4},
        {L"bDisplayRealTimeMagnification", REG_DWORD, 4},
        {L"bShowCross", REG_DWORD, 4},
        {L"bSoundEffectEnable", REG_DWORD, 4},
        {L"ResolutionDisplay", REG_DWORD, 4},
        {L"VideoCompression", REG_DWORD, 4},
    };
    EXPECT_EQ(key.size(), 20u);
    for (const Expected& e : expected) {
        auto it = key.find(e.name);
        ASSERT_NE(it, key.end()) << "missing value";
        EXPECT_EQ(it->second.type, e.type);
        EXPECT_EQ(it->second.bytes.size(), e.size);
    }
    EXPECT_EQ(key.at(L"CurrentUI").Dword(), 0u);
    EXPECT_EQ(key.at(L"CurrentReselution").Dword(), 0u);
    EXPECT_EQ(key.at(L"bSetMagnification").Dword(), 0u);
    EXPECT_EQ(key.at(L"bDisplayRealTimeMagnification").Dword(), 1u);
    EXPECT_EQ(key.at(L"bSoundEffectEnable").Dword(), 0u);
    EXPECT_EQ(key.at(L"Language").Dword(), 503u);
    EXPECT_EQ(key.at(L"ResolutionDisplay").Dword(), 0x050003C0u);
    EXPECT_EQ(key.at(L"InputMaginification").bytes, std::string(8, '\0'));

    const std::wstring pictures = DocumentsFolder() + L"\\Orvane\\pictures";
    const std::wstring videos = DocumentsFolder() + L"\\Orvane\\videos";
    EXPECT_EQ(
        std::wstring(reinterpret_cast<const wchar_t*>(key.at(L"PictureFolderPath").bytes.data())),
        pictures);
    EXPECT_TRUE(PathIsDirectoryW(pictures.c_str()));
    EXPECT_TRUE(PathIsDirectoryW(videos.c_str()));
    EXPECT_TRUE(IsHiddenFolder(pictures + L"\\Info"));
    EXPECT_TRUE(IsHiddenFolder(videos + L"\\thumb"));
}

TEST_F(Startup, StoredValuesAreValidatedOnLoad) {
    struct Run {
        DWORD language, languageAfter, resolution, resolutionAfter;
    };
    for (Run r : {Run{500, 503, 0x028001E1, 0x050003C0}, Run{514, 503, 0x028001E0, 0x028001E0},
                  Run{501, 501, 0x43200258, 0x43200258}, Run{513, 513, 0x12345678, 0x050003C0}}) {
        ResetOrvaneState();
        PutDword(L"Language", r.language);
        PutDword(L"ResolutionDisplay", r.resolution);
        PutDword(L"PhotoSavedInfo", 0x13C);
        const auto key = RunAndEscape();
        ASSERT_EQ(key.count(L"Language"), 1u);
        EXPECT_EQ(key.at(L"Language").Dword(), r.languageAfter) << r.language;
        EXPECT_EQ(key.at(L"ResolutionDisplay").Dword(), r.resolutionAfter)
            << std::hex << r.resolution;
        EXPECT_EQ(key.at(L"PhotoSavedInfo").Dword(), 0x3Cu);
    }
}

TEST_F(Startup, WrongTypesAndSizesKeepTheDefaults) {
    PutString(L"Language", L"504");
    const BYTE threeBytes[3] = {1, 0, 0};
    PutValue(L"bShowCross", REG_DWORD, threeBytes, 3);
    PutValue(L"PhotoSavedInfoFont", REG_BINARY, threeBytes, 3);
    PutDword(L"InputMaginification", 7);
    const std::wstring unterminated(300, L'A');
    PutValue(L"PictureFolderPath", REG_SZ, unterminated.data(), 600);
    const auto key = RunAndEscape();
    ASSERT_EQ(key.size(), 20u);
    EXPECT_EQ(key.at(L"Language").type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(key.at(L"Language").Dword(), 503u);
    EXPECT_EQ(key.at(L"bShowCross").Dword(), 0u);
    EXPECT_EQ(key.at(L"PhotoSavedInfoFont").bytes.size(), 92u);
    EXPECT_EQ(key.at(L"InputMaginification").bytes, std::string(8, '\0'));
    const auto& picture = key.at(L"PictureFolderPath").bytes;
    ASSERT_EQ(picture.size(), 520u);
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(picture.data())),
              DocumentsFolder() + L"\\Orvane\\pictures");
}

TEST_F(Startup, UncreatableFolderShowsTheErrorAndWritesNothing) {
    PutString(L"PictureFolderPath", L"Q:\\nowhere\\pictures");
    PutDword(L"Language", 505);
    const auto before = ReadOrvaneKey();
    OrvaneProcess orvane;
    ASSERT_TRUE(orvane.Start());
    HWND box = orvane.WaitForBox(L"Error", 20000);
    ASSERT_NE(box, nullptr);
    HWND text = FindWindowExW(box, nullptr, L"Static", nullptr);
    EXPECT_EQ(WindowText(text), L"Create picture folder error!\nQ:\\nowhere\\pictures");
    EXPECT_EQ(WindowText(GetDlgItem(box, IDOK)), L"OK");
    SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    DWORD exitCode = 99;
    ASSERT_TRUE(orvane.WaitForExit(10000, &exitCode));
    EXPECT_EQ(orvane.WaitForMainWindow(0), nullptr);
    const auto after = ReadOrvaneKey();
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(after.at(L"Language").Dword(), 505u);
}

TEST_F(Startup, SecondInstanceLeavesSilently) {
    OrvaneProcess first;
    ASSERT_TRUE(first.Start());
    HWND main = first.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Orvane");
    PutDword(L"Language", 509);

    OrvaneProcess second;
    ASSERT_TRUE(second.Start());
    DWORD exitCode = 99;
    ASSERT_TRUE(second.WaitForExit(15000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    const auto key = ReadOrvaneKey();
    EXPECT_EQ(key.size(), 1u) << "the second instance wrote values";
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(IsWindowVisible(main));
    PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(first.WaitForExit(10000));
}

TEST_F(Startup, EnterDoesNothingAndTheCloseBoxSavesAndExits) {
    OrvaneProcess orvane;
    ASSERT_TRUE(orvane.Start());
    HWND main = orvane.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    PostMessageW(main, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(main, WM_KEYUP, VK_RETURN, 0);
    EXPECT_FALSE(orvane.WaitForExit(1000));
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_EQ(ReadOrvaneKey().size(), 0u) << "nothing is saved before the exit";
    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(orvane.WaitForExit(10000));
    EXPECT_EQ(ReadOrvaneKey().size(), 20u);
}

TEST_F(Startup, NoticeAppearsAfterAboutASecondAndStaysAwayAfterOk) {
    OrvaneProcess orvane;
    ASSERT_TRUE(orvane.Start());
    const DWORD started = GetTickCount();
    HWND main = orvane.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    const DWORD shown = GetTickCount();
    HWND notice = orvane.WaitForBox(L"Orvane", 5000);
    ASSERT_NE(notice, nullptr);
    const DWORD noticed = GetTickCount();
    std::printf("process start to main window: %lu ms; main window to notice: %lu ms\n",
                static_cast<unsigned long>(shown - started),
                static_cast<unsigned long>(noticed - shown));
    EXPECT_GE(noticed - shown, 500u);
    EXPECT_LE(noticed - shown, 3000u);
    EXPECT_EQ(WindowText(FindWindowExW(notice, nullptr, L"Static", nullptr)),
              L"Telvix device not Found!");
    EXPECT_EQ(WindowText(GetDlgItem(notice, IDOK)), L"OK");

    RECT m{}, n{};
    GetWindowRect(main, &m);
    GetWindowRect(notice, &n);
    EXPECT_NEAR((m.left + m.right) / 2, (n.left + n.right) / 2, 2);
    EXPECT_NEAR((m.top + m.bottom) / 2, (n.top + n.bottom) / 2, 2);

    SendMessageW(GetDlgItem(notice, IDOK), BM_CLICK, 0, 0);
    SleepMs(2500);
    EXPECT_FALSE(IsWindowVisible(notice));
    EXPECT_EQ(orvane.FindBox(L"Orvane"), nullptr);
    PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(orvane.WaitForExit(10000));
}

}  // namespace
}  // namespace orvane::test

namespace orvane::test {
namespace {

// A key pressed on the keyboard, as the user would: to whichever window has the focus.
void PressKey(WORD key) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

TEST_F(Startup, TheNoticeClosesWithEscAndWithEnter) {
    for (const WORD key : {WORD{VK_ESCAPE}, WORD{VK_RETURN}}) {
        SCOPED_TRACE(key == VK_ESCAPE ? "Esc" : "Enter");
        OrvaneProcess orvane;
        ASSERT_TRUE(orvane.Start());
        HWND main = orvane.WaitForMainWindow();
        ASSERT_NE(main, nullptr);
        HWND notice = orvane.WaitForBox(L"Orvane", 5000);
        ASSERT_NE(notice, nullptr);
        SetForegroundWindow(notice);
        for (int i = 0; i < 100 && GetForegroundWindow() != notice; ++i) SleepMs(10);
        ASSERT_EQ(GetForegroundWindow(), notice);
        PressKey(key);
        for (int i = 0; i < 100 && IsWindowVisible(notice); ++i) SleepMs(10);
        EXPECT_FALSE(IsWindowVisible(notice)) << "the key closes the notice";
        SleepMs(1500);
        EXPECT_EQ(orvane.FindBox(L"Orvane"), nullptr) << "and it stays away";
        EXPECT_TRUE(orvane.Running()) << "the key is the notice's, not the main window's";
        PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(orvane.WaitForExit(10000));
    }
}

// Puts a registry link in the settings key's place that leads nowhere, so the key can neither
// be opened nor created while the link is there; the link goes with the object at the latest.
class UnreachableSettingsKey {
  public:
    UnreachableSettingsKey() {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Orvane", 0, nullptr,
                            REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE,
                            KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &link_,
                            nullptr) != ERROR_SUCCESS) {
            link_ = nullptr;
            return;
        }
        static const wchar_t kNowhere[] = L"\\Registry\\NoSuchRoot\\Orvane";
        placed_ = RegSetValueExW(link_, L"SymbolicLinkValue", 0, REG_LINK,
                                 reinterpret_cast<const BYTE*>(kNowhere),
                                 sizeof kNowhere - sizeof(wchar_t)) == ERROR_SUCCESS;
    }
    void Remove() {
        if (!link_) return;
        NtDeleteKey(link_);
        RegCloseKey(link_);
        link_ = nullptr;
    }
    ~UnreachableSettingsKey() { Remove(); }
    bool Placed() const { return placed_; }

  private:
    HKEY link_ = nullptr;
    bool placed_ = false;
};

// Opens the settings key as the program does, creating it when it is missing.
bool SettingsKeyReachable() {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Orvane", 0, nullptr, 0, KEY_READ | KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

TEST_F(Startup, WithoutTheSettingsKeyAtStartNothingIsWrittenAtExit) {
    UnreachableSettingsKey link;
    ASSERT_TRUE(link.Placed());
    ASSERT_FALSE(SettingsKeyReachable()) << "the key must be out of reach at start";
    OrvaneProcess orvane;
    ASSERT_TRUE(orvane.Start());
    HWND main = orvane.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    link.Remove();
    ASSERT_TRUE(SettingsKeyReachable());
    PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(orvane.WaitForExit(10000));
    EXPECT_EQ(ReadOrvaneKey().size(), 0u) << "the exit wrote values into a key it never read";
}

}  // namespace
}  // namespace orvane::test
