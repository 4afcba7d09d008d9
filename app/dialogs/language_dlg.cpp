#include "app/dialogs/language_dlg.h"

#include "resources/resource.h"

namespace orvane {

namespace {
// Image control 400 + k shows icon 300 + k, except Vietnamese, whose icon is 320.
int IconIdFor(int k) {
    return k == 13 ? 320 : 300 + k;
}
}  // namespace

CLanguageDlg::CLanguageDlg() : Dialog(IDD_LANGUAGE) {}

BOOL CLanguageDlg::OnInitDialog() {
    for (int k = 1; k <= kLanguageCount; ++k) {
        RECT radio{};
        GetWindowRect(Item(500 + k), &radio);
        const LabelRect screen = LanguageLabelRect(radio.top, radio.right, radio.bottom);
        POINT corners[2] = {{screen.left, screen.top}, {screen.right, screen.bottom}};
        ScreenToClient(Hwnd(), &corners[0]);
        ScreenToClient(Hwnd(), &corners[1]);
        labels_[k - 1] = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
        HWND image = Item(400 + k);
        MoveWindow(image, corners[0].x, corners[0].y, 80, 16, FALSE);
        icons_[k - 1].Reset(static_cast<HICON>(
            LoadImageW(Instance(), MAKEINTRESOURCEW(IconIdFor(k)), IMAGE_ICON, 80, 16, 0)));
        if (icons_[k - 1]) {
            SendMessageW(image, STM_SETIMAGE, IMAGE_ICON,
                         reinterpret_cast<LPARAM>(icons_[k - 1].Get()));
        }
    }
    selected = LanguageDialogPreset(selected);
    CheckRadioButton(Hwnd(), 501, 513, static_cast<int>(selected));
    return TRUE;
}

bool CLanguageDlg::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_LBUTTONUP && (msg.hwnd == Hwnd() || IsChild(Hwnd(), msg.hwnd))) {
        POINT p{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
        MapWindowPoints(msg.hwnd, Hwnd(), &p, 1);
        if (const uint32_t code = LanguageAtPoint(labels_, p.x, p.y)) {
            Choose(code);
            return true;
        }
    }
    return Dialog::PreTranslateMessage(msg);
}

bool CLanguageDlg::OnCommand(UINT id, UINT code, HWND) {
    if (id < 501 || id > 513 || code != BN_CLICKED) return false;
    Choose(id);
    return true;
}

void CLanguageDlg::Choose(uint32_t code) {
    selected = code;
    EndDialog(IDOK);
}

}  // namespace orvane
