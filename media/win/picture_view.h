#pragma once
// One cell of the thumbnail strip, or the large hover preview over the live picture: shows a
// picture or a clip's thumbnail with its capture time, and reports clicks and hovering to its
// owner by posted messages.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "media/media_files.h"
#include "media/media_info.h"
#include "media/win/picture_image.h"
#include "platform/handles.h"

namespace orvane {

constexpr UINT WM_THUMB_CLICK = WM_USER + 10;
constexpr UINT WM_THUMB_HOVER = WM_USER + 11;

// What every cell shares, owned by the main window.
struct CellShared {
    HINSTANCE instance = nullptr;
    const BitmapSurface* normal = nullptr;  // 118 x 120 backgrounds
    const BitmapSurface* selected = nullptr;
    const BitmapSurface* videoBadge = nullptr;  // 33 x 27, white transparent
    MediaFiles* files = nullptr;
    MediaClock* clock = nullptr;
    double magnification = 0.0;  // for pictures without a side file
    std::u16string thumbFolder;  // the video folder's side folder: its pictures stand for clips
    int contextMenu = 0;         // menu resource of the current language; submenu 0 is shown
    // Enables or greys the context menu's items just before it opens on cell, for the right
    // click (its key flags) whose selection change is posted but not yet handled.
    std::function<void(HWND cell, uint32_t flags, HMENU popup)> prepareContextMenu;
};

class CPictureView {
  public:
    CPictureView() = default;
    CPictureView(const CPictureView&) = delete;
    CPictureView& operator=(const CPictureView&) = delete;
    ~CPictureView() = default;  // the window goes with its parent

    // The tick source of double clicks; tests replace it.
    static void SetTickSource(DWORD (*ticks)());

    bool Create(HWND owner, int id, const RECT& rect, bool preview, const CellShared* shared);
    HWND Hwnd() const { return hwnd_; }

    // Shows the file (a clip by its thumbnail); false when nothing can be shown.
    bool SetItem(const std::u16string* path);
    const std::u16string& Path() const { return path_; }
    const MediaInfoRecord& Info() const { return info_; }
    bool IsVideo() const { return isVideo_; }
    bool HasImage() const { return static_cast<bool>(image_.bitmap); }

    // Writes the cached thumbnail of a picture just stored, from a smaller copy of its pixels,
    // so that showing it reads the cache instead of decoding the whole file: the size a cell
    // keeps, newer than the picture as LoadThumbnail requires. False when the cache could not
    // be written; the cell then makes it from the file as for any picture.
    bool WriteThumbnailCache(const std::u16string& picture, const PixelView& pixels) const;

    // The preview cell writes its size, name and time from the record of the hovered file, as
    // its owner read it; none (a cell without a file) writes no texts.
    void SetPreviewRecord(const MediaInfoRecord* record);

    void SetSelected(bool selected);
    bool Selected() const { return selected_; }
    void SetTextColour(COLORREF colour);

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnLeftButtonDown(int x, int y, WPARAM keys);
    void OnRightButtonUp(int x, int y, WPARAM keys);
    void OnMouseMove(int x, int y);
    void OnPaint();
    void PaintThumbnail(HDC screen);
    void PaintPreview(HDC screen);
    void OpenClip() const;
    bool LoadThumbnail();
    void Post(UINT message, LPARAM lParam) const;

    HWND hwnd_ = nullptr;
    HWND owner_ = nullptr;
    const CellShared* shared_ = nullptr;
    bool preview_ = false;
    int width_ = 0;
    int height_ = 0;
    std::u16string path_;
    bool selected_ = false;
    bool isVideo_ = false;
    COLORREF textColour_ = 0;
    MediaInfoRecord info_{};
    MediaInfoRecord previewRecord_{};
    bool hasPreviewRecord_ = false;
    PictureBitmap image_;  // the thumbnail at cell size, or the preview at its size
    int imageWidth_ = 0;   // the preview's picture before scaling
    int imageHeight_ = 0;
    BitmapSurface surface_;
    UniqueFont font_;
    DWORD lastClick_ = 0;
};

}  // namespace orvane
