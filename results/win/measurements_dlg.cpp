#include "results/win/measurements_dlg.h"

#include <commdlg.h>

#include <cstring>

#include "platform/handles.h"
#include "resources/resource.h"
#include "results/win/scale_bar_paint.h"

namespace orvane::results {
namespace {

struct GlobalTraits {
    static HGLOBAL Invalid() { return nullptr; }
    static void Close(HGLOBAL h) { GlobalFree(h); }
};
using UniqueGlobal = UniqueResource<HGLOBAL, GlobalTraits>;

}  // namespace

CMeasurementsDlg::CMeasurementsDlg() : Dialog(IDD_MEASUREMENTS) {}

std::wstring CMeasurementsDlg::ClipboardText(const std::string& tabSeparated) {
    return WideLabel(tabSeparated);
}

BOOL CMeasurementsDlg::OnInitDialog() {
    SetWindowTextW(Hwnd(), title.c_str());
    SetItemText(IDC_MEASUREMENTS_COPY, copyText.c_str());
    SetItemText(IDC_MEASUREMENTS_EXPORT, exportText.c_str());
    SetItemText(IDCANCEL, closeText.c_str());
    // One line a row, as the clipboard has it, the header first.
    HWND list = Item(IDC_MEASUREMENTS_LIST);
    const int stops[] = {24, 110, 170, 230, 290};
    SendMessageW(list, LB_SETTABSTOPS, 5, reinterpret_cast<LPARAM>(stops));
    const std::wstring all = ClipboardText(TabSeparatedText(rows, texts));
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find(L"\r\n", start);
        if (end == std::wstring::npos) end = all.size();
        const std::wstring line = all.substr(start, end - start);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        start = end + 2;
    }
    EnableWindow(Item(IDC_MEASUREMENTS_COPY), !rows.empty());
    EnableWindow(Item(IDC_MEASUREMENTS_EXPORT), !rows.empty());
    CenterOn(GetWindow(Hwnd(), GW_OWNER));
    return TRUE;
}

bool CMeasurementsDlg::OnCommand(UINT id, UINT code, HWND control) {
    static constexpr CommandEntry<CMeasurementsDlg> commands[] = {
        {IDC_MEASUREMENTS_COPY, IDC_MEASUREMENTS_COPY, &CMeasurementsDlg::OnCopy},
        {IDC_MEASUREMENTS_EXPORT, IDC_MEASUREMENTS_EXPORT, &CMeasurementsDlg::OnExport},
        {IDCANCEL, IDCANCEL, &CMeasurementsDlg::OnClose},
    };
    if (control && code != BN_CLICKED) return false;
    if (DispatchCommand<CMeasurementsDlg>(this, commands, id)) return true;
    return Dialog::OnCommand(id, code, control);
}

void CMeasurementsDlg::OnCopy(UINT) {
    const std::wstring text = ClipboardText(TabSeparatedText(rows, texts));
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!block) return;
    std::memcpy(GlobalLock(block.Get()), text.c_str(), bytes);
    GlobalUnlock(block.Get());
    if (!OpenClipboard(Hwnd())) return;
    EmptyClipboard();
    if (SetClipboardData(CF_UNICODETEXT, block.Get())) block.Release();
    CloseClipboard();
}

void CMeasurementsDlg::OnExport(UINT) {
    std::vector<wchar_t> name(MAX_PATH, L'\0');
    proposedName.copy(name.data(), MAX_PATH - 1);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Hwnd();
    std::wstring filter = filterName;
    filter.push_back(L'\0');
    filter += L"*.csv";
    filter.push_back(L'\0');
    filter.push_back(L'\0');
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = L"csv";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (!GetSaveFileNameW(&ofn)) return;
    const std::string csv = CsvText(rows, texts);
    HANDLE file = CreateFileW(name.data(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok =
        file != INVALID_HANDLE_VALUE &&
        WriteFile(file, csv.data(), static_cast<DWORD>(csv.size()), &written, nullptr) &&
        written == csv.size();
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (!ok) {
        const std::wstring text = failureText + L"\n" + name.data();
        MessageBoxW(Hwnd(), text.c_str(), failureCaption.c_str(), MB_OK | MB_ICONEXCLAMATION);
    }
}

void CMeasurementsDlg::OnClose(UINT) {
    EndDialog(IDCANCEL);
}

}  // namespace orvane::results
