// Repainting the working picture while an object follows the pointer, and painting the canvas.
// Only the tiles the object was drawn over are restored from the history top, and only the
// canvas over the tiles that changed is stretched again: on the largest pictures a full copy
// and a full stretch per mouse move would cost many times the move itself.
#include <algorithm>

#include "editor/objects/draw_object.h"
#include "editor/view/canvas_bitmaps.h"
#include "editor/view/canvas_view.h"

namespace orvane {

void CIvoraImgEdtView::Repaint(bool withObject) {
    const HDC dc = working_.Dc();
    if (dc == nullptr) return;
    const editor::Box all{0, 0, imageWidth_, imageHeight_};
    if (HBITMAP top = history_.Current()) {
        if (restoreAll_) {
            canvas::CopyPicture(dc, top, imageWidth_, imageHeight_);
            unshown_.MarkBox(all);
        } else if (!drawn_.Empty()) {
            UniqueMemoryDc source(CreateCompatibleDC(dc));
            HGDIOBJ old = source ? SelectObject(source.Get(), top) : nullptr;
            drawn_.ForEachRun([&](const editor::Box& b) {
                if (source) {
                    BitBlt(dc, b.left, b.top, b.right - b.left, b.bottom - b.top, source.Get(),
                           b.left, b.top, SRCCOPY);
                }
            });
            if (source) SelectObject(source.Get(), old);
            unshown_.Add(drawn_);
        }
        restoreAll_ = false;
        drawn_.Clear();
    }
    if (!withObject || !current_) return;
    bool failed = false;
    {
        DrawnAreas areas(dc, drawn_);
        current_->Draw(dc);
        areas.TakeBox();
        failed = areas.Failed();
    }
    if (failed) {
        restoreAll_ = true;  // no account of the drawing: restore everything next time
        drawn_.MarkBox(all);
    }
    unshown_.Add(drawn_);
}

void CIvoraImgEdtView::ShowChanges(bool now) {
    if (unshown_.Empty()) return;
    RECT client{};
    GetClientRect(hwnd_.Get(), &client);
    const int64_t w = client.right, h = client.bottom;
    const int64_t iw = imageWidth_, ih = imageHeight_;
    unshown_.ForEachRun([&](const editor::Box& a) {
        if (iw <= 0 || ih <= 0) return;
        // Canvas pixels whose stretched source reaches into the area, with a margin for the
        // stretch's rounding.
        const RECT r{static_cast<LONG>(std::max<int64_t>(0, a.left * w / iw - 2)),
                     static_cast<LONG>(std::max<int64_t>(0, a.top * h / ih - 2)),
                     static_cast<LONG>(std::min<int64_t>(w, (a.right * w + iw - 1) / iw + 2)),
                     static_cast<LONG>(std::min<int64_t>(h, (a.bottom * h + ih - 1) / ih + 2))};
        if (r.right > r.left && r.bottom > r.top) InvalidateRect(hwnd_.Get(), &r, FALSE);
    });
    unshown_.Clear();
    if (now) UpdateWindow(hwnd_.Get());
}

// All of the picture is stretched onto all of the client area once for each rectangle of the
// update region, clipped to it: the platform stretches what lies in the box around the
// clipping, and the box around a few thin strips across the canvas is all of it.
void CIvoraImgEdtView::OnPaint() {
    if (!update_) update_.Reset(CreateRectRgn(0, 0, 0, 0));
    const bool known = update_ && GetUpdateRgn(hwnd_.Get(), update_.Get(), FALSE) != ERROR;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_.Get(), &ps);
    if (pictureLoaded_ && working_.Dc()) {
        RECT r{};
        GetClientRect(hwnd_.Get(), &r);
        const auto stretch = [&] {
            if (r.right == imageWidth_ && r.bottom == imageHeight_) {
                BitBlt(dc, 0, 0, imageWidth_, imageHeight_, working_.Dc(), 0, 0, SRCCOPY);
            } else {
                StretchBlt(dc, 0, 0, r.right, r.bottom, working_.Dc(), 0, 0, imageWidth_,
                           imageHeight_, SRCCOPY);
            }
        };
        const DWORD size = known ? GetRegionData(update_.Get(), 0, nullptr) : 0;
        if (size > sizeof(RGNDATAHEADER)) {
            if (updateRects_.size() < size) updateRects_.resize(size);
            auto* data = reinterpret_cast<RGNDATA*>(updateRects_.data());
            if (GetRegionData(update_.Get(), size, data) != size) data->rdh.nCount = 0;
            const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
            for (DWORD i = 0; i < data->rdh.nCount; ++i) {
                const int saved = SaveDC(dc);
                IntersectClipRect(dc, rects[i].left, rects[i].top, rects[i].right, rects[i].bottom);
                stretch();
                RestoreDC(dc, saved);
            }
        } else {
            stretch();
        }
    }
    EndPaint(hwnd_.Get(), &ps);
}

}  // namespace orvane
