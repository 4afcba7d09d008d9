#include "widgets/button_clicks.h"

#include <cwchar>

namespace orvane {
namespace {

constexpr wchar_t kOldProcedure[] = L"OrvaneButtonProc";

LRESULT CALLBACK ClickingButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto old = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kOldProcedure));
    if (!old) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_LBUTTONDBLCLK) message = WM_LBUTTONDOWN;
    if (message == WM_NCDESTROY) {
        RemovePropW(hwnd, kOldProcedure);
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    }
    return CallWindowProcW(old, hwnd, message, wParam, lParam);
}

}  // namespace

void TakeDoubleClicksAsClicks(HWND button) {
    if (!button || GetPropW(button, kOldProcedure)) return;
    const LONG_PTR old = GetWindowLongPtrW(button, GWLP_WNDPROC);
    if (!old || !SetPropW(button, kOldProcedure, reinterpret_cast<HANDLE>(old))) return;
    SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ClickingButtonProc));
}

bool IsButtonNotificationOtherThanClick(HWND control, UINT code) {
    if (!control || code == BN_CLICKED) return false;
    wchar_t name[16] = {};
    GetClassNameW(control, name, 16);
    return _wcsicmp(name, L"Button") == 0;
}

}  // namespace orvane
