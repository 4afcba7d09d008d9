#include "media/win/save_as_dialog.h"

#include <commdlg.h>

#include <vector>

namespace orvane {

namespace {

constexpr int kExtraHeight = 30;

std::wstring NulSeparated(const wchar_t* filter) {
    std::wstring out = filter != nullptr ? filter : L"";
    for (wchar_t& c : out) {
        if (c == L'|') c = L'\0';
    }
    out.push_back(L'\0');  // with the string's own terminator: the list ends in two NULs
    return out;
}

HWND AddRadio(HWND dialog, const wchar_t* text, int id, DWORD style, const RECT& at) {
    HWND radio = CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style,
                                 at.left, at.top, at.right - at.left, at.bottom - at.top, dialog,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
    SendMessageW(radio, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), TRUE);
    return radio;
}

}  // namespace

CSaveAsDialog::CSaveAsDialog(bool open, const wchar_t* defaultExtension,
                             const std::wstring& fileName, DWORD flags, const wchar_t* filter,
                             HWND parent)
    : open_(open),
      defaultExtension_(defaultExtension != nullptr ? defaultExtension : L""),
      fileName_(fileName),
      flags_(flags | OFN_NOCHANGEDIR),
      filter_(NulSeparated(filter)),
      parent_(parent) {}

bool CSaveAsDialog::DoModal() {
    std::vector<wchar_t> name(MAX_PATH, L'\0');
    fileName_.copy(name.data(), MAX_PATH - 1);
    fileOkMessage_ = RegisterWindowMessageW(FILEOKSTRINGW);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = parent_;
    ofn.lpstrFilter = filter_.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
    ofn.lpstrDefExt = defaultExtension_.empty() ? nullptr : defaultExtension_.c_str();
    // A hook without OFN_EXPLORER gives the classic dialog; the hook adds the size choice.
    ofn.Flags = (flags_ | OFN_ENABLEHOOK) & ~static_cast<DWORD>(OFN_EXPLORER);
    ofn.lpfnHook = &CSaveAsDialog::Hook;
    ofn.lCustData = reinterpret_cast<LPARAM>(this);
    const BOOL ok = open_ ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
    if (!ok) return false;
    path_ = name.data();
    filterIndex_ = static_cast<int>(ofn.nFilterIndex);
    return true;
}

void CSaveAsDialog::AddSizeChoice(HWND dialog) {
    RECT frame{};
    GetWindowRect(dialog, &frame);
    SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left,
                 frame.bottom - frame.top + kExtraHeight, SWP_NOMOVE | SWP_NOZORDER);
    RECT client{};
    GetClientRect(dialog, &client);
    const LONG top = client.bottom - kExtraHeight;
    const LONG bottom = client.bottom - 10;
    AddRadio(dialog, L"320X240", kSmallSizeRadio, BS_AUTORADIOBUTTON | WS_GROUP,
             {150, top, 250, bottom});
    AddRadio(dialog, L"Original size", kFullSizeRadio, BS_AUTORADIOBUTTON, {280, top, 400, bottom});
    CheckRadioButton(dialog, kSmallSizeRadio, kFullSizeRadio, kFullSizeRadio);
}

UINT_PTR CALLBACK CSaveAsDialog::Hook(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* ofn = reinterpret_cast<const OPENFILENAMEW*>(lParam);
        auto* self = reinterpret_cast<CSaveAsDialog*>(ofn->lCustData);
        SetPropW(dialog, L"OrvaneSaveAs", self);
        self->AddSizeChoice(dialog);
        return TRUE;
    }
    auto* self = static_cast<CSaveAsDialog*>(GetPropW(dialog, L"OrvaneSaveAs"));
    if (self == nullptr) return 0;
    if (message == self->fileOkMessage_) {
        self->fullSize_ = IsDlgButtonChecked(dialog, kFullSizeRadio) == BST_CHECKED;
        return 0;  // accept the name
    }
    if (message == WM_DESTROY) RemovePropW(dialog, L"OrvaneSaveAs");
    return 0;
}

}  // namespace orvane
