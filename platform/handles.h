#pragma once
// One-owner wrappers for kernel handles, GDI objects, device contexts, windows and modules.
#include <windows.h>

#include <utility>

namespace orvane {

template <typename T, typename Traits>
class UniqueResource {
  public:
    UniqueResource() = default;
    explicit UniqueResource(T value) : value_(value) {}
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept
        : value_(std::exchange(other.value_, Traits::Invalid())) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.value_, Traits::Invalid()));
        return *this;
    }
    ~UniqueResource() { Reset(); }

    void Reset(T value = Traits::Invalid()) {
        if (value_ != Traits::Invalid()) Traits::Close(value_);
        value_ = value;
    }
    T Release() { return std::exchange(value_, Traits::Invalid()); }
    T Get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::Invalid(); }

  private:
    T value_ = Traits::Invalid();
};

struct HandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
using UniqueHandle = UniqueResource<HANDLE, HandleTraits>;

// A file handle, which CreateFileW reports invalid as INVALID_HANDLE_VALUE, not as null.
struct FileHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
using UniqueFile = UniqueResource<HANDLE, FileHandleTraits>;

template <typename T>
struct GdiTraits {
    static T Invalid() { return nullptr; }
    static void Close(T h) { DeleteObject(h); }
};
template <typename T>
using GdiObject = UniqueResource<T, GdiTraits<T>>;
using UniqueBitmap = GdiObject<HBITMAP>;
using UniqueBrush = GdiObject<HBRUSH>;
using UniqueFont = GdiObject<HFONT>;
using UniquePen = GdiObject<HPEN>;
using UniqueRegion = GdiObject<HRGN>;

struct MemoryDcTraits {
    static HDC Invalid() { return nullptr; }
    static void Close(HDC h) { DeleteDC(h); }
};
using UniqueMemoryDc = UniqueResource<HDC, MemoryDcTraits>;

struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static void Close(HICON h) { DestroyIcon(h); }
};
using UniqueIcon = UniqueResource<HICON, IconTraits>;

struct MenuTraits {
    static HMENU Invalid() { return nullptr; }
    static void Close(HMENU h) { DestroyMenu(h); }
};
using UniqueMenu = UniqueResource<HMENU, MenuTraits>;

// A bitmap selected into its own memory surface; the old bitmap goes back before release.
class BitmapSurface {
  public:
    BitmapSurface() = default;
    BitmapSurface(const BitmapSurface&) = delete;
    BitmapSurface& operator=(const BitmapSurface&) = delete;
    ~BitmapSurface() { Reset(); }

    bool Load(HINSTANCE instance, UINT id) {
        Reset();
        bitmap_.Reset(static_cast<HBITMAP>(
            LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        if (!bitmap_) return false;
        dc_.Reset(CreateCompatibleDC(nullptr));
        if (!dc_) return false;
        old_ = SelectObject(dc_.Get(), bitmap_.Get());
        return true;
    }
    // Takes a bitmap made elsewhere (a DIB section, a scaled picture).
    bool Adopt(HBITMAP bitmap) {
        Reset();
        bitmap_.Reset(bitmap);
        if (!bitmap_) return false;
        dc_.Reset(CreateCompatibleDC(nullptr));
        if (!dc_) return false;
        old_ = SelectObject(dc_.Get(), bitmap_.Get());
        return true;
    }
    // Gives up the bitmap, no longer selected anywhere, to a new owner.
    HBITMAP Release() {
        if (dc_ && old_) SelectObject(dc_.Get(), old_);
        old_ = nullptr;
        dc_.Reset();
        return bitmap_.Release();
    }
    void Reset() {
        if (dc_ && old_) SelectObject(dc_.Get(), old_);
        old_ = nullptr;
        dc_.Reset();
        bitmap_.Reset();
    }
    HDC Dc() const { return dc_.Get(); }
    HBITMAP Bitmap() const { return bitmap_.Get(); }

  private:
    UniqueBitmap bitmap_;
    UniqueMemoryDc dc_;
    HGDIOBJ old_ = nullptr;
};

struct WindowTraits {
    static HWND Invalid() { return nullptr; }
    static void Close(HWND window) { DestroyWindow(window); }
};
using UniqueWindow = UniqueResource<HWND, WindowTraits>;

struct LibraryTraits {
    static HMODULE Invalid() { return nullptr; }
    static void Close(HMODULE module) { FreeLibrary(module); }
};
using UniqueLibrary = UniqueResource<HMODULE, LibraryTraits>;

struct AcceleratorTraits {
    static HACCEL Invalid() { return nullptr; }
    static void Close(HACCEL table) { DestroyAcceleratorTable(table); }
};
using UniqueAccelerators = UniqueResource<HACCEL, AcceleratorTraits>;

}  // namespace orvane
