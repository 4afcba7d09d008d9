#include "app/overlays.h"

#include <cwchar>

#include "platform/handles.h"
#include "resources/resource.h"

namespace orvane {
namespace {
constexpr UINT_PTR kTimerClock = 9000;
constexpr COLORREF kCrossColour = RGB(255, 0, 255);
}  // namespace

bool KeepOwnerActive(HWND overlay, UINT message, WPARAM wParam, LRESULT& result) {
    if (message == WM_MOUSEACTIVATE) {
        result = MA_NOACTIVATE;
        return true;
    }
    // Wine activates a clicked popup despite its no-activate style: hand the activation back.
    if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE) {
        if (HWND owner = GetWindow(overlay, GW_OWNER)) SetForegroundWindow(owner);
        result = 0;
        return true;
    }
    return false;
}

void MakeNonActivating(HWND window) {
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    SetWindowLongPtrW(
        window, GWL_EXSTYLE,
        (style & ~static_cast<LONG_PTR>(WS_EX_APPWINDOW)) | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW);
}

CCross::CCross() : Dialog(IDD_CROSS) {}

void CCross::SetCrossShape(int t) {
    RECT client{};
    GetClientRect(Hwnd(), &client);
    const int w = client.right, h = client.bottom;
    UniqueRegion horizontal(CreateRectRgn(0, (h - t) / 2, w, (h + t) / 2));
    UniqueRegion vertical(CreateRectRgn((w - t) / 2, 0, (w + t) / 2, h));
    UniqueRegion cross(CreateRectRgn(0, 0, 0, 0));
    if (!horizontal || !vertical || !cross) return;
    CombineRgn(cross.Get(), horizontal.Get(), vertical.Get(), RGN_OR);
    // The window owns its region from here on and frees the one it replaces.
    if (SetWindowRgn(Hwnd(), cross.Get(), TRUE)) cross.Release();
}

bool CCross::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (KeepOwnerActive(Hwnd(), message, wParam, result)) return true;
    if (message != WM_ERASEBKGND) return false;
    RECT client{};
    GetClientRect(Hwnd(), &client);
    const UniqueBrush magenta(CreateSolidBrush(kCrossColour));
    FillRect(reinterpret_cast<HDC>(wParam), &client, magenta.Get());
    result = 1;
    return true;
}

CTextDlg::CTextDlg() : Dialog(IDD_DATE_TIME) {}

BOOL CTextDlg::OnInitDialog() {
    if (!noClock) SetTimer(Hwnd(), kTimerClock, 1000, nullptr);
    return TRUE;
}

bool CTextDlg::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (KeepOwnerActive(Hwnd(), message, wParam, result)) return true;
    if (message != WM_TIMER || wParam != kTimerClock) return false;
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t text[32];
    swprintf(text, 32, L"%4d-%02d-%02d %02d:%02d:%02d", now.wYear, now.wMonth, now.wDay, now.wHour,
             now.wMinute, now.wSecond);
    SetItemText(IDC_DATE_TIME_TEXT, text);
    result = 0;
    return true;
}

}  // namespace orvane
