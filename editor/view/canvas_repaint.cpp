// Repainting the working picture while an object follows the pointer, and painting the canvas.
// Only what the object was drawn over is restored from the history top, and only the canvas
// over what changed is stretched again: on the largest pictures a full copy and a full stretch
// per mouse move would cost many times the move itself.
#include <algorithm>

#include "editor/view/canvas_bitmaps.h"
#include "editor/view/canvas_view.h"

namespace orvane {

void CIvoraImgEdtView::Repaint(bool withObject) {
    const HDC dc = working_.Dc();
    if (dc == nullptr) return;
    const RECT all{0, 0, imageWidth_, imageHeight_};
    if (HBITMAP top = history_.Current()) {
        if (restoreAll_) {
            canvas::CopyPicture(dc, top, imageWidth_, imageHeight_);
            unshown_ = all;
        } else {
            canvas::CopyPictureAreas(dc, top, std::span<const RECT>(&drawn_, 1));
            UnionRect(&unshown_, &unshown_, &drawn_);
        }
        restoreAll_ = false;
        drawn_ = RECT{};
    }
    if (!withObject || !current_) return;
    // The surface accounts for every pixel the object touches, pen widths and text included.
    SetBoundsRect(dc, nullptr, DCB_ENABLE | DCB_RESET);
    current_->Draw(dc);
    RECT bounds{};
    const UINT account = GetBoundsRect(dc, &bounds, DCB_RESET);
    SetBoundsRect(dc, nullptr, DCB_DISABLE);
    if (account == 0) {
        restoreAll_ = true;  // no account of the drawing: restore everything next time
        unshown_ = all;
    } else if ((account & DCB_SET) != 0 && IntersectRect(&drawn_, &bounds, &all)) {
        UnionRect(&unshown_, &unshown_, &drawn_);
    }
}

void CIvoraImgEdtView::ShowChanges(bool now) {
    const RECT a = unshown_;
    unshown_ = RECT{};
    if (IsRectEmpty(&a) || imageWidth_ <= 0 || imageHeight_ <= 0) return;
    RECT client{};
    GetClientRect(hwnd_.Get(), &client);
    const int64_t w = client.right, h = client.bottom;
    // Canvas pixels whose stretched source reaches into the area, with a margin for the
    // stretch's rounding.
    const auto low = [](int64_t v, int64_t size, int64_t image) {
        return std::max<int64_t>(0, v * size / image - 2);
    };
    const auto high = [](int64_t v, int64_t size, int64_t image, int64_t limit) {
        return std::min<int64_t>(limit, (v * size + image - 1) / image + 2);
    };
    const RECT r{static_cast<LONG>(low(a.left, w, imageWidth_)),
                 static_cast<LONG>(low(a.top, h, imageHeight_)),
                 static_cast<LONG>(high(a.right, w, imageWidth_, w)),
                 static_cast<LONG>(high(a.bottom, h, imageHeight_, h))};
    if (IsRectEmpty(&r)) return;
    InvalidateRect(hwnd_.Get(), &r, FALSE);
    if (now) UpdateWindow(hwnd_.Get());
}

void CIvoraImgEdtView::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_.Get(), &ps);
    if (pictureLoaded_ && working_.Dc()) {
        // All of the picture onto all of the client area; the update region clips it, and the
        // platform stretches only what lies inside it.
        RECT r{};
        GetClientRect(hwnd_.Get(), &r);
        if (r.right == imageWidth_ && r.bottom == imageHeight_) {
            BitBlt(dc, 0, 0, imageWidth_, imageHeight_, working_.Dc(), 0, 0, SRCCOPY);
        } else {
            StretchBlt(dc, 0, 0, r.right, r.bottom, working_.Dc(), 0, 0, imageWidth_, imageHeight_,
                       SRCCOPY);
        }
    }
    EndPaint(hwnd_.Get(), &ps);
}

}  // namespace orvane
