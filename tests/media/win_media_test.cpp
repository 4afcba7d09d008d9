// Media library against the platform: real folders, side files and AVI clips written with the
// platform's AVI writer.
#include <windows.h>
#include <vfw.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "media/bmp_layout.h"
#include "media/companion_paths.h"
#include "media/media_browser.h"
#include "media/media_info.h"
#include "media/text.h"
#include "media/win/win_avi_library.h"
#include "media/win/win_media_files.h"
#include "media/win/win_wide.h"

namespace orvane {
namespace {

std::u16string TempRoot() {
    wchar_t buffer[MAX_PATH];
    GetTempPathW(MAX_PATH, buffer);
    std::u16string root =
        FromWide(buffer) + u"orvane-media-" +
        std::u16string(1, static_cast<char16_t>(u'a' + GetCurrentProcessId() % 26));
    return root;
}

void RemoveTree(const std::u16string& folder) {
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(Wide(folder + u"\\*"), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::u16string name = FromWide(found.cFileName);
            if (name == u"." || name == u"..") continue;
            const std::u16string path = folder + u"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                DeleteFileW(Wide(path));
            }
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    RemoveDirectoryW(Wide(folder));
}

void WriteFileBytes(const std::u16string& path, const std::vector<uint8_t>& bytes) {
    WinMediaFiles files;
    ASSERT_TRUE(files.WriteWhole(path, bytes.data(), bytes.size()));
}

// A clip of three frames; frame 1, the first one probed, has its own content.
void WriteClip(const std::u16string& path, bool yuy2, int width, int height) {
    AVIFileInit();
    PAVIFILE file = nullptr;
    ASSERT_EQ(AVIFileOpenW(&file, Wide(path), OF_CREATE | OF_WRITE, nullptr), 0);
    const DWORD frameBytes = static_cast<DWORD>(width * height * (yuy2 ? 2 : 3));
    AVISTREAMINFOW info{};
    info.fccType = streamtypeVIDEO;
    info.fccHandler = yuy2 ? mmioFOURCC('Y', 'U', 'Y', '2') : 0;
    info.dwScale = 1;
    info.dwRate = 15;
    info.dwSuggestedBufferSize = frameBytes;
    SetRect(&info.rcFrame, 0, 0, width, height);
    PAVISTREAM stream = nullptr;
    ASSERT_EQ(AVIFileCreateStreamW(file, &stream, &info), 0);
    BITMAPINFOHEADER format{};
    format.biSize = sizeof format;
    format.biWidth = width;
    format.biHeight = height;
    format.biPlanes = 1;
    format.biBitCount = yuy2 ? 16 : 24;
    format.biCompression = yuy2 ? mmioFOURCC('Y', 'U', 'Y', '2') : BI_RGB;
    format.biSizeImage = frameBytes;
    ASSERT_EQ(AVIStreamSetFormat(stream, 0, &format, sizeof format), 0);
    for (int frame = 0; frame < 3; ++frame) {
        std::vector<uint8_t> data(frameBytes);
        for (size_t i = 0; i < data.size(); i += yuy2 ? 4 : 3) {
            if (yuy2) {
                const uint8_t y = frame == 1 ? 116 : 40;
                data[i] = y, data[i + 1] = 128, data[i + 2] = y, data[i + 3] = 128;
            } else {
                data[i] = frame == 1 ? 10 : 200, data[i + 1] = 20, data[i + 2] = 30;
            }
        }
        ASSERT_EQ(AVIStreamWrite(stream, frame, 1, data.data(), static_cast<LONG>(data.size()),
                                 AVIIF_KEYFRAME, nullptr, nullptr),
                  0);
    }
    AVIStreamRelease(stream);
    AVIFileRelease(file);
    AVIFileExit();
}

struct Strip : StripView {
    std::vector<std::u16string> shown;
    void ClearSelection() override {}
    void SetCell(int, const std::u16string* path) override {
        if (path != nullptr) shown.push_back(*path);
    }
    void RedrawStrip() override {}
    void SetScrollPos(int) override {}
};

class CountingAvi : public WinAviLibrary {
  public:
    int opens = 0;
    std::unique_ptr<AviClip> Open(const std::u16string& path) override {
        ++opens;
        return WinAviLibrary::Open(path);
    }
};

struct WinMediaTest : ::testing::Test {
    void SetUp() override {
        RemoveTree(root);
        for (const std::u16string& f : {root, pics, pics + u"\\Info", vids, thumb}) {
            ASSERT_TRUE(CreateDirectoryW(Wide(f), nullptr));
        }
    }
    void TearDown() override { RemoveTree(root); }
    const std::u16string root = TempRoot();
    const std::u16string pics = root + u"\\pictures";
    const std::u16string vids = root + u"\\videos";
    const std::u16string thumb = vids + u"\\thumb";
    WinMediaFiles files;
};

TEST_F(WinMediaTest, FoldersClipsAndThumbnailsMakeTheDisplayList) {
    BmpInfoHeader info;
    info.width = 8;
    info.height = 6;
    info.bitCount = 24;
    info.planes = 1;
    const auto head = info.ToBytes();
    std::vector<uint8_t> bmp(54 + 8 * 6 * 3, 0);
    bmp[0] = 'B', bmp[1] = 'M';
    std::copy(head.begin(), head.end(), bmp.begin() + 14);
    WriteFileBytes(pics + u"\\TX0000010.BMP", bmp);
    WriteFileBytes(pics + u"\\tx0000030.jpg", {0xFF, 0xD8, 0xFF, 0xD9});
    WriteFileBytes(pics + u"\\TX0000020.PNG", {1});
    WriteFileBytes(pics + u"\\readme.txt", {1});
    WriteClip(vids + u"\\TX0000020.AVI", false, 8, 4);
    WriteClip(vids + u"\\TX0000040.avi", true, 8, 4);
    WriteFileBytes(vids + u"\\TX0000050.AVI", {'R', 'I', 'F', 'F'});  // no clip at all

    CountingAvi avi;
    Strip strip;
    MediaBrowser browser(files, avi, strip);
    browser.SetFolders({pics, vids, thumb});
    browser.SetLayout(8, 8);
    browser.RebuildMediaLists();
    ASSERT_EQ(browser.lists().pictures.size(), 2u);
    EXPECT_EQ(browser.lists().pictures[1], UpperCase(pics + u"\\TX0000030.JPG"));
    ASSERT_EQ(browser.lists().videos.size(), 3u);
    browser.ShowDisplayList(MediaView::Picture);
    EXPECT_EQ(avi.opens, 3);
    // The unopenable clip leaves an empty thumbnail and is missing until the next rebuild.
    ASSERT_EQ(browser.lists().thumbnails.size(), 2u);
    ASSERT_EQ(strip.shown.size(), 4u);
    EXPECT_EQ(strip.shown[0], UpperCase(pics + u"\\TX0000010.BMP"));
    EXPECT_EQ(strip.shown[1], thumb + u"\\TX0000020.BMP");
    EXPECT_EQ(strip.shown[3], thumb + u"\\TX0000040.BMP");

    std::vector<uint8_t> rgb;
    ASSERT_TRUE(files.ReadPrefix(thumb + u"\\TX0000020.BMP", 1 << 20, rgb));
    ASSERT_EQ(rgb.size(), 14u + 40u + 8u * 4u * 3u);
    EXPECT_EQ(rgb[54], 10);  // frame 1
    EXPECT_EQ(rgb[55], 20);
    std::vector<uint8_t> yuv;
    ASSERT_TRUE(files.ReadPrefix(thumb + u"\\TX0000040.BMP", 1 << 20, yuv));
    ASSERT_EQ(yuv.size(), 14u + 40u + 8u * 4u * 3u);
    EXPECT_EQ(yuv[54], 100);
    std::vector<uint8_t> none;
    ASSERT_TRUE(files.ReadPrefix(thumb + u"\\TX0000050.BMP", 1 << 20, none));
    EXPECT_TRUE(none.empty());

    strip.shown.clear();
    browser.RebuildMediaLists();
    browser.ShowDisplayList(MediaView::Video);
    EXPECT_EQ(avi.opens, 3);  // made once, then only looked up
    EXPECT_EQ(strip.shown.size(), 5u);
}

TEST_F(WinMediaTest, SideFilesOnDisk) {
    WinMediaClock clock;
    const std::u16string picture = UpperCase(pics + u"\\TX0000010.BMP");
    MediaInfoRecord r;
    SetRecordText(r.mediaPath, picture);
    r.magnification = 50.0;
    r.deviceCode = 0x0C456340;
    ASSERT_TRUE(WriteMediaInfo(r, files));  // "INFO" in the path, "Info" on disk
    EXPECT_EQ(ReadMediaInfo(picture, 1.0, files, clock), r);
    std::vector<uint8_t> raw;
    ASSERT_TRUE(files.ReadPrefix(SideFilePath(picture), 5000, raw));
    EXPECT_EQ(raw.size(), 1088u);
    const MediaInfoRecord missing = ReadMediaInfo(pics + u"\\TX0000099.BMP", 2.0, files, clock);
    EXPECT_EQ(missing.pictureSize, kDefaultPictureSize);
    EXPECT_NE(missing.captureTime.year, 0);

    std::vector<std::u16string> names;
    auto collect = [&](std::u16string_view name) { names.emplace_back(name); };
    EXPECT_FALSE(files.ListFolder(root + u"\\absent", u"*.*", collect));
    EXPECT_TRUE(files.ListFolder(vids, u"*.avi", collect));
    EXPECT_TRUE(names.empty());
    EXPECT_GT(WinMediaClock().UtcFileTime(), 0x01D1297400000000LL);
}

}  // namespace
}  // namespace orvane
