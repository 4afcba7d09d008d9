#include "app/dialogs/hyper_link.h"

#include <commctrl.h>
#include <shellapi.h>

namespace orvane {

namespace {

// Loaded once and kept for the whole process; the system's pointing hand stands in when the
// help program's cursor is not there.
HCURSOR HandCursor() {
    static HCURSOR cursor = [] {
        wchar_t path[MAX_PATH] = {};
        HCURSOR found = nullptr;
        const UINT length = GetWindowsDirectoryW(path, MAX_PATH);
        if (length > 0 && length + 14 < MAX_PATH) {
            wcscat(path, L"\\winhlp32.exe");
            if (HMODULE module = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
                if (HCURSOR c = LoadCursorW(module, MAKEINTRESOURCEW(106))) {
                    found = static_cast<HCURSOR>(CopyIcon(c));
                }
                FreeLibrary(module);
            }
        }
        return found ? found : LoadCursorW(nullptr, IDC_HAND);
    }();
    return cursor;
}

bool ShellOpen(const std::wstring& what, int& code) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", what.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    code = static_cast<int>(result);
    return result > 32;
}

std::wstring ClassesRootDefault(const std::wstring& subKey) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, subKey.c_str(), 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return {};
    }
    wchar_t value[MAX_PATH] = {};
    LONG size = sizeof value - sizeof(wchar_t);
    const bool ok = RegQueryValueW(key, nullptr, value, &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok ? std::wstring(value) : std::wstring();
}

}  // namespace

CHyperLink::~CHyperLink() {
    if (hwnd_ && original_ && IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        RemovePropW(hwnd_, L"OrvaneLink");
    }
    if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
}

bool CHyperLink::Attach(HWND control) {
    if (!control || hwnd_) return false;
    hwnd_ = control;
    wchar_t text[512] = {};
    GetWindowTextW(hwnd_, text, 512);
    if (target_.empty()) target_ = text;
    if (text[0] == L'\0') SetWindowTextW(hwnd_, target_.c_str());

    LOGFONTW logFont{};
    HFONT current = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    if (!current) current = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    GetObjectW(current, sizeof logFont, &logFont);
    logFont.lfUnderline = (options_ & kLinkUnderline) ? TRUE : FALSE;
    font_.Reset(CreateFontIndirectW(&logFont));
    if (font_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);

    if (options_ & kLinkSizeToText) SizeToItsText();
    if (!(options_ & kLinkNormalCursor)) HandCursor();

    SetPropW(hwnd_, L"OrvaneLink", this);
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));

    tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetParent(hwnd_),
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    if (tooltip_) {
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V1_SIZE;  // the size every version of the control takes
        tool.hwnd = hwnd_;
        tool.uId = 1;
        GetClientRect(hwnd_, &tool.rect);
        tool.lpszText = target_.data();
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    return true;
}

void CHyperLink::SetURL(const std::wstring& target) {
    target_ = target;
    if (!hwnd_) return;
    ShowWindow(hwnd_, SW_HIDE);
    SizeToItsText();
    UpdateTooltip();
    ShowWindow(hwnd_, SW_SHOW);
}

void CHyperLink::UpdateTooltip() {
    if (!tooltip_) return;
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;  // the size every version of the control takes
    tool.hwnd = hwnd_;
    tool.uId = 1;
    tool.lpszText = target_.data();
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CHyperLink::SizeToItsText() {
    wchar_t text[512] = {};
    GetWindowTextW(hwnd_, text, 512);
    HDC dc = GetDC(hwnd_);
    HGDIOBJ old = SelectObject(dc, font_ ? font_.Get() : GetStockObject(DEFAULT_GUI_FONT));
    SIZE extent{};
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &extent);
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);

    RECT window{};
    GetWindowRect(hwnd_, &window);
    MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&window), 2);
    RECT client{};
    GetClientRect(hwnd_, &client);
    const LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
    TextAlignment alignment;
    alignment.centreVertically = (style & SS_CENTERIMAGE) != 0;
    alignment.centreHorizontally = (style & SS_TYPEMASK) == SS_CENTER;
    alignment.alignRight = (style & SS_TYPEMASK) == SS_RIGHT;
    const IntRect sized =
        SizeToText({window.left, window.top, window.right, window.bottom}, extent.cx, extent.cy,
                   (window.right - window.left) - client.right,
                   (window.bottom - window.top) - client.bottom, alignment);
    MoveWindow(hwnd_, sized.left, sized.top, sized.Width(), sized.Height(), TRUE);
}

HBRUSH CHyperLink::OnControlColour(HDC dc) {
    // All four state colours are the same blue; the choice still follows the state.
    switch (ChooseLinkColour(state_, options_)) {
        case LinkColour::Hover:
        case LinkColour::Focused:
        case LinkColour::Visited:
        case LinkColour::Normal:
            SetTextColor(dc, kLinkColour);
            break;
    }
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
}

void CHyperLink::RelayToTooltip(const MSG& msg) {
    if (tooltip_ && msg.hwnd == hwnd_) {
        MSG copy = msg;
        SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&copy));
    }
}

bool CHyperLink::Open() {
    int code = 0;
    bool ok = ShellOpen(target_, code);
    if (!ok) {
        const std::wstring htmlClass = ClassesRootDefault(L".htm");
        const std::wstring command =
            htmlClass.empty() ? std::wstring()
                              : ClassesRootDefault(htmlClass + L"\\shell\\open\\command");
        if (!command.empty()) ok = ShellOpen(BrowserCommandLine(command, target_), code);
    }
    if (ok) {
        state_.visited = true;
        if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
        return true;
    }
    MessageBeep(MB_ICONEXCLAMATION);
    const std::wstring text = L"Can't open link:\n\n" + ShellErrorReason(code);
    MessageBoxW(hwnd_ ? GetParent(hwnd_) : nullptr, text.c_str(), nullptr,
                MB_OK | MB_ICONEXCLAMATION);
    return false;
}

LRESULT CALLBACK CHyperLink::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<CHyperLink*>(GetPropW(hwnd, L"OrvaneLink"));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}

LRESULT CHyperLink::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETCURSOR:
            if (!(options_ & kLinkNormalCursor) && HandCursor()) {
                SetCursor(HandCursor());
                return TRUE;
            }
            break;
        case WM_NCHITTEST:
            return HTCLIENT;
        case WM_MOUSEMOVE: {
            if (!state_.hover) {
                state_.hover = true;
                InvalidateRect(hwnd_, nullptr, FALSE);
                SetCapture(hwnd_);
            } else {
                RECT client{};
                GetClientRect(hwnd_, &client);
                const POINT p{static_cast<short>(LOWORD(lParam)),
                              static_cast<short>(HIWORD(lParam))};
                if (!PtInRect(&client, p)) {
                    state_.hover = false;
                    ReleaseCapture();
                    InvalidateRect(hwnd_, nullptr, FALSE);
                }
            }
            break;
        }
        case WM_LBUTTONDOWN:
            if (options_ & kLinkFocusOnDown) SetFocus(hwnd_);
            if (options_ & kLinkOpenOnDown) Open();
            state_.focusedOrPressed = true;
            return 0;
        case WM_LBUTTONUP:
            if (state_.focusedOrPressed && !(options_ & kLinkOpenOnDown)) Open();
            return 0;
        case WM_SETFOCUS:
            state_.focusedOrPressed = true;
            InvalidateRect(hwnd_, nullptr, FALSE);
            break;
        case WM_KILLFOCUS:
            state_.hover = false;
            state_.focusedOrPressed = false;
            InvalidateRect(hwnd_, nullptr, FALSE);
            break;
        case WM_KEYDOWN:
            if (wParam == VK_SPACE) {
                Open();
                return 0;
            }
            break;
        default:
            break;
    }
    return CallWindowProcW(original_, hwnd_, message, wParam, lParam);
}

}  // namespace orvane
