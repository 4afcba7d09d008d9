// Opening a picture into the canvas and fitting the canvas into its frame.
#include <objidl.h>  // before gdiplus.h
#include <gdiplus.h>

#include <cstdio>

#include "editor/view/canvas_bitmaps.h"
#include "editor/view/canvas_view.h"
#include "media/win/picture_file.h"

namespace orvane {
namespace {

using canvas::CopyPicture;
using canvas::kMaxPixelBytes;
using canvas::kMaxSide;
using canvas::NewDib;
using canvas::Stride24;

// The system text of hr without its line break, else the two fallback forms.
std::wstring ErrorText(HRESULT hr) {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (n != 0 && buffer != nullptr) {
        text.assign(buffer, n);
        LocalFree(buffer);
        while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
        return text;
    }
    wchar_t fallback[64];
    const auto code = static_cast<uint32_t>(hr);
    if (code >= 0x80040200u && code <= 0x8004FFFFu) {
        std::swprintf(fallback, 64, L"IDispatch error #%d", static_cast<int>(code - 0x80040200u));
    } else {
        std::swprintf(fallback, 64, L"Unknown error 0x%0lX", static_cast<unsigned long>(code));
    }
    return fallback;
}

void ShowLoadError(HWND owner, const std::wstring& caption, const wchar_t* what, HRESULT hr) {
    wchar_t text[1024];
    std::swprintf(text, 1024, L"%ls:\n%x - %ls", what, static_cast<unsigned>(hr),
                  ErrorText(hr).c_str());
    MessageBoxW(owner, text, caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

HRESULT HresultOf(Gdiplus::Status status) {
    switch (status) {
        case Gdiplus::OutOfMemory:
            return E_OUTOFMEMORY;
        case Gdiplus::FileNotFound:
            return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
        case Gdiplus::Win32Error:
            return HRESULT_FROM_WIN32(GetLastError());
        default:
            return E_FAIL;
    }
}

}  // namespace

bool CIvoraImgEdtView::LoadPicture(const std::wstring& path) {
    UINT count = 0, size = 0;
    const Gdiplus::Status listed = Gdiplus::GetImageDecodersSize(&count, &size);
    if (listed != Gdiplus::Ok) {
        ShowLoadError(GetParent(hwnd_.Get()), messageCaption, L"GetExporterFilter failed",
                      HresultOf(listed));
        return false;
    }
    // The previous picture goes first, whatever comes of the new one.
    current_.reset();
    history_.Clear();
    working_.Reset();
    restoreAll_ = true;
    shownValid_ = false;
    pictureLoaded_ = false;
    imageWidth_ = imageHeight_ = 0;
    state_.Loaded();
    if (hwnd_) InvalidateRect(hwnd_.Get(), nullptr, FALSE);

    HRESULT failure = S_OK;
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        failure = HRESULT_FROM_WIN32(GetLastError());
    }
    // Read whole and decoded from memory: a file cut short is refused before any decoder sees
    // it, and the file is closed again whatever comes of it.
    DecodedPicture file;
    if (failure == S_OK) {
        file = DecodePictureFile(path);
        if (file.unreadable) {
            failure = HRESULT_FROM_WIN32(file.readError ? file.readError : ERROR_READ_FAULT);
        } else if (file.check == PictureCheck::kTruncated || file.check == PictureCheck::kDamaged) {
            failure = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
        } else if (!file.bitmap) {
            failure = file.status == Gdiplus::Ok ? E_OUTOFMEMORY : HresultOf(file.status);
        }
    }
    Gdiplus::Bitmap* decoded = file.bitmap.get();
    int32_t width = 0, height = 0;
    if (failure == S_OK) {
        width = static_cast<int32_t>(decoded->GetWidth());
        height = static_cast<int32_t>(decoded->GetHeight());
        if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
            Stride24(width) * height > kMaxPixelBytes) {
            failure = E_OUTOFMEMORY;
        }
    }
    HBITMAP picture = nullptr;
    if (failure == S_OK) {
        void* bits = nullptr;
        picture = NewDib(width, height, &bits);
        if (picture == nullptr) {
            failure = E_OUTOFMEMORY;
        } else {
            Gdiplus::BitmapData data{};
            data.Width = static_cast<UINT>(width);
            data.Height = static_cast<UINT>(height);
            data.Stride = static_cast<INT>(Stride24(width));
            data.PixelFormat = PixelFormat24bppRGB;
            data.Scan0 = bits;
            Gdiplus::Rect all(0, 0, width, height);
            Gdiplus::Status s = decoded->LockBits(
                &all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                PixelFormat24bppRGB, &data);
            if (s == Gdiplus::Ok) s = decoded->UnlockBits(&data);
            if (s != Gdiplus::Ok) {
                DeleteObject(picture);
                picture = nullptr;
                failure = HresultOf(s);
            }
        }
    }
    file.bitmap.reset();  // the decoder's copy goes before the canvas makes its own
    if (failure != S_OK) {
        ShowLoadError(GetParent(hwnd_.Get()), messageCaption, L"Load image failed", failure);
        return false;
    }
    return TakePicture(picture, width, height);
}

bool CIvoraImgEdtView::LoadBitmap(HBITMAP source) {
    BITMAP info{};
    if (source == nullptr || GetObjectW(source, sizeof info, &info) == 0) return false;
    HBITMAP picture = NewDib(info.bmWidth, info.bmHeight, nullptr);
    if (picture == nullptr) return false;
    {
        UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        HGDIOBJ old = SelectObject(dc.Get(), picture);
        CopyPicture(dc.Get(), source, info.bmWidth, info.bmHeight);
        SelectObject(dc.Get(), old);
    }
    current_.reset();
    history_.Clear();
    return TakePicture(picture, info.bmWidth, info.bmHeight);
}

bool CIvoraImgEdtView::TakePicture(HBITMAP picture, int32_t width, int32_t height) {
    if (!working_.Adopt(picture)) return false;
    restoreAll_ = true;
    shownValid_ = false;
    // Small tiles: a one-pixel guide across the picture costs a band of about two tiles.
    constexpr int32_t kTile = 16;
    drawn_.Reset(width, height, kTile);
    unshown_.Reset(width, height, kTile);
    imageWidth_ = width;
    imageHeight_ = height;
    FitIntoFrame();
    history_.Clear();
    if (HBITMAP snapshot = Snapshot()) history_.Push(snapshot);
    state_.Loaded();
    pictureLoaded_ = true;
    InvalidateRect(hwnd_.Get(), nullptr, FALSE);
    return true;
}

void CIvoraImgEdtView::FitIntoFrame() {
    const HWND frame = GetParent(hwnd_.Get());
    RECT r{};
    GetClientRect(frame, &r);
    const editor::CanvasFit fit = editor::FitCanvas(r.right, r.bottom, imageWidth_, imageHeight_);
    fitScale_ = fit.scale;
    canvasWidth_ = fit.width;
    canvasHeight_ = fit.height;
    MoveWindow(hwnd_.Get(), fit.left, fit.top, fit.width, fit.height, TRUE);
}

}  // namespace orvane
