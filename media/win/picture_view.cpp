#include "media/win/picture_view.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cwctype>

#include "media/companion_paths.h"
#include "media/strip_rules.h"
#include "media/win/clip_player.h"
#include "media/win/disk_case.h"
#include "media/strip_selection.h"
#include "platform/out_of_memory.h"
#include "platform/wide.h"

namespace orvane {
namespace {

constexpr wchar_t kClassName[] = L"OrvanePictureView";
constexpr RECT kImageBox = {11, 24, 107, 96};
constexpr COLORREF kEmptyColour = RGB(233, 233, 238);

// When the press was made, not when it is handled: a busy window thread (the camera's graph
// being built, a picture being decoded) must not turn a quick double click into two clicks.
DWORD SystemTicks() {
    return static_cast<DWORD>(GetMessageTime());
}
DWORD (*g_ticks)() = SystemTicks;

bool RegisterCellClass(HINSTANCE instance) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, kClassName, &existing)) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;  // replaced per window once its object is attached
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
}

void WriteText(HDC dc, int x, int y, const std::u16string& text) {
    if (!text.empty()) TextOutW(dc, x, y, ToWide(text).c_str(), static_cast<int>(text.size()));
}

}  // namespace

void CPictureView::SetTickSource(DWORD (*ticks)()) {
    g_ticks = ticks ? ticks : SystemTicks;
}

bool CPictureView::Create(HWND owner, int id, const RECT& rect, bool preview,
                          const CellShared* shared) {
    owner_ = owner;
    shared_ = shared;
    preview_ = preview;
    width_ = rect.right - rect.left;
    height_ = rect.bottom - rect.top;
    if (!RegisterCellClass(shared->instance)) return false;
    hwnd_ = CreateWindowExW(0, kClassName, L"", WS_CHILD, rect.left, rect.top, width_, height_,
                            owner, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            shared->instance, nullptr);
    if (!hwnd_) return false;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc));
    font_.Reset(CreateFontW(-10, 0, 0, 0, 20, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS,
                            L"Arial"));
    if (!preview_) {
        HDC screen = GetDC(hwnd_);
        surface_.Adopt(CreateCompatibleBitmap(screen, width_, height_));
        ReleaseDC(hwnd_, screen);
    }
    return true;
}

LRESULT CALLBACK CPictureView::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CPictureView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    return GuardAllocations(hwnd, LRESULT{0},
                            [&] { return self->Handle(message, wParam, lParam); });
}

LRESULT CPictureView::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
            if (!preview_) OnLeftButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), wParam);
            return 0;
        case WM_RBUTTONUP:
            if (!preview_) OnRightButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), wParam);
            return 0;
        case WM_MOUSEMOVE:
            if (!preview_) OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_SETFOCUS:
            if (!preview_) {
                Post(WM_THUMB_HOVER, static_cast<LPARAM>(kHoverEnter));
                SetCapture(hwnd_);
            }
            return 0;
        case WM_KILLFOCUS:
            if (!preview_) Post(WM_THUMB_HOVER, static_cast<LPARAM>(kHoverLeave));
            return 0;
        case WM_COMMAND:
            // The context menu's commands are the main window's.
            return SendMessageW(owner_, WM_COMMAND, wParam, lParam);
        default:
            return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

void CPictureView::Post(UINT message, LPARAM lParam) const {
    PostMessageW(owner_, message, reinterpret_cast<WPARAM>(hwnd_), lParam);
}

void CPictureView::OnLeftButtonDown(int x, int y, WPARAM keys) {
    const DWORD now = g_ticks();
    if (IsDoubleClick(x, y, now, lastClick_)) {
        lastClick_ = 0;
        if (path_.size() >= 4) {
            if (isVideo_) {
                OpenClip();
            } else {
                Post(WM_THUMB_CLICK, static_cast<LPARAM>(static_cast<int32_t>(kClickOpen)));
            }
        }
    } else {
        lastClick_ = now;
    }
    Post(WM_THUMB_CLICK, static_cast<LPARAM>(keys));
}

void CPictureView::OpenClip() const {
    PlayClipOfThumbnail(path_);
}

void CPictureView::OnRightButtonUp(int x, int y, WPARAM keys) {
    Post(WM_THUMB_CLICK, static_cast<LPARAM>(keys | MK_RBUTTON));
    POINT at{x, y};
    ClientToScreen(hwnd_, &at);
    const UniqueMenu menu(LoadMenuW(shared_->instance, MAKEINTRESOURCEW(shared_->contextMenu)));
    if (HMENU popup = menu ? GetSubMenu(menu.Get(), 0) : nullptr) {
        if (shared_->prepareContextMenu) {
            shared_->prepareContextMenu(hwnd_, static_cast<uint32_t>(keys | MK_RBUTTON), popup);
        }
        TrackPopupMenu(popup, TPM_LEFTALIGN, at.x, at.y, 0, hwnd_, nullptr);
    }
}

void CPictureView::OnMouseMove(int x, int y) {
    if (x >= 0 && x <= width_ && y >= 0 && y <= height_) {
        Post(WM_THUMB_HOVER,
             static_cast<LPARAM>(kHoverMove | HoverQuadrant(x, y, width_, height_)));
    } else {
        ReleaseCapture();
        Post(WM_THUMB_HOVER, static_cast<LPARAM>(kHoverLeave));
    }
}

void CPictureView::SetSelected(bool selected) {
    if (selected_ == selected) return;
    selected_ = selected;
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
}

void CPictureView::SetPreviewRecord(const MediaInfoRecord* record) {
    hasPreviewRecord_ = record != nullptr;
    previewRecord_ = record ? *record : MediaInfoRecord{};
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void CPictureView::SetTextColour(COLORREF colour) {
    textColour_ = colour;
}

bool CPictureView::SetItem(const std::u16string* path) {
    if (!hwnd_) return false;
    if (!path || path->empty()) {
        path_.clear();
        image_ = {};
        SetWindowTextW(hwnd_, L"");
        InvalidateRect(hwnd_, nullptr, FALSE);
        return true;
    }
    if (*path == path_) return true;
    path_ = *path;
    image_ = {};
    isVideo_ = IsVideoThumbnailPath(path_, shared_->thumbFolder);
    info_ = ReadMediaInfo(path_, shared_->magnification, *shared_->files, *shared_->clock);
    if (preview_) {
        const PictureBitmap whole = LoadPicture(ToWide(path_));
        imageWidth_ = whole.width;
        imageHeight_ = whole.height;
        // Scaled once here, so that the quadrant's colour changes only copy it; smoothing pays
        // only when the picture shrinks.
        const bool shrinks = whole.width > width_ || whole.height > height_;
        image_ = ScalePicture(whole, width_, height_, 24, shrinks);
    } else if (LoadThumbnail()) {
        // Kept at the size of the picture box, so a repaint only copies it.
        image_ = ScalePicture(image_, kImageBox.right - kImageBox.left,
                              kImageBox.bottom - kImageBox.top, 24);
    }
    // A picture that cannot be shown keeps its path: it can still be selected, opened (which
    // says why it fails) and deleted on its own.
    // The window text names the file, for tools that read the strip.
    SetWindowTextW(hwnd_, ToWide(path_).c_str());
    InvalidateRect(hwnd_, nullptr, FALSE);
    return static_cast<bool>(image_.bitmap);
}

bool CPictureView::LoadThumbnail() {
    const std::wstring picture = ToWide(path_);
    const std::wstring cache = ToWide(ThumbnailCachePath(path_));
    if (!cache.empty()) {
        const int64_t cacheTime = LastWriteTime(cache);
        if (cacheTime != 0 && cacheTime > LastWriteTime(picture)) image_ = LoadPicture(cache);
    }
    if (image_.bitmap) return true;
    const PictureBitmap whole = LoadPicture(picture);
    if (!whole.bitmap) return false;
    image_ = ScalePicture(whole, width_, height_, whole.bitsPerPixel);
    // A cache that cannot be written is made again the next time.
    if (image_.bitmap && !cache.empty()) SavePicture(image_, cache);
    return static_cast<bool>(image_.bitmap);
}

bool CPictureView::WriteThumbnailCache(const std::u16string& picture,
                                       const PixelView& pixels) const {
    const std::wstring cache = ToWide(ThumbnailCachePath(picture));
    if (cache.empty() || preview_ || width_ <= 0 || height_ <= 0) return false;
    const PictureBitmap thumbnail = PictureFromPixels(pixels, width_, height_);
    if (!thumbnail.bitmap || !SavePicture(thumbnail, cache)) return false;
    if (MakeNewerThan(cache, ToWide(picture))) return true;
    // A cache that does not read as newer would be taken for a stale one; it goes.
    DeleteFileW(DiskCasePath(cache).c_str());
    return false;
}

void CPictureView::OnPaint() {
    PAINTSTRUCT ps;
    HDC screen = BeginPaint(hwnd_, &ps);
    if (preview_) {
        PaintPreview(screen);
    } else {
        PaintThumbnail(screen);
    }
    EndPaint(hwnd_, &ps);
}

void CPictureView::PaintThumbnail(HDC screen) {
    HDC dc = surface_.Dc();
    // Empty: no file, or a clip without thumbnail. A picture that cannot be shown still draws
    // its cell, marked when selected, with its date and no picture.
    if (!dc || (!image_.bitmap && (path_.empty() || isVideo_))) {
        const UniqueBrush empty(CreateSolidBrush(kEmptyColour));
        const RECT whole{0, 0, width_, height_};
        FillRect(screen, &whole, empty.Get());
        return;
    }
    const BitmapSurface* background = selected_ ? shared_->selected : shared_->normal;
    if (background && background->Dc()) {
        BitBlt(dc, 0, 0, width_, height_, background->Dc(), 0, 0, SRCCOPY);
    }
    if (image_.bitmap) {
        UniqueMemoryDc imageDc(CreateCompatibleDC(dc));
        const HGDIOBJ oldImage = SelectObject(imageDc.Get(), image_.bitmap.Get());
        BitBlt(dc, kImageBox.left, kImageBox.top, image_.width, image_.height, imageDc.Get(), 0, 0,
               SRCCOPY);
        SelectObject(imageDc.Get(), oldImage);
    } else {
        const UniqueBrush empty(CreateSolidBrush(kEmptyColour));
        FillRect(dc, &kImageBox, empty.Get());
    }
    if (isVideo_ && image_.bitmap && shared_->videoBadge && shared_->videoBadge->Dc()) {
        TransparentBlt(dc, 80, 70, 33, 27, shared_->videoBadge->Dc(), 0, 0, 33, 27,
                       RGB(255, 255, 255));
    }
    const HGDIOBJ oldFont = SelectObject(dc, font_.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, textColour_);
    WriteText(dc, 11, 100, CellDateText(info_.captureTime));
    SelectObject(dc, oldFont);
    BitBlt(screen, 0, 0, width_, height_, dc, 0, 0, SRCCOPY);
}

void CPictureView::PaintPreview(HDC screen) {
    if (image_.bitmap) {
        UniqueMemoryDc imageDc(CreateCompatibleDC(screen));
        const HGDIOBJ old = SelectObject(imageDc.Get(), image_.bitmap.Get());
        BitBlt(screen, 0, 0, width_, height_, imageDc.Get(), 0, 0, SRCCOPY);
        SelectObject(imageDc.Get(), old);
    } else {
        const RECT whole{0, 0, width_, height_};
        FillRect(screen, &whole, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    if (!hasPreviewRecord_) return;
    const MediaInfoRecord& record = previewRecord_;
    const HGDIOBJ oldFont = SelectObject(screen, font_.Get());
    SetBkMode(screen, TRANSPARENT);
    SetTextColor(screen, textColour_);
    if (isVideo_) {
        const std::wstring size =
            std::to_wstring(imageWidth_) + L"X" + std::to_wstring(imageHeight_);
        TextOutW(screen, 0, 0, size.c_str(), static_cast<int>(size.size()));
    } else {
        WriteText(screen, 0, 0, std::u16string(PreviewSizeText(record.pictureSize)));
    }
    const std::u16string name = PreviewName(RecordText(record.mediaPath));
    WriteText(screen, width_ / 2 - 6 * static_cast<int>(name.size()), height_ - 20, name);
    const std::u16string time = PreviewTimeText(record.captureTime);
    WriteText(screen, width_ - 7 * static_cast<int>(time.size()) - 10, 0, time);
    SelectObject(screen, oldFont);
}

}  // namespace orvane
