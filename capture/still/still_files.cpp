#include "capture/still/still_files.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <cwchar>
#include <mutex>
#include <thread>
#include <memory>
#include <vector>

#include "capture/still/jpeg_writer.h"
#include "capture/still/still_rules.h"
#include "media/area_scale.h"
#include "media/bmp_layout.h"

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

namespace {

// Writes a bottom-up 24-bit picture as a BMP file, header and rows in one go; a file that could
// not be written whole is removed.
bool SaveBmp(const uint8_t* bottomUp, int width, int height, const std::wstring& path) {
    const BmpHeaders headers = BottomUpBmpHeaders(width, height);
    if (headers.bytes.empty()) return false;
    NewTempFile file(path);
    if (!file.Opened()) return false;
    const bool written = file.Write(headers.bytes.data(), headers.bytes.size()) &&
                         file.Write(bottomUp, headers.imageSize);
    file.Close();
    if (!written) DeleteFileW(path.c_str());
    return written;
}

// Writes the encoded file; a file that could not be written whole is removed.
bool SaveEncoded(const JpegBytes& jpeg, const std::wstring& path) {
    NewTempFile file(path);
    if (!file.Opened()) return false;
    const bool written = file.Write(jpeg.data.get(), jpeg.size);
    file.Close();
    if (!written) DeleteFileW(path.c_str());
    return written;
}

// The scaled picture's rows as the encoder asks for them, made in its threads.
class ScaledRows : public JpegRowSource {
  public:
    ScaledRows(const HalftoneScaler& scaler, const PixelView& from, int width, int height)
        : scaler_(scaler), from_(from), width_(width), height_(height) {}
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    bool Rows(int first, int count, uint8_t* scratch, PixelView* rows) const override {
        const ptrdiff_t stride = ptrdiff_t{width_} * 3;
        *rows = {scratch, width_, count, stride, 3};
        return scaler_.ScaleRows(from_, {scratch, width_, count, stride, 3}, first, count);
    }

  private:
    const HalftoneScaler& scaler_;
    PixelView from_;
    int width_, height_;
};

// The scaled picture in bands, one per processor (the calling thread takes the first, and any
// band whose thread could not be started).
bool ScaleInBands(const HalftoneScaler& scaler, const PixelView& from, const PixelTarget& to) {
    const int bands = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 8);
    auto start = [&](int i) { return static_cast<int>(int64_t{to.height} * i / bands); };
    std::atomic<bool> ok{true};
    auto scale = [&](int i) {
        const int first = start(i), count = start(i + 1) - first;
        const PixelTarget rows{to.bits + first * to.stride, to.width, count, to.stride, 3};
        if (!scaler.ScaleRows(from, rows, first, count)) ok = false;
    };
    std::vector<std::thread> threads;
    int started = 1;
    for (; started < bands; ++started) {
        try {
            threads.emplace_back(scale, started);
        } catch (...) {
            break;
        }
    }
    scale(0);
    for (int i = started; i < bands; ++i) scale(i);
    for (std::thread& t : threads) t.join();
    return ok;
}

}  // namespace

HandedOverThumbnail MakeHandedOverThumbnail(const uint8_t* bottomUpBgr, int width, int height) {
    HandedOverThumbnail thumbnail;
    const auto stride = static_cast<ptrdiff_t>(DibStride(width, 24));
    if (!bottomUpBgr || width <= 0 || height <= 0 || stride == 0) return thumbnail;
    // The longer side becomes the bound, the shorter one keeps the ratio (at least 1 pixel).
    const int side = kHandedOverThumbnailSide;
    int w = width, h = height;
    if (w > side || h > side) {
        if (w >= h) {
            w = side;
            h = static_cast<int>(
                std::max<int64_t>(1, (int64_t{height} * side + width / 2) / width));
        } else {
            h = side;
            w = static_cast<int>(
                std::max<int64_t>(1, (int64_t{width} * side + height / 2) / height));
        }
    }
    std::unique_ptr<uint8_t[]> bgr(new (std::nothrow) uint8_t[static_cast<size_t>(w) * h * 3]);
    if (!bgr) return thumbnail;
    const PixelView from{bottomUpBgr + (height - 1) * stride, width, height, -stride, 3};
    const PixelTarget to{bgr.get(), w, h, static_cast<ptrdiff_t>(w) * 3, 3};
    if (!HalftoneScale(from, to)) return thumbnail;
    thumbnail.bgr = std::move(bgr);
    thumbnail.width = w;
    thumbnail.height = h;
    return thumbnail;
}

bool ScaleAndSave(const uint8_t* bottomUpBgr, int width, int height, int targetWidth,
                  int targetHeight, const std::wstring& path) {
    if (!bottomUpBgr || width <= 0 || height <= 0 || targetWidth <= 0 || targetHeight <= 0)
        return false;
    const bool jpeg = path.size() > 4 && _wcsicmp(path.c_str() + path.size() - 4, L".jpg") == 0;
    const auto stride = static_cast<ptrdiff_t>(DibStride(width, 24));
    const auto targetStride = static_cast<ptrdiff_t>(DibStride(targetWidth, 24));
    if (stride == 0 || targetStride == 0) return false;
    // Row y of the picture is stored at row height - 1 - y.
    const PixelView from{bottomUpBgr + (height - 1) * stride, width, height, -stride, 3};
    const bool resized = targetWidth != width || targetHeight != height;
    HalftoneScaler scaler;
    if (resized && !scaler.Prepare(width, height, targetWidth, targetHeight)) return false;

    if (jpeg) {
        // Scaled rows go straight into the encoder, in its threads.
        JpegBytes encoded;
        const bool made =
            resized ? EncodeJpeg(ScaledRows(scaler, from, targetWidth, targetHeight), 0, &encoded)
                    : EncodeJpeg(from, 0, &encoded);
        return made && SaveEncoded(encoded, path);
    }
    if (!resized) return SaveBmp(bottomUpBgr, width, height, path);
    const uint64_t bytes = static_cast<uint64_t>(targetStride) * targetHeight;
    if (bytes > (uint64_t{1} << 30)) return false;
    std::unique_ptr<uint8_t[]> scaled(new (std::nothrow) uint8_t[static_cast<size_t>(bytes)]);
    if (!scaled) return false;
    const PixelTarget to{scaled.get() + (targetHeight - 1) * targetStride, targetWidth,
                         targetHeight, -targetStride, 3};
    if (!ScaleInBands(scaler, from, to)) return false;
    const ptrdiff_t pixelBytes = static_cast<ptrdiff_t>(targetWidth) * 3;
    for (int y = 0; y < targetHeight && pixelBytes < targetStride; ++y)
        std::memset(scaled.get() + y * targetStride + pixelBytes, 0, targetStride - pixelBytes);
    return SaveBmp(scaled.get(), targetWidth, targetHeight, path);
}

}  // namespace orvane
