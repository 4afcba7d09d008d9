// Repainting the working picture while an object follows the pointer, and painting the canvas.
// Only the tiles the object was drawn over are restored from the history top, and only the
// canvas pixels over the tiles that changed are scaled again (by our own rule, which any part
// can follow alone): on the largest pictures a full copy and a full stretch per
// mouse move would cost many times the move itself.
#include <algorithm>
#include <cstring>

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
            // Both are our top-down sections of one size: the tiles' rows are copied directly.
            const editor::Pixels24 to = WorkingPixels();
            const editor::Pixels24 from = SectionPixels(top);
            if (to.bits && from.bits && from.width == to.width && from.height == to.height) {
                GdiFlush();
                drawn_.ForEachRun([&](const editor::Box& b) {
                    const size_t bytes = static_cast<size_t>(b.right - b.left) * 3;
                    for (int32_t y = b.top; y < b.bottom; ++y) {
                        std::memcpy(
                            to.bits + y * to.stride + static_cast<ptrdiff_t>(b.left) * 3,
                            from.bits + y * from.stride + static_cast<ptrdiff_t>(b.left) * 3,
                            bytes);
                    }
                });
                unshown_.Add(drawn_);
            } else {
                canvas::CopyPicture(dc, top, imageWidth_, imageHeight_);
                unshown_.MarkBox(all);
            }
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
    if (!shownValid_) {
        unshown_.Clear();
        InvalidateRect(hwnd_.Get(), nullptr, FALSE);
        if (now) UpdateWindow(hwnd_.Get());
        return;
    }
    GdiFlush();  // the drawing into the working picture is complete before it is read
    const editor::Pixels24 working = WorkingPixels();
    RECT bounds{};
    unshown_.ForEachRun([&](const editor::Box& a) {
        const editor::IndexRange xs = editor::TargetsOf(shownColumns_, a.left, a.right);
        const editor::IndexRange ys = editor::TargetsOf(shownRows_, a.top, a.bottom);
        if (xs.first >= xs.end || ys.first >= ys.end) return;
        editor::ScaleToCanvas(working, shownPixels_, shownColumns_, shownRows_, xs.first, ys.first,
                              xs.end, ys.end);
        const RECT r{xs.first, ys.first, xs.end, ys.end};
        UnionRect(&bounds, &bounds, &r);
    });
    unshown_.Clear();
    // One rectangle around the changes: the platform shows a window's painting by the box
    // around it anyway, and many small rectangles make its update region slow to build.
    if (IsRectEmpty(&bounds)) return;
    InvalidateRect(hwnd_.Get(), &bounds, FALSE);
    if (now) UpdateWindow(hwnd_.Get());
}

editor::Pixels24 CIvoraImgEdtView::WorkingPixels() const {
    return SectionPixels(working_.Bitmap());
}

// The pixels of one of our top-down 24-bit sections (canvas::NewDib); the row order is not read
// back from the section, whose header comes back with a positive height.
editor::Pixels24 CIvoraImgEdtView::SectionPixels(HBITMAP section) {
    DIBSECTION dib{};
    if (!section || GetObjectW(section, sizeof dib, &dib) != sizeof dib ||
        dib.dsBm.bmBits == nullptr || dib.dsBm.bmBitsPixel != 24) {
        return {};
    }
    return {static_cast<uint8_t*>(dib.dsBm.bmBits), dib.dsBm.bmWidth, dib.dsBm.bmHeight,
            static_cast<ptrdiff_t>(dib.dsBm.bmWidthBytes)};
}

bool CIvoraImgEdtView::EnsureShown() {
    RECT client{};
    GetClientRect(hwnd_.Get(), &client);
    const editor::Pixels24 working = WorkingPixels();
    if (!pictureLoaded_ || !working.bits || client.right <= 0 || client.bottom <= 0) return false;
    if (shownValid_ && shownPixels_.width == client.right && shownPixels_.height == client.bottom) {
        return true;
    }
    if (shownPixels_.width != client.right || shownPixels_.height != client.bottom) {
        void* bits = nullptr;
        if (!shown_.Adopt(canvas::NewDib(client.right, client.bottom, &bits)) || !bits) {
            shown_.Reset();
            shownPixels_ = {};
            return false;
        }
        shownPixels_ = {static_cast<uint8_t*>(bits), client.right, client.bottom,
                        static_cast<ptrdiff_t>(canvas::Stride24(client.right))};
    }
    shownColumns_ = editor::FootprintsOf(working.width, client.right);
    shownRows_ = editor::FootprintsOf(working.height, client.bottom);
    GdiFlush();
    editor::ScaleToCanvas(working, shownPixels_, shownColumns_, shownRows_, 0, 0, client.right,
                          client.bottom);
    shownValid_ = true;
    return true;
}

void CIvoraImgEdtView::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_.Get(), &ps);
    if (EnsureShown()) {
        const RECT& r = ps.rcPaint;
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, shown_.Dc(), r.left, r.top,
               SRCCOPY);
    }
    EndPaint(hwnd_.Get(), &ps);
}

}  // namespace orvane
