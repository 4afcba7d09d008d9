#include "results/win/measurements_dlg.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

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

// Tab stops after the widest text of each column, and the list as wide as all of them (it
// scrolls sideways), so that no column runs into the next whatever the language and values.
void CMeasurementsDlg::FitColumns(HWND list, const std::vector<std::wstring>& lines) {
    std::vector<int> widths;  // pixels
    {
        const HDC dc = GetDC(list);
        if (!dc) return;
        const HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
        for (const std::wstring& line : lines) {
            size_t column = 0;
            for (size_t start = 0; start <= line.size(); ++column) {
                size_t end = line.find(L'\t', start);
                if (end == std::wstring::npos) end = line.size();
                SIZE size{};
                GetTextExtentPoint32W(dc, line.c_str() + start, static_cast<int>(end - start),
                                      &size);
                if (widths.size() <= column) widths.push_back(0);
                widths[column] = std::max(widths[column], static_cast<int>(size.cx));
                start = end + 1;
            }
        }
        SelectObject(dc, old);
        ReleaseDC(list, dc);
    }
    RECT unit{0, 0, 4, 8};  // four horizontal dialog units
    MapDialogRect(Hwnd(), &unit);
    const int pixelsPerFourUnits = std::max(1, static_cast<int>(unit.right));
    constexpr int kGap = 12;  // pixels between columns
    std::vector<int> stops;
    int edge = 0;
    for (size_t column = 0; column + 1 < widths.size(); ++column) {
        edge += widths[column] + kGap;
        stops.push_back((edge * 4 + pixelsPerFourUnits - 1) / pixelsPerFourUnits);
    }
    if (!widths.empty()) edge += widths.back() + kGap;
    if (!stops.empty()) {
        SendMessageW(list, LB_SETTABSTOPS, static_cast<WPARAM>(stops.size()),
                     reinterpret_cast<LPARAM>(stops.data()));
    }
    SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(edge), 0);
}

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
    const std::wstring all = ClipboardText(TabSeparatedText(rows, texts));
    std::vector<std::wstring> lines;
    for (size_t start = 0; start < all.size();) {
        size_t end = all.find(L"\r\n", start);
        if (end == std::wstring::npos) end = all.size();
        lines.push_back(all.substr(start, end - start));
        start = end + 2;
    }
    FitColumns(list, lines);
    for (const std::wstring& line : lines)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
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

bool CMeasurementsDlg::PutOnClipboard(const std::wstring& text) {
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, bytes));
    void* locked = block ? GlobalLock(block.Get()) : nullptr;
    if (!locked) return false;
    std::memcpy(locked, text.c_str(), bytes);
    GlobalUnlock(block.Get());
    if (!OpenClipboard(Hwnd())) return false;
    EmptyClipboard();
    const bool put = SetClipboardData(CF_UNICODETEXT, block.Get()) != nullptr;
    if (put) block.Release();  // the clipboard owns it now
    CloseClipboard();
    return put;
}

void CMeasurementsDlg::OnCopy(UINT) {
    if (PutOnClipboard(ClipboardText(TabSeparatedText(rows, texts)))) return;
    MessageBoxW(Hwnd(), copyFailureText.c_str(), failureCaption.c_str(),
                MB_OK | MB_ICONEXCLAMATION);
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
