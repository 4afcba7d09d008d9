#include "capture/still/still_files.h"

#include <objidl.h>  // before gdiplus.h: the lean windows.h leaves out what it needs
#include <gdiplus.h>

#include <atomic>
#include <cwchar>
#include <mutex>
#include <memory>
#include <vector>

namespace orvane {

std::wstring TempFolder() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH, path);
    std::wstring folder = (length > 0 && length < MAX_PATH) ? std::wstring(path, length) : L"";
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    return folder;
}

std::wstring TempFilePath(const wchar_t* name) {
    return TempFolder() + name;
}

std::wstring NewCaptureTempPath(bool jpeg) {
    static std::atomic<uint32_t> next{0};
    const uint32_t n = next.fetch_add(1) + 1;
    wchar_t name[48];
    swprintf(name, 48, L"Orvane-%lu-%lu.%ls", static_cast<unsigned long>(GetCurrentProcessId()),
             static_cast<unsigned long>(n), jpeg ? L"jpg" : L"bmp");
    return TempFilePath(name);
}

NewTempFile::NewTempFile(const std::wstring& path) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
    file_.Reset(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool NewTempFile::Write(const void* data, size_t bytes) {
    const auto* p = static_cast<const uint8_t*>(data);
    while (bytes > 0 && file_) {
        const DWORD chunk = bytes > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes);
        DWORD written = 0;
        if (!WriteFile(file_.Get(), p, chunk, &written, nullptr) || written != chunk) return false;
        p += chunk;
        bytes -= chunk;
    }
    return bytes == 0;
}

void AnnounceCapture(WPARAM wParam, LPARAM lParam) {
    static const UINT message = RegisterWindowMessageW(L"OrvaneCapturePicture");
    if (message) PostMessageW(HWND_BROADCAST, message, wParam, lParam);
}

namespace {
std::mutex& HandOverLock() {
    static std::mutex lock;
    return lock;
}
std::vector<HandedOverPicture>& HandedOver() {
    static std::vector<HandedOverPicture> pictures;
    return pictures;
}
// Announcements posted and not yet received: one loop takes every queued picture, so the
// later announcements of the same pictures find the queue empty and must not be taken for
// another program's picture under the fixed names.
std::atomic<uint32_t> unreceivedAnnouncements{0};
}  // namespace

void HandOverCapture(HandedOverPicture picture) {
    const WPARAM jpegFrame = picture.jpegFrame ? 1 : 0;
    const LPARAM keepJpeg = picture.keepJpeg ? 1 : 0;
    {
        const std::lock_guard<std::mutex> hold(HandOverLock());
        HandedOver().push_back(std::move(picture));
    }
    unreceivedAnnouncements.fetch_add(1);
    AnnounceCapture(jpegFrame, keepJpeg);
}

bool ReceiveOwnAnnouncement() {
    uint32_t count = unreceivedAnnouncements.load();
    while (count > 0 && !unreceivedAnnouncements.compare_exchange_weak(count, count - 1)) {
    }
    return count > 0;
}

std::vector<HandedOverPicture> TakeHandedOverCaptures() {
    std::vector<HandedOverPicture> taken;
    const std::lock_guard<std::mutex> hold(HandOverLock());
    taken.swap(HandedOver());
    return taken;
}

bool ScaleAndSave(const uint8_t* bottomUpBgr, int width, int height, int targetWidth,
                  int targetHeight, const std::wstring& path) {
    if (!bottomUpBgr || width <= 0 || height <= 0 || targetWidth <= 0 || targetHeight <= 0)
        return false;
    const bool jpeg = path.size() > 4 && _wcsicmp(path.c_str() + path.size() - 4, L".jpg") == 0;
    CLSID encoder{};
    if (!ImageEncoderFor(jpeg ? L"*.JPG" : L"*.BMP", &encoder)) return false;

    BITMAPINFO source{};
    source.bmiHeader.biSize = sizeof source.bmiHeader;
    source.bmiHeader.biWidth = width;
    source.bmiHeader.biHeight = height;
    source.bmiHeader.biPlanes = 1;
    source.bmiHeader.biBitCount = 24;
    BITMAPINFO target = source;
    target.bmiHeader.biWidth = targetWidth;
    target.bmiHeader.biHeight = targetHeight;

    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    void* bits = nullptr;
    UniqueBitmap picture(CreateDIBSection(dc.Get(), &target, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc || !picture || !bits) return false;
    const HGDIOBJ old = SelectObject(dc.Get(), picture.Get());
    SetStretchBltMode(dc.Get(), HALFTONE);
    SetBrushOrgEx(dc.Get(), 0, 0, nullptr);
    const int lines = StretchDIBits(dc.Get(), 0, 0, targetWidth, targetHeight, 0, 0, width, height,
                                    bottomUpBgr, &source, DIB_RGB_COLORS, SRCCOPY);
    GdiFlush();
    SelectObject(dc.Get(), old);
    if (lines == 0 || lines == static_cast<int>(GDI_ERROR)) return false;

    Gdiplus::Bitmap image(&target, bits);
    if (image.GetLastStatus() != Gdiplus::Ok) return false;
    return image.Save(path.c_str(), &encoder, nullptr) == Gdiplus::Ok;
}

}  // namespace orvane
