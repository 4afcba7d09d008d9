// The Help commands (manual, home page) and the magnification field taking over its text.
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <string>

#include "app/rules/help_rules.h"
#include "app/ivora_dlg.h"
#include "app/rules/language.h"
#include "app/messages.h"
#include "app/settings_win.h"
#include "platform/reg_key.h"
#include "platform/wide.h"
#include "resources/resource.h"

namespace orvane {

namespace {

constexpr size_t kInstallPathBytes = 520;
constexpr DWORD kClassValueBytes = 260;

std::u16string InstallFolder() {
    RegKey key;
    if (!key.Create(HKEY_CURRENT_USER, kSettingsKeyPath)) return {};
    DWORD type = 0;
    std::string bytes;
    if (!key.Query(L"InstallPath", type, bytes) || (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    bytes.resize(std::min(bytes.size(), kInstallPathBytes) & ~size_t{1});
    std::u16string folder;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto unit = static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) |
                                                (static_cast<uint8_t>(bytes[i + 1]) << 8));
        if (unit == 0) break;
        folder += unit;
    }
    return folder;
}

// The default value of a key under HKEY_CLASSES_ROOT, read into a 260-byte buffer.
std::wstring ClassValue(const std::wstring& subKey) {
    wchar_t value[kClassValueBytes / sizeof(wchar_t)]{};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CLASSES_ROOT, subKey.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS) {
        return {};
    }
    return value;
}

}  // namespace

void CIvoraDlg::OnManual(UINT) {
    const std::u16string folder = InstallFolder();
    const bool exists = !folder.empty() && PathIsDirectoryW(ToWide(folder).c_str());
    const std::wstring path =
        ToWide(ManualPath(folder, exists, LanguageInfoFor(settings_.Language).manual));
    ShellExecuteW(Hwnd(), L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CIvoraDlg::OnHomePage(UINT) {
    if (reinterpret_cast<INT_PTR>(
            ShellExecuteW(Hwnd(), L"open", kHomePage, nullptr, nullptr, SW_SHOWNORMAL)) > 32) {
        return;
    }
    // No handler for the address itself: the browser registered for web pages, started with it.
    const std::wstring htmClass = ClassValue(L".htm");
    if (htmClass.empty()) return;
    const std::wstring command = ClassValue(htmClass + L"\\shell\\open\\command");
    if (command.empty()) return;
    std::wstring line = ToWide(BrowserCommand(FromWide(command), FromWide(kHomePage)));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &started)) {
        const UniqueHandle process(started.hProcess);
        const UniqueHandle thread(started.hThread);
    }
}

void CIvoraDlg::OnMagnificationField(UINT) {
    // The field reports its focus changes and text changes alike: it has lost the focus when
    // it held it and no longer does.
    HWND field = Item(IDC_MAGNIFICATION_EDIT);
    if (GetFocus() == field) {
        magnificationFocused_ = true;
        return;
    }
    if (!magnificationFocused_) return;
    magnificationFocused_ = false;
    char text[261]{};
    GetWindowTextA(field, text, 261);
    if (const std::optional<double> value = MagnificationFromText(text)) {
        settings_.InputMaginification = *value;
        ShowMagnification();
    } else {
        SetItemText(IDC_MAGNIFICATION_EDIT, L"");
    }
}

}  // namespace orvane
