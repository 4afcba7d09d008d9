// Photos in the real program with the virtual camera: the picture and its side file in the
// picture folder, by photo option, requested in each way the program takes requests.
#include <gtest/gtest.h>

#include <windows.h>

#include <objidl.h>  // before gdiplus.h: the lean windows.h leaves out what it needs
#include <gdiplus.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "capture/raw/raw_camera.h"
#include "capture/size_codes.h"
#include "capture/still/still_files.h"
#include "media/area_scale.h"
#include "media/companion_paths.h"
#include "media/media_info.h"
#include "media/win/picture_image.h"
#include "capture_files.h"
#include "orvane_process.h"
#include "platform/gdiplus_session.h"
#include "platform/wide.h"
#include "registry_reader.h"
#include "test_pictures.h"
#include "tools/virtualcam/client.h"
#include "tools/virtualcam/registers.h"
#include "tools/virtualcam/scene.h"

namespace orvane::test {
namespace {

constexpr UINT kPhotoCommand = 32798;
constexpr UINT kAboutCommand = 32802;

std::wstring UpperCase(std::wstring text) {
    CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::wstring PictureFolder() {
    return DocumentsFolder() + L"\\Orvane\\pictures";
}

std::vector<std::wstring> Pictures() {
    return CaptureFiles(PictureFolder(), L"TX*.*");
}

std::string Names(const std::vector<std::wstring>& paths) {
    std::string names;
    for (const auto& p : paths) names += std::string(p.begin() + p.rfind(L'\\') + 1, p.end()) + " ";
    return names;
}

std::vector<std::wstring> WaitForPictures(size_t count, DWORD timeoutMs) {
    std::vector<std::wstring> found = Pictures();
    for (DWORD waited = 0; found.size() < count && waited < timeoutMs; waited += 100) {
        SleepMs(100);
        found = Pictures();
    }
    return found;
}

class Photo : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetOrvaneState();
        ASSERT_TRUE(VirtualCameraRegistered()) << "the virtual camera is not registered";
    }
    void TearDown() override {
        if (main_) {
            PostMessageW(main_, WM_COMMAND, IDCANCEL, 0);
            program_.WaitForExit(15000);
        }
        ResetOrvaneState();
    }
    // Starts the program at a stored size code and waits until the camera runs.
    void Launch(DWORD resolution) {
        PutValue(L"ResolutionDisplay", REG_DWORD, &resolution, sizeof resolution);
        ASSERT_TRUE(program_.Start());
        main_ = program_.WaitForMainWindow();
        ASSERT_NE(main_, nullptr);
        ASSERT_NE(WaitForLivePicture(main_), nullptr) << "the camera opens";
    }
    void ExpectPicture(const std::wstring& path, const wchar_t* extension, int width, int height,
                       uint32_t pictureSize, uint32_t deviceCode) {
        EXPECT_EQ(path.substr(path.size() - 4), extension);
        int w = 0, h = 0;
        // The file appears when its copy starts; under load the copy may still be running.
        bool readable = PictureSize(path, &w, &h);
        for (int tries = 0; !readable && tries < 20; ++tries) {
            SleepMs(100);
            readable = PictureSize(path, &w, &h);
        }
        ASSERT_TRUE(readable) << "a picture file";
        EXPECT_EQ(w, width);
        EXPECT_EQ(h, height);
        std::vector<uint8_t> bytes;
        const std::u16string side = SideFilePath(FromWide(path));
        // The picture is copied into the folder before its side file is written.
        HANDLE file = INVALID_HANDLE_VALUE;
        for (int tries = 0; file == INVALID_HANDLE_VALUE && tries < 20; ++tries) {
            if (tries > 0) SleepMs(100);
            file = CreateFileW(ToWide(side).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        }
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << "a side file";
        bytes.resize(MediaInfoRecord::kSize);
        DWORD read = 0;
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        CloseHandle(file);
        ASSERT_EQ(read, MediaInfoRecord::kSize);
        const MediaInfoRecord record = MediaInfoRecord::FromBytes(bytes.data(), read);
        EXPECT_EQ(ToWide(RecordText(record.mediaPath)), UpperCase(path));
        EXPECT_EQ(record.pictureSize, pictureSize);
        EXPECT_EQ(record.deviceCode, deviceCode);
        SYSTEMTIME now;
        GetLocalTime(&now);
        EXPECT_EQ(record.captureTime.year, now.wYear);
        EXPECT_EQ(record.captureTime.day, now.wDay);
    }
    // A visible top-level window of the program other than the main window, or null.
    HWND WaitForOtherWindow(DWORD timeoutMs) {
        for (DWORD waited = 0; waited <= timeoutMs; waited += 50) {
            for (HWND w : program_.TopLevelWindows())
                if (w != main_ && IsWindowVisible(w)) return w;
            SleepMs(50);
        }
        return nullptr;
    }
    OrvaneProcess program_;
    HWND main_ = nullptr;
};

// The 6340 answers a still trigger with one frame in the still pin's format.
TEST_F(Photo, F4AtPreviewSizeStoresTheStillAsBmpWithItsSideFile) {
    VirtualCameras camera({L"6340"});
    ASSERT_TRUE(camera.Registered());
    Launch(0x03200258);
    PostMessageW(main_, WM_COMMAND, kPhotoCommand, 0);
    const auto pictures = WaitForPictures(1, 5000);
    ASSERT_EQ(pictures.size(), 1u) << Names(pictures);
    ExpectPicture(pictures[0], L".BMP", 800, 600, 0x03200258, 0x0C456340);
}

TEST_F(Photo, ABroadcastRequestTakesAPhotoEvenWithTheAboutBoxOpen) {
    VirtualCameras camera({L"6340"});
    ASSERT_TRUE(camera.Registered());
    Launch(0x028001E0);
    const UINT message = RegisterWindowMessageW(L"OrvaneCapturePicture");
    PostMessageW(HWND_BROADCAST, message, 2, 0);
    const auto first = WaitForPictures(1, 5000);
    ASSERT_EQ(first.size(), 1u) << Names(first);
    PostMessageW(main_, WM_COMMAND, kAboutCommand, 0);
    HWND about = WaitForOtherWindow(5000);
    ASSERT_NE(about, nullptr);
    PostMessageW(HWND_BROADCAST, message, 2, 0);
    const auto pictures = WaitForPictures(2, 5000);
    ASSERT_EQ(pictures.size(), 2u) << "the photo announced under the box is stored";
    ExpectPicture(pictures[1], L".BMP", 640, 480, 0x028001E0, 0x0C456340);
    EXPECT_TRUE(IsWindowVisible(about)) << "the box stayed open throughout";
    PostMessageW(about, WM_COMMAND, IDOK, 0);
}

// Option 1 of the MJPG model: the next preview frame, a JPEG, is stored as BMP.
TEST_F(Photo, APreviewPhotoFromAnMjpgCameraIsStoredAsBmp) {
    VirtualCameras camera({L"6353"});
    ASSERT_TRUE(camera.Registered());
    Launch(0x150003C0);
    PostMessageW(main_, WM_COMMAND, kPhotoCommand, 0);
    const auto pictures = WaitForPictures(1, 5000);
    ASSERT_EQ(pictures.size(), 1u) << Names(pictures);
    ExpectPicture(pictures[0], L".BMP", 1280, 960, 0x050003C0, 0x0C456563);
}

// Announcements that arrive within one 50-ms step are all kept, under the next free names.
TEST_F(Photo, PicturesAnnouncedInOneStepAreAllKept) {
    VirtualCameras camera({L"6340"});
    ASSERT_TRUE(camera.Registered());
    Launch(0x03200258);
    PostMessageW(main_, WM_COMMAND, kPhotoCommand, 0);
    ASSERT_EQ(WaitForPictures(1, 5000).size(), 1u);
    // Another program's picture under the fixed name, announced twice at once.
    std::vector<uint8_t> photo;
    ASSERT_TRUE(ReadWholeFile(WaitForPictures(1, 100)[0], &photo));
    ASSERT_TRUE(WriteFileBytes(TempFilePath(kTempBmp), photo));
    const UINT message = RegisterWindowMessageW(L"OrvaneCapturePicture");
    PostMessageW(main_, message, 0, 0);
    PostMessageW(main_, message, 0, 0);
    const auto pictures = WaitForPictures(3, 5000);
    EXPECT_EQ(pictures.size(), 3u) << Names(pictures);
}

// Each photo option of the raw models: the size and format the option gives, from the
// 6353's whole 2560 x 1920 raw frame or the 6355's two raw halves.
struct RawCase {
    const wchar_t* pid;
    DWORD code;
    const wchar_t* extension;
    int width, height;
    uint32_t deviceCode;
    int rawWidth, rawHeight;
};

// The virtual camera's registers as the program reads them through the camera.
class VirtualCameraRegisters : public RawRegisterSource {
  public:
    bool ReadRegister(uint16_t address, uint8_t* value) override {
        *value = file_.Read(address);
        return true;
    }
    bool ReadBrightness(int* value) override {
        *value = 0;
        return true;
    }

  private:
    vcam::RegisterFile file_;
};

constexpr DWORD kStillSceneMs = 4250;

// What the program must store for a still at the fixed scene time: the camera's mosaic,
// converted with the camera's registers, scaled by the program's portable scaling, and the file
// the scaled save makes of it.
struct ExpectedRaw {
    std::vector<uint8_t> file;
    std::vector<uint8_t> pixels;  // top-down B G R, packed
    std::vector<uint8_t> small;   // the converted picture in 320 x 240, top-down, packed
};

ExpectedRaw ExpectedRawPicture(const RawCase& c) {
    std::vector<uint8_t> mosaic(static_cast<size_t>(c.rawWidth) * c.rawHeight);
    vcam::RenderMosaic(mosaic.data(), c.rawWidth, c.rawHeight, 0, c.rawHeight,
                       kStillSceneMs / 1000.0, 0);
    VirtualCameraRegisters registers;
    CRawPars_HW pars;
    pars.SetSource(&registers);
    const auto picture = pars.ConvertRaw(c.rawWidth, c.rawHeight, mosaic.data(), mosaic.size());
    if (!picture) return {};
    ExpectedRaw expected;
    // The converted rows are stored bottom-up: row y of the picture is row height - 1 - y.
    const ptrdiff_t stride = ptrdiff_t{c.rawWidth} * 3, row = ptrdiff_t{c.width} * 3;
    expected.pixels.resize(static_cast<size_t>(row) * c.height);
    if (!HalftoneScale(
            {picture.get() + (c.rawHeight - 1) * stride, c.rawWidth, c.rawHeight, -stride, 3},
            {expected.pixels.data(), c.width, c.height, row, 3})) {
        return {};
    }
    // The strip's thumbnail comes from a 320 x 240 copy of the converted picture (all the raw
    // sizes are 4 : 3), not from the file.
    expected.small.resize(size_t{320} * 240 * 3);
    if (!HalftoneScale(
            {picture.get() + (c.rawHeight - 1) * stride, c.rawWidth, c.rawHeight, -stride, 3},
            {expected.small.data(), 320, 240, 320 * 3, 3})) {
        return {};
    }
    const std::wstring name = std::wstring(L"OrvaneExpected") + c.extension;
    if (!ScaleAndSave(picture.get(), c.rawWidth, c.rawHeight, c.width, c.height,
                      TempFilePath(name.c_str())))
        return {};
    ReadWholeFile(TempFilePath(name.c_str()), &expected.file);
    DeleteFileW(TempFilePath(name.c_str()).c_str());
    return expected;
}

// The pixels of a picture file as the platform's decoder reads them: top-down B G R, packed.
std::vector<uint8_t> DecodedPixels(const std::wstring& path, int width, int height) {
    const GdiplusSession gdiplus;
    Gdiplus::Bitmap bitmap(path.c_str());
    Gdiplus::BitmapData data{};
    Gdiplus::Rect all(0, 0, width, height);
    if (bitmap.GetLastStatus() != Gdiplus::Ok || static_cast<int>(bitmap.GetWidth()) != width ||
        bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat24bppRGB, &data) !=
            Gdiplus::Ok) {
        return {};
    }
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * 3 * height);
    for (int y = 0; y < height; ++y)
        memcpy(&pixels[static_cast<size_t>(y) * width * 3],
               static_cast<const uint8_t*>(data.Scan0) + ptrdiff_t{y} * data.Stride,
               static_cast<size_t>(width) * 3);
    bitmap.UnlockBits(&data);
    return pixels;
}

double Psnr(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i) sum += (double(a[i]) - b[i]) * (double(a[i]) - b[i]);
    return sum == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 * a.size() / sum);
}

struct CellSearch {
    std::wstring path;
    HWND found = nullptr;
};

BOOL CALLBACK MatchCell(HWND child, LPARAM data) {
    auto* search = reinterpret_cast<CellSearch*>(data);
    wchar_t text[MAX_PATH * 2] = {}, name[64] = {};
    GetClassNameW(child, name, 64);
    GetWindowTextW(child, text, MAX_PATH * 2);
    if (std::wstring(name) == L"OrvanePictureView" &&
        CompareStringOrdinal(text, -1, search->path.c_str(), -1, TRUE) == CSTR_EQUAL) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

// The strip cell showing path (its window text names the file), or null.
HWND CellShowing(HWND main, const std::wstring& path) {
    CellSearch search{path};
    EnumChildWindows(main, MatchCell, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// What a window shows in a rectangle, read from the screen: top-down B G R, packed.
std::vector<uint8_t> ShownPixels(HWND window, const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    // From the desktop: another process's window DC reads nothing here.
    POINT at{r.left, r.top};
    ClientToScreen(window, &at);
    HDC screen = GetDC(nullptr);
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(screen);
    const HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, w, h, screen, at.x, at.y, SRCCOPY);
    GdiFlush();
    std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * 3);
    const ptrdiff_t stride = (ptrdiff_t{w} * 3 + 3) / 4 * 4;
    for (int y = 0; y < h; ++y)
        memcpy(&pixels[static_cast<size_t>(y) * w * 3], static_cast<uint8_t*>(bits) + y * stride,
               static_cast<size_t>(w) * 3);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(dib);
    ReleaseDC(nullptr, screen);
    return pixels;
}

std::vector<uint8_t> Flipped(const std::vector<uint8_t>& pixels, int w, int h) {
    std::vector<uint8_t> out(pixels.size());
    for (int y = 0; y < h; ++y)
        memcpy(&out[static_cast<size_t>(y) * w * 3],
               &pixels[static_cast<size_t>(h - 1 - y) * w * 3], static_cast<size_t>(w) * 3);
    return out;
}

int64_t WriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return int64_t{data.ftLastWriteTime.dwHighDateTime} << 32 | data.ftLastWriteTime.dwLowDateTime;
}

// The hand-over copy: the longer side at most 320, the ratio kept, the right way up.
TEST(HandedOverThumbnails, SizesAndRowOrder) {
    struct Case {
        int width, height, w, h;
    };
    for (const Case c :
         {Case{3488, 2616, 320, 240}, Case{2616, 3488, 240, 320}, Case{200, 100, 200, 100},
          Case{5000, 1, 320, 1}, Case{1, 5000, 1, 320}, Case{321, 3, 320, 3}}) {
        const ptrdiff_t stride = (ptrdiff_t{c.width} * 3 + 3) / 4 * 4;
        // Bottom-up rows: the top row (stored last) red, every other one blue.
        std::vector<uint8_t> picture(static_cast<size_t>(stride) * c.height, 0);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                picture[static_cast<size_t>(y * stride + 3 * x + (y == c.height - 1 ? 2 : 0))] =
                    255;
        const HandedOverThumbnail t = MakeHandedOverThumbnail(picture.data(), c.width, c.height);
        ASSERT_FALSE(t.Empty()) << c.width << " x " << c.height;
        EXPECT_EQ(t.width, c.w) << c.width << " x " << c.height;
        EXPECT_EQ(t.height, c.h) << c.width << " x " << c.height;
        if (c.height == c.h) {  // rows kept: the first one is the red top row
            EXPECT_EQ(t.bgr[0], 0);
            EXPECT_EQ(t.bgr[2], 255);
            if (c.h > 1) {
                EXPECT_EQ(t.bgr[static_cast<size_t>(t.width) * 3], 255);
            }
        } else {  // the top row's red weighs in the first row only
            EXPECT_GT(t.bgr[2], 0);
            EXPECT_EQ(t.bgr[static_cast<size_t>(t.width) * 3 * (t.height - 1) + 2], 0);
        }
    }
    EXPECT_TRUE(MakeHandedOverThumbnail(nullptr, 10, 10).Empty());
    const uint8_t pixel[4] = {};
    EXPECT_TRUE(MakeHandedOverThumbnail(pixel, 0, 1).Empty());
}

// Written within one tick of the file system's clock, a cache would read as stale.
TEST(HandedOverThumbnails, ACacheIsMadeNewerThanItsPicture) {
    const std::wstring picture = TempFilePath(L"OrvaneNewerPicture.bmp");
    const std::wstring cache = TempFilePath(L"OrvaneNewerCache.bmp");
    ASSERT_TRUE(WriteFileBytes(picture, SolidBmp(4, 4, 1, 2, 3)));
    ASSERT_TRUE(WriteFileBytes(cache, SolidBmp(4, 4, 1, 2, 3)));
    const FILETIME same{0x12345678, 0x01D9AAAA};
    for (const std::wstring& f : {picture, cache}) {
        HANDLE h =
            CreateFileW(f.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        SetFileTime(h, nullptr, nullptr, &same);
        CloseHandle(h);
    }
    ASSERT_EQ(WriteTime(cache), WriteTime(picture));
    EXPECT_TRUE(MakeNewerThan(cache, picture));
    EXPECT_GT(WriteTime(cache), WriteTime(picture));
    EXPECT_TRUE(MakeNewerThan(cache, picture));  // already newer: left as it is
    EXPECT_FALSE(MakeNewerThan(cache, TempFilePath(L"OrvaneNoSuchPicture.bmp")));
    DeleteFileW(picture.c_str());
    DeleteFileW(cache.c_str());
}

class RawPhoto : public Photo, public ::testing::WithParamInterface<RawCase> {};

TEST_P(RawPhoto, TwoQuickPressesStoreOnePictureConvertedFromTheCamerasMosaic) {
    const RawCase& c = GetParam();
    VirtualCameras camera({c.pid});
    ASSERT_TRUE(camera.Registered());
    ASSERT_TRUE(vcam::WriteStillSceneTime(kStillSceneMs));
    Launch(c.code);
    PostMessageW(main_, WM_COMMAND, kPhotoCommand, 0);
    PostMessageW(main_, WM_COMMAND, kPhotoCommand, 0);  // while the still is pending: ignored
    const ExpectedRaw expected = ExpectedRawPicture(c);
    ASSERT_FALSE(expected.file.empty()) << "the expected picture could not be made";
    const auto pictures = WaitForPictures(1, 20000);
    ASSERT_EQ(pictures.size(), 1u) << Names(pictures);
    SleepMs(500);
    EXPECT_EQ(Pictures().size(), 1u) << "one photo for two quick presses: " << Names(Pictures());
    ExpectPicture(pictures[0], c.extension, c.width, c.height, PhotoSizeOf(c.code), c.deviceCode);
    std::vector<uint8_t> stored;
    ASSERT_TRUE(ReadWholeFile(pictures[0], &stored));
    EXPECT_TRUE(stored == expected.file) << "the stored picture differs from the converted mosaic";
    // What the platform reads from the file: the scaled picture itself (BMP), or close to it.
    const std::vector<uint8_t> decoded = DecodedPixels(pictures[0], c.width, c.height);
    ASSERT_EQ(decoded.size(), expected.pixels.size()) << "the platform cannot read the picture";
    if (std::wstring(c.extension) == L".BMP") {
        EXPECT_TRUE(decoded == expected.pixels) << "the pixels are not the portable scaling's";
    } else {
        EXPECT_GT(Psnr(decoded, expected.pixels), 38.0);
    }
    // The strip shows it from a thumbnail the capture's own pixels made (the cell never decodes
    // the whole file): the cache beside it, newer than the picture, is the small copy averaged
    // to the cell's size.
    const HWND cell = CellShowing(main_, pictures[0]);
    ASSERT_NE(cell, nullptr) << "no strip cell shows the new picture";
    RECT box{};
    GetClientRect(cell, &box);
    const int cw = box.right, ch = box.bottom;
    std::vector<uint8_t> thumbnail(static_cast<size_t>(cw) * ch * 3);
    ASSERT_TRUE(AreaScale({expected.small.data(), 320, 240, 320 * 3, 3},
                          {thumbnail.data(), cw, ch, ptrdiff_t{cw} * 3, 3}));
    const std::wstring cache = ToWide(ThumbnailCachePath(FromWide(pictures[0])));
    EXPECT_GT(WriteTime(cache), WriteTime(pictures[0])) << "the cache must read as newer";
    const std::vector<uint8_t> cached = DecodedPixels(cache, cw, ch);
    ASSERT_EQ(cached.size(), thumbnail.size()) << "no cached thumbnail of the cell's size";
    if (std::wstring(c.extension) == L".BMP") {
        EXPECT_TRUE(cached == thumbnail) << "the cache is not made from the capture's pixels";
    } else {
        // A JPEG cache of a detailed 100-pixel picture, in the platform encoder's default quality.
        EXPECT_GT(Psnr(cached, thumbnail), 30.0);
    }
    // The cell shows the cache averaged into its picture box, the right way up.
    const RECT imageBox{11, 24, 107, 96};
    std::vector<uint8_t> boxed(size_t{96} * 72 * 3);
    ASSERT_TRUE(AreaScale({cached.data(), cw, ch, ptrdiff_t{cw} * 3, 3},
                          {boxed.data(), 96, 72, 96 * 3, 3}));
    std::vector<uint8_t> shown = ShownPixels(cell, imageBox);
    for (int tries = 0; shown != boxed && tries < 20; ++tries) {
        SleepMs(100);
        shown = ShownPixels(cell, imageBox);
    }
    if (c.code == 0x43200258) SaveScreenshotIfAsked(main_, L"main-window-after-raw-photo.bmp");
    EXPECT_TRUE(shown == boxed) << "the cell does not show its cached thumbnail; PSNR "
                                << Psnr(shown, boxed) << " dB, upside down "
                                << Psnr(shown, Flipped(boxed, 96, 72)) << " dB";
}

INSTANTIATE_TEST_SUITE_P(
    Options, RawPhoto,
    ::testing::Values(RawCase{L"6353", 0x250003C0, L".BMP", 2048, 1536, 0x0C456563, 2560, 1920},
                      RawCase{L"6353", 0x350003C0, L".BMP", 2560, 1920, 0x0C456563, 2560, 1920},
                      RawCase{L"6355", 0x23200258, L".JPG", 2048, 1536, 0x0C456355, 3488, 2616},
                      RawCase{L"6355", 0x33200258, L".JPG", 2560, 1920, 0x0C456355, 3488, 2616},
                      RawCase{L"6355", 0x43200258, L".JPG", 3488, 2616, 0x0C456355, 3488, 2616}));

}  // namespace
}  // namespace orvane::test
