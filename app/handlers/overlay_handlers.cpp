// The windows over the live picture: the crossing cursor, the date and time, and how they (and
// the recording indicator) follow the live picture when the main window moves.
#include "app/ivora_dlg.h"
#include "capture/size_codes.h"
#include "resources/lang/menu_ids.h"
#include "resources/resource.h"

namespace orvane {

namespace {
constexpr int kDateTimeWidth = 114;
}

HWND CIvoraDlg::LiveWindow() const {
    // The video renderer's window is the main window's only child with id 0.
    return GetDlgItem(Hwnd(), 0);
}

RECT CIvoraDlg::PreviewScreenRect() const {
    RECT preview = PreviewRect();
    MapWindowPoints(Hwnd(), nullptr, reinterpret_cast<POINT*>(&preview), 2);
    return preview;
}

void CIvoraDlg::CreateOverlays() {
    if (cross_.Create(Hwnd())) MakeNonActivating(cross_.Hwnd());
    results_.Create(Hwnd());
    ReplaceCross();
    settings_.bDisplayDateTime ^= 1;
    ToggleDateTime();
}

void CIvoraDlg::OnToggleCross(UINT) {
    ToggleCross();
}

void CIvoraDlg::ReplaceCross() {
    settings_.bShowCross ^= 1;
    ToggleCross();
    // The scale bar follows the live picture wherever the cross is placed again.
    FollowScaleBar();
}

void CIvoraDlg::OnToggleScaleBar(UINT) {
    results_.ToggleLiveBar();
    FollowScaleBar();
}

void CIvoraDlg::FollowScaleBar() {
    results::LiveBarInputs in;
    in.live = editorMode_ ? nullptr : LiveWindow();
    in.deviceCode = graph_.DeviceCodeAt(graph_.CurrentDevice());
    in.stillSize = graph_.StillSize();
    in.frameWidth = static_cast<int32_t>(SizeWidth(settings_.ResolutionDisplay));
    in.frameHeight = static_cast<int32_t>(SizeHeight(settings_.ResolutionDisplay));
    in.magnification = settings_.InputMaginification;
    in.unit = results::StoredMeasureUnit();
    results_.FollowLive(in);
}

void CIvoraDlg::ToggleCross() {
    settings_.bShowCross ^= 1;
    if (!cross_.Hwnd()) return;
    HWND live = LiveWindow();
    // Without a live picture (no camera, or the editor over it) there is nothing to mark.
    if (!live || editorMode_) {
        ShowWindow(cross_.Hwnd(), SW_HIDE);
        return;
    }
    RECT r{};
    GetWindowRect(live, &r);
    MoveWindow(cross_.Hwnd(), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    cross_.SetCrossShape(1);
    ShowWindow(cross_.Hwnd(), settings_.bShowCross ? SW_SHOWNA : SW_HIDE);
}

void CIvoraDlg::OnToggleDateTime(UINT) {
    ToggleDateTime();
}

void CIvoraDlg::ToggleDateTime() {
    settings_.bDisplayDateTime ^= 1;
    if (!settings_.bDisplayDateTime) {
        dateTime_.Destroy();
        return;
    }
    if (dateTime_.Hwnd() || !dateTime_.Create(Hwnd())) return;
    MakeNonActivating(dateTime_.Hwnd());
    ShowWindow(dateTime_.Hwnd(), editorMode_ ? SW_HIDE : SW_SHOWNA);
    RECT client{};
    GetClientRect(dateTime_.Hwnd(), &client);
    const RECT preview = PreviewScreenRect();
    MoveWindow(dateTime_.Hwnd(), preview.left, preview.bottom - client.bottom, kDateTimeWidth,
               client.bottom, TRUE);
}

void CIvoraDlg::ShowDateTimeForMode() {
    // The strip stays where it is; only its visibility follows the editor.
    if (dateTime_.Hwnd()) {
        ShowWindow(dateTime_.Hwnd(),
                   !editorMode_ && settings_.bDisplayDateTime ? SW_SHOWNA : SW_HIDE);
    }
}

LRESULT CIvoraDlg::OnMove(WPARAM, LPARAM) {
    PlaceOverlays();
    return 0;
}

void CIvoraDlg::PlaceOverlays() {
    const RECT preview = PreviewScreenRect();
    if (recording_ && status_.Hwnd()) {
        RECT r{};
        GetWindowRect(status_.Hwnd(), &r);
        MoveWindow(status_.Hwnd(), preview.right - (r.right - r.left),
                   preview.bottom - (r.bottom - r.top), r.right - r.left, r.bottom - r.top, TRUE);
    }
    if (settings_.bDisplayDateTime && dateTime_.Hwnd()) {
        RECT r{};
        GetWindowRect(dateTime_.Hwnd(), &r);
        MoveWindow(dateTime_.Hwnd(), preview.left, preview.bottom - (r.bottom - r.top),
                   r.right - r.left, r.bottom - r.top, TRUE);
    }
    FollowScaleBar();
    if (!cross_.Hwnd()) return;
    HWND live = LiveWindow();
    if (!live) {
        ShowWindow(cross_.Hwnd(), SW_HIDE);
        return;
    }
    RECT r{};
    GetWindowRect(live, &r);
    MoveWindow(cross_.Hwnd(), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

}  // namespace orvane
