// The editor window's dressing in the stored language: the owner-drawn menu with its icons, the
// picture buttons with their tooltips, the magnification caption, and the pre-filter that moves
// the focus under the pointer.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "app/rules/language.h"
#include "editor/rules/window_rules.h"
#include "editor/window/editor_dlg.h"
#include "platform/reg_key.h"
#include "resource.h"
#include "widgets/button_clicks.h"
#include "widgets/label_picture.h"

namespace orvane {
namespace {

constexpr UINT kMenuIconStrip = 162;
constexpr UINT kCaptionPicture = 231;
// Style bits of the children that take the focus when the pointer moves over them: push,
// default and owner-drawn buttons among them.
constexpr LONG kFocusStyleBits = 0x0B;

struct ButtonEntry {
    int id;
    int tipMessage;
};

// In the order of the template; the picture's name is the button's text.
constexpr ButtonEntry kButtons[CIvoraImgEdtDlg::kButtonCount] = {
    {IDC_EDITOR_SAVE_AS, 21},  {IDC_EDITOR_COPY_FILE, 9},  {IDC_EDITOR_COPY_PICTURE, 10},
    {IDC_EDITOR_DRAW, 11},     {IDC_EDITOR_DRAW_MORE, 12}, {IDC_EDITOR_TEXT, 22},
    {IDC_EDITOR_FONT, 23},     {IDC_EDITOR_MEASURE, 15},   {IDC_EDITOR_MEASURE_MORE, 15},
    {IDC_EDITOR_PREVIOUS, 19}, {IDC_EDITOR_NEXT, 18},      {IDC_EDITOR_UNDO, 24},
    {IDC_EDITOR_REDO, 20},     {IDC_EDITOR_CLOSE, 8},
};

constexpr wchar_t kFrameProcedure[] = L"OrvaneFrameProc";
constexpr COLORREF kFrameBackground = RGB(233, 233, 238);

// The frame around the fitted canvas paints the window's background on every side the canvas
// leaves free; a plain frame control draws only its line and shows what lay below it.
LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto old = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kFrameProcedure));
    if (!old) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_ERASEBKGND) {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        RECT client{};
        GetClientRect(hwnd, &client);
        // Around the canvas only: it paints itself.
        const int saved = SaveDC(dc);
        for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (!IsWindowVisible(child)) continue;
            RECT r{};
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
            ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
        }
        const UniqueBrush brush(CreateSolidBrush(kFrameBackground));
        FillRect(dc, &client, brush.Get());
        RestoreDC(dc, saved);
        return 1;
    }
    if (message == WM_NCDESTROY) {
        RemovePropW(hwnd, kFrameProcedure);
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    }
    return CallWindowProcW(old, hwnd, message, wParam, lParam);
}

}  // namespace

void CIvoraImgEdtDlg::PaintFrameBackground() {
    HWND frame = Item(IDC_EDITOR_FRAME);
    if (!frame || GetPropW(frame, kFrameProcedure)) return;
    const LONG_PTR old = GetWindowLongPtrW(frame, GWLP_WNDPROC);
    if (!SetPropW(frame, kFrameProcedure, reinterpret_cast<HANDLE>(old))) return;
    SetWindowLongPtrW(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FrameProc));
    // The canvas inside paints itself.
    SetWindowLongW(frame, GWL_STYLE, GetWindowLongW(frame, GWL_STYLE) | WS_CLIPCHILDREN);
}

void CIvoraImgEdtDlg::ReadLanguage() {
    DWORD language = 503;
    RegKey key;
    if (key.Create(HKEY_CURRENT_USER, L"Software\\Orvane")) {
        DWORD type = 0;
        std::string bytes;
        if (key.Query(L"Language", type, bytes) && type == REG_DWORD && bytes.size() == 4) {
            language = *reinterpret_cast<const DWORD*>(bytes.data());
        }
    }
    language_ = language;
    stringBase_ = StringBase(language_);
    // Formats and sort orders of this thread follow the language; 0 (unknown) leaves them.
    const uint32_t locale = editor::LocaleOfLanguage(static_cast<int32_t>(language_));
    if (locale != 0) SetThreadLocale(locale);
}

std::wstring CIvoraImgEdtDlg::Text(int message) const {
    const wchar_t* text = nullptr;
    // With a zero buffer size the call answers a read-only pointer into the resource.
    const int length = LoadStringW(Instance(), MessageId(stringBase_, message),
                                   reinterpret_cast<wchar_t*>(&text), 0);
    if (length <= 0 || text == nullptr) return {};
    return std::wstring(text, static_cast<size_t>(length));
}

void CIvoraImgEdtDlg::LoadLanguageMenu() {
    const int32_t id = editor::EditorMenuOfLanguage(static_cast<int32_t>(language_));
    menu_.Reset(LoadMenuW(Instance(), MAKEINTRESOURCEW(id)));
    if (!menu_) return;
    for (int i = 0; i < GetMenuItemCount(menu_.Get()); ++i) {
        if (HMENU popup = GetSubMenu(menu_.Get(), i)) menuDraw_.RegisterItems(popup);
    }
    if (menuDraw_.LoadIconStrip(kMenuIconStrip)) {
        for (uint32_t command = 32799; command <= 32876; ++command) {
            const int32_t image = editor::EditorMenuImage(command);
            if (image >= 0) menuDraw_.SetItemIcon(command, image);
        }
    }
    // As the main window's menus: red shows only where no item is drawn.
    menuBrush_.Reset(CreateSolidBrush(RGB(255, 0, 0)));
    SetMenuBackground(menu_.Get(), menuBrush_.Get());
}

void CIvoraImgEdtDlg::LoadButtons() {
    for (size_t i = 0; i < kButtonCount; ++i) {
        HWND button = Item(kButtons[i].id);
        if (!button) continue;
        wchar_t name[64] = {};
        GetWindowTextW(button, name, 64);
        if (!buttons_[i].Load(Instance(), name)) continue;
        TakeDoubleClicksAsClicks(button);
        SetWindowLongW(button, GWL_STYLE,
                       (GetWindowLongW(button, GWL_STYLE) & ~BS_TYPEMASK) | BS_OWNERDRAW);
    }
}

void CIvoraImgEdtDlg::LayOut() {
    const HWND owner = GetParent(Hwnd());
    RECT client{};
    GetClientRect(owner, &client);
    MoveWindow(Hwnd(), 0, 0, client.right, client.bottom, FALSE);
    // One row of buttons at their pictures' sizes, in groups; Back at the right end.
    constexpr int kMargin = 4, kGroupGap = 10, kPairGap = 4;
    int x = kMargin, rowBottom = kMargin + 24;
    for (size_t i = 0; i < kButtonCount; ++i) {
        HWND button = Item(kButtons[i].id);
        if (!button) continue;
        SIZE size = buttons_[i].Size();
        if (size.cx <= 0 || size.cy <= 0) {
            RECT r{};
            GetWindowRect(button, &r);
            size = {r.right - r.left, r.bottom - r.top};
        }
        const int id = kButtons[i].id;
        const int left = id == IDC_EDITOR_CLOSE ? client.right - kMargin - size.cx : x;
        MoveWindow(button, left, kMargin, size.cx, size.cy, FALSE);
        rowBottom = std::max(rowBottom, kMargin + static_cast<int>(size.cy));
        x = left + size.cx;
        const bool groupEnd =
            id == IDC_EDITOR_COPY_PICTURE || id == IDC_EDITOR_MEASURE_MORE || id == IDC_EDITOR_NEXT;
        const bool pairEnd = id == IDC_EDITOR_DRAW_MORE || id == IDC_EDITOR_FONT;
        x += groupEnd ? kGroupGap : pairEnd ? kPairGap : 1;
    }
    // Below it the title line (where the note box opens) and the magnification.
    constexpr int kLineHeight = 20, kBoxWidth = 110, kCaptionWidth = 130;
    const int lineTop = rowBottom + 4;
    const int boxLeft = client.right - kMargin - kBoxWidth;
    MoveWindow(Item(IDC_EDITOR_MAGNIFICATION), boxLeft, lineTop, kBoxWidth, kLineHeight, FALSE);
    const int captionLeft = boxLeft - 4 - kCaptionWidth;
    MoveWindow(Item(IDC_EDITOR_MAGNIFICATION_CAPTION), captionLeft, lineTop + 2, kCaptionWidth,
               kLineHeight - 4, FALSE);
    MoveWindow(Item(IDC_EDITOR_NOTE), kMargin, lineTop, std::max(0, captionLeft - 8 - kMargin),
               kLineHeight, FALSE);
    const int frameTop = lineTop + kLineHeight + 4;
    MoveWindow(Item(IDC_EDITOR_FRAME), kMargin, frameTop,
               std::max(0, static_cast<int>(client.right) - 2 * kMargin),
               std::max(0, static_cast<int>(client.bottom) - frameTop - kMargin), FALSE);
}

bool CIvoraImgEdtDlg::DrawControl(const DRAWITEMSTRUCT& item) {
    if (item.CtlType == ODT_MENU) return menuDraw_.DrawItem(&item);
    if (item.CtlType != ODT_BUTTON) return false;
    for (size_t i = 0; i < kButtonCount; ++i) {
        if (static_cast<UINT>(kButtons[i].id) == item.CtlID && buttons_[i].Loaded()) {
            buttons_[i].Draw(item);
            return true;
        }
    }
    return false;
}

void CIvoraImgEdtDlg::CreateTooltips() {
    tooltips_.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                    WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(), nullptr,
                                    Instance(), nullptr));
    if (!tooltips_) return;
    for (size_t i = 0; i < kButtonCount; ++i) {
        HWND control = Item(kButtons[i].id);
        if (!control) continue;
        std::wstring text = Text(kButtons[i].tipMessage);
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V1_SIZE;  // the size every version of the control takes
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = control;
        tool.uId = i;
        tool.lpszText = text.data();
        GetClientRect(control, &tool.rect);
        SendMessageW(tooltips_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void CIvoraImgEdtDlg::DrawMagnificationCaption() {
    HWND caption = Item(IDC_EDITOR_MAGNIFICATION_CAPTION);
    if (!caption) return;
    RECT client{};
    GetClientRect(caption, &client);
    HBITMAP bitmap = LabelPicture(Instance(), kCaptionPicture, client, Text(42), 0);
    if (!bitmap) return;
    SendMessageW(caption, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    captionPicture_.Reset(bitmap);
}

bool CIvoraImgEdtDlg::OwnsKeyMessage(const MSG& msg) const {
    const bool key = msg.message == WM_KEYDOWN || msg.message == WM_KEYUP ||
                     msg.message == WM_CHAR || msg.message == WM_SYSKEYDOWN ||
                     msg.message == WM_SYSKEYUP || msg.message == WM_SYSCHAR;
    return key && Hwnd() != nullptr && (msg.hwnd == Hwnd() || IsChild(Hwnd(), msg.hwnd));
}

bool CIvoraImgEdtDlg::PreTranslate(MSG& msg) {
    if (Hwnd() == nullptr || closed_) return false;
    if (quitMessage_ != 0 && msg.message == quitMessage_) {
        Close();
        return true;
    }
    // Esc and Enter close nothing: only the canvas takes them (Enter ends a text).
    if (OwnsKeyMessage(msg) && (msg.wParam == VK_ESCAPE || msg.wParam == VK_RETURN) &&
        msg.message != WM_SYSKEYDOWN && msg.message != WM_SYSKEYUP) {
        return msg.hwnd != canvas_.Hwnd();
    }
    if (msg.message != WM_MOUSEMOVE) return false;
    if (!movedSinceMenu_) {
        POINT p{};
        GetCursorPos(&p);
        movedSinceMenu_ = p.x != menuPoint_.x || p.y != menuPoint_.y;
    }
    // Typed text reaches the text tool only through the canvas's focus.
    if (msg.hwnd == Hwnd() || msg.hwnd == canvas_.Hwnd()) {
        if (canvas_.Hwnd() && GetFocus() != canvas_.Hwnd()) SetFocus(canvas_.Hwnd());
    } else if (IsChild(Hwnd(), msg.hwnd) &&
               (GetWindowLongW(msg.hwnd, GWL_STYLE) & kFocusStyleBits) != 0) {
        if (GetFocus() != msg.hwnd) SetFocus(msg.hwnd);
    }
    return false;
}

}  // namespace orvane
