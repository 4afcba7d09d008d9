// How the main window looks between its controls: the background and the preview area drawn
// in one block, the minimised icon, the magnification label and the tooltips.
#include "app/ivora_dlg.h"

#include <commctrl.h>

#include <array>

#include "app/messages.h"
#include "resources/resource.h"
#include "widgets/label_picture.h"

namespace orvane {

namespace {

constexpr COLORREF kBackground = RGB(233, 233, 238);

struct Tip {
    int control;
    int message;
};

constexpr std::array<Tip, 13> kTips = {{
    {IDC_BTN_LANGUAGE, kMsgSelectLanguage},
    {IDC_BTN_DEVICE, kMsgSelectDevice},
    {IDC_BTN_PAUSE, kMsgPauseVideo},
    {IDC_BTN_SNAP, kMsgCapturePicture},
    {IDC_BTN_CAPTURE, kMsgRecordVideo},
    {IDC_BTN_SETTING, kMsgImageSetting},
    {IDC_BTN_CLOCK, kMsgTimeLapse},
    {IDC_BTN_TIME, kMsgDateTime},
    {IDC_BTN_SAVE, kMsgSaveAs},
    {IDC_BTN_CROSS, kMsgCrossingCursor},
    {IDC_BTN_MEASURE, kMsgMeasureOrPlay},
    {IDC_BTN_DEL, kMsgDeleteSelected},
    {IDC_BTN_DEL_ALL, kMsgDeleteAll},
}};

}  // namespace

LRESULT CIvoraDlg::OnPaint(WPARAM, LPARAM) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Hwnd(), &ps);
    if (IsIconic(Hwnd()) && icon_) {
        RECT client{};
        GetClientRect(Hwnd(), &client);
        const int cx = GetSystemMetrics(SM_CXICON);
        const int cy = GetSystemMetrics(SM_CYICON);
        DrawIcon(dc, (client.right - cx + 1) / 2, (client.bottom - cy + 1) / 2, icon_);
    }
    EndPaint(Hwnd(), &ps);
    return 0;
}

LRESULT CIvoraDlg::OnEraseBackground(WPARAM wParam, LPARAM) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    // Drawn off-screen and copied in one block, so the large window does not flicker; only the
    // part being repainted is drawn.
    RECT area{};
    if (GetClipBox(dc, &area) == ERROR || IsRectEmpty(&area)) GetClientRect(Hwnd(), &area);
    const int width = area.right - area.left, height = area.bottom - area.top;
    UniqueMemoryDc surface(CreateCompatibleDC(dc));
    UniqueBitmap bitmap(CreateCompatibleBitmap(dc, width, height));
    if (!surface || !bitmap) return 0;
    const HGDIOBJ old = SelectObject(surface.Get(), bitmap.Get());
    SetViewportOrgEx(surface.Get(), -area.left, -area.top, nullptr);
    const UniqueBrush background(CreateSolidBrush(kBackground));
    FillRect(surface.Get(), &area, background.Get());
    const RECT preview = PreviewRect();
    if (deviceCount_ != 0) {
        FillRect(surface.Get(), &preview, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    } else {
        FillRect(surface.Get(), &preview, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        if (noCameraPicture_.Dc()) {
            BitBlt(surface.Get(), logoRect_.x, logoRect_.y, logoRect_.width, logoRect_.height,
                   noCameraPicture_.Dc(), 0, 0, SRCCOPY);
        }
    }
    BitBlt(dc, area.left, area.top, width, height, surface.Get(), area.left, area.top, SRCCOPY);
    SelectObject(surface.Get(), old);
    return 1;
}

LRESULT CIvoraDlg::OnQueryDragIcon(WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>(icon_);
}

void CIvoraDlg::CreateTooltips() {
    tooltips_.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                    WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(), nullptr,
                                    Instance(), nullptr));
    if (!tooltips_) return;
    SetWindowPos(tooltips_.Get(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CIvoraDlg::UpdateLabelAndTips() {
    DrawMagnificationLabel();
    if (!tooltips_) return;
    HWND crossButton = Item(IDC_BTN_CROSS);
    for (size_t i = 0; i < kTips.size(); ++i) {
        HWND control = Item(kTips[i].control);
        if (!control) continue;
        std::wstring text = MessageText(kTips[i].message);
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V1_SIZE;  // the size every version of the control takes
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = control;
        tool.uId = i;
        tool.lpszText = text.data();
        // The three file buttons take the cross button's size.
        const bool fileButton = kTips[i].control == IDC_BTN_MEASURE ||
                                kTips[i].control == IDC_BTN_DEL ||
                                kTips[i].control == IDC_BTN_DEL_ALL;
        GetClientRect(fileButton && crossButton ? crossButton : control, &tool.rect);
        if (tipsRegistered_) {
            SendMessageW(tooltips_.Get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
        } else {
            SendMessageW(tooltips_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
    tipsRegistered_ = true;
}

void CIvoraDlg::DrawMagnificationLabel() {
    HWND label = Item(IDC_MAGNIFICATION_LABEL);
    if (!label) return;
    ShowWindow(label, SW_HIDE);
    RECT client{};
    GetClientRect(label, &client);
    HBITMAP bitmap = LabelPicture(Instance(), IDB_MAGNIFICATION_LABEL, client,
                                  MessageText(kMsgMagnification), 0x20);
    if (!bitmap) return;
    // The label shows the picture we keep; the one it showed before goes once replaced.
    SendMessageW(label, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    labelPicture_.Reset(bitmap);
    ShowWindow(label, SW_SHOW);
    RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
}

}  // namespace orvane
