#include "app/dialogs/small_dialogs.h"

#include <vector>

#include "app/rules/dialog_rules.h"
#include "resources/resource.h"

namespace orvane {

CAboutDlg::CAboutDlg() : Dialog(IDD_ABOUT) {}

BOOL CAboutDlg::OnInitDialog() {
    SetItemText(IDC_ABOUT_LINE1, lines[0].c_str());
    SetItemText(IDC_ABOUT_LINE2, lines[1].c_str());
    SetItemText(IDC_ABOUT_LINE3, lines[2].c_str());
    SetItemText(IDC_ABOUT_LINE4, lines[3].c_str());
    link.Attach(Item(IDC_ABOUT_LINK));
    SetWindowTextW(Hwnd(), lines[0].c_str());
    SetItemText(IDOK, buttonText.c_str());
    CenterOn(GetWindow(Hwnd(), GW_OWNER));
    return TRUE;
}

bool CAboutDlg::PreTranslateMessage(MSG& msg) {
    link.RelayToTooltip(msg);
    return Dialog::PreTranslateMessage(msg);
}

bool CAboutDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lParam) == Item(IDC_ABOUT_LINK)) {
        result = reinterpret_cast<LRESULT>(link.OnControlColour(reinterpret_cast<HDC>(wParam)));
        return true;
    }
    return false;
}

CProcessDlg::CProcessDlg() : Dialog(IDD_PROCESS) {}

bool CProcessDlg::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
    if (message != WM_ERASEBKGND) return false;
    result = 1;  // the bar covers the strip; nothing to erase
    return true;
}

CStatusDlg::CStatusDlg() : Dialog(IDD_STATUS) {}

BOOL CStatusDlg::OnInitDialog() {
    if (mode == 0 && picture_.Load(Instance(), IDB_RECORDING)) {
        BITMAP info{};
        GetObjectW(picture_.Bitmap(), sizeof info, &info);
        size_ = {info.bmWidth, info.bmHeight};
    }
    SetWindowPos(Hwnd(), nullptr, 0, 0, size_.cx, size_.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    if (size_.cx > 0 && size_.cy > 0) {
        std::vector<uint32_t> pixels(static_cast<size_t>(size_.cx) * size_.cy);
        for (int y = 0; y < size_.cy; ++y) {
            for (int x = 0; x < size_.cx; ++x) {
                const COLORREF c = GetPixel(picture_.Dc(), x, y);
                pixels[static_cast<size_t>(y) * size_.cx + x] =
                    (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
            }
        }
        UniqueRegion shape(CreateRectRgn(0, 0, size_.cx, size_.cy));
        for (const IntRect& run : KeyColourRuns(pixels.data(), size_.cx, size_.cy, 0x00FF00)) {
            UniqueRegion cut(CreateRectRgn(run.left, run.top, run.right, run.bottom));
            CombineRgn(shape.Get(), shape.Get(), cut.Get(), RGN_DIFF);
        }
        // The window owns the region once it is set.
        if (SetWindowRgn(Hwnd(), shape.Get(), TRUE)) shape.Release();
    }
    GetClientRect(Hwnd(), &client_);
    return TRUE;
}

bool CStatusDlg::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_ERASEBKGND || !picture_.Dc()) return false;
    StretchBlt(reinterpret_cast<HDC>(wParam), 0, 0, client_.right, client_.bottom, picture_.Dc(), 0,
               0, size_.cx, size_.cy, SRCCOPY);
    result = 1;
    return true;
}

}  // namespace orvane
