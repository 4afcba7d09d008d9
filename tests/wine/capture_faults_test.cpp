// Captures under faults in the real program with the virtual camera: a still pin that misses a
// trigger, photos as fast as the camera gives them, folders that cannot hold their captures,
// and recording commands at awkward moments. No capture is lost without a word.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "capture_files.h"
#include "orvane_process.h"
#include "registry_reader.h"
#include "test_pictures.h"

namespace orvane::test {
namespace {

constexpr UINT kPhotoCommand = 32798;
constexpr UINT kRecordCommand = 32799;
constexpr UINT kVideoCompression = 32821;
constexpr UINT kSelectFolderCommand = 32773;
constexpr int kPictureFolderBox = 1059;

std::wstring Documents() {
    return DocumentsFolder() + L"\\Orvane";
}
std::wstring PictureFolder() {
    return Documents() + L"\\pictures";
}
std::wstring VideoFolder() {
    return Documents() + L"\\videos";
}
std::vector<std::wstring> PicturesIn(const std::wstring& folder) {
    std::vector<std::wstring> all = CaptureFiles(folder, L"TX*.BMP");
    for (const std::wstring& j : CaptureFiles(folder, L"TX*.JPG")) all.push_back(j);
    return all;
}

void SetCameraValue(const wchar_t* name, DWORD value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Orvane\\VirtualCamera", name, REG_DWORD, &value,
                    sizeof value);
}

class CaptureFaults : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetOrvaneState();
        ASSERT_TRUE(VirtualCameraRegistered()) << "the virtual camera is not registered";
    }
    void TearDown() override {
        if (main_ && program_.Running()) {
            PostMessageW(main_, WM_COMMAND, IDCANCEL, 0);
            program_.WaitForExit(15000);
        }
        ResetOrvaneState();
    }
    void Launch(DWORD resolution = 0) {
        if (resolution) PutValue(L"ResolutionDisplay", REG_DWORD, &resolution, sizeof resolution);
        ASSERT_TRUE(program_.Start());
        main_ = program_.WaitForMainWindow();
        ASSERT_NE(main_, nullptr);
        ASSERT_NE(WaitForLivePicture(main_), nullptr) << "the camera opens";
    }
    // The program's error or information box: a visible window of it with a static text.
    HWND WaitForBox(DWORD timeoutMs) const {
        for (DWORD waited = 0; waited <= timeoutMs; waited += 50) {
            for (HWND w : program_.TopLevelWindows()) {
                if (w != main_ && IsWindowVisible(w) && GetDlgItem(w, IDOK) &&
                    !GetDlgItem(w, 1004)) {
                    return w;
                }
            }
            SleepMs(50);
        }
        return nullptr;
    }
    static std::wstring BoxText(HWND box) {
        std::wstring all;
        for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            wchar_t text[512] = {};
            SendMessageW(c, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
            all += text;
            all += L"|";
        }
        return all;
    }
    size_t WaitForCount(const std::wstring& folder, size_t count, DWORD timeoutMs) {
        for (DWORD waited = 0; PicturesIn(folder).size() < count && waited < timeoutMs;
             waited += 100) {
            SleepMs(100);
        }
        return PicturesIn(folder).size();
    }
    OrvaneProcess program_;
    HWND main_ = nullptr;
};

// A raw photo size (option 2): a still that never comes must not block every later photo.
TEST_F(CaptureFaults, AStillPinThatMissesATriggerDoesNotBlockTheNextPhotos) {
    VirtualCameras camera({L"6353"});
    ASSERT_TRUE(camera.Registered());
    SetCameraValue(L"StillIgnoreTriggers", 1);
    Launch(0x250003C0);
    PostMessageW(main_, WM_COMMAND, kPhotoCommand, 0);  // missed by the camera
    SleepMs(1500);
    EXPECT_EQ(PicturesIn(PictureFolder()).size(), 0u);
    SleepMs(3000);  // past the time a still may take to come
    PostMessageW(main_, WM_COMMAND, kPhotoCommand, 0);
    EXPECT_EQ(WaitForCount(PictureFolder(), 1, 20000), 1u) << "the next photo is taken";
}

// Photos asked for as fast as the camera gives them, a stamped copy saved in between: every
// photo is stored complete and each of its own.
TEST_F(CaptureFaults, PhotosInQuickSuccessionAreEachStoredWhole) {
    VirtualCameras camera({L"6340"});
    ASSERT_TRUE(camera.Registered());
    // A picture left under the fixed temporary name (by Copy image, say) is no photo: the
    // announcements of photos an earlier one took along must not store it.
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring stale = std::wstring(temp) + L"Orvane.bmp";
    ASSERT_TRUE(WriteFileBytes(stale, SolidBmp(16, 16, 200, 10, 10)));
    Launch(0x03200258);
    for (int i = 0; i < 6; ++i) {
        PostMessageW(main_, WM_COMMAND, kPhotoCommand, 0);
        SleepMs(70);
    }
    const size_t stored = WaitForCount(PictureFolder(), 6, 15000);
    SleepMs(1000);
    EXPECT_EQ(stored, 6u) << "six requests, six photos";
    std::set<uint64_t> distinct;  // by a hash of each file's bytes
    for (const std::wstring& picture : PicturesIn(PictureFolder())) {
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(ReadWholeFile(picture, &bytes));
        int w = 0, h = 0;
        ASSERT_TRUE(PictureSize(picture, &w, &h)) << "a whole picture";
        EXPECT_EQ(bytes.size(), 54u + 800u * 600u * 3u) << "complete";
        uint64_t hash = 1469598103934665603ull;
        for (uint8_t b : bytes) hash = (hash ^ b) * 1099511628211ull;
        distinct.insert(hash);
    }
    EXPECT_EQ(distinct.size(), PicturesIn(PictureFolder()).size()) << "no photo is another's";
    DeleteFileW(stale.c_str());
}

// A picture folder too long for its captures' side files is not used: the photos go to the
// default folder, and the long folder stays as it was.
TEST_F(CaptureFaults, AFolderTooLongForItsCapturesFallsBackToTheDefault) {
    std::wstring longFolder = L"C:\\";
    longFolder += std::wstring(243, L'p');
    ASSERT_TRUE(CreateDirectoryW(longFolder.c_str(), nullptr) ||
                GetLastError() == ERROR_ALREADY_EXISTS);
    PutString(L"PictureFolderPath", longFolder);
    Launch();
    PostMessageW(main_, WM_COMMAND, kPhotoCommand, 0);
    EXPECT_EQ(WaitForCount(PictureFolder(), 1, 10000), 1u) << "stored in the default folder";
    EXPECT_EQ(PicturesIn(longFolder).size(), 0u);
    RemoveDirectoryW((longFolder + L"\\Info").c_str());
    RemoveDirectoryW(longFolder.c_str());
}

TEST_F(CaptureFaults, TheFolderChooserRefusesARelativeFolderWithItsReason) {
    Launch();
    PostMessageW(main_, WM_COMMAND, kSelectFolderCommand, 0);
    HWND chooser = program_.WaitForBox(L"Select folder", 5000);
    ASSERT_NE(chooser, nullptr);
    HWND pictureBox = GetDlgItem(chooser, kPictureFolderBox);
    ASSERT_NE(pictureBox, nullptr);
    SendMessageW(pictureBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"."));
    PostMessageW(chooser, WM_COMMAND, IDOK, 0);
    HWND box = nullptr;
    for (int i = 0; i < 100 && !box; ++i) {
        for (HWND w : program_.TopLevelWindows()) {
            if (w != chooser && w != main_ && IsWindowVisible(w) && GetDlgItem(w, IDOK)) box = w;
        }
        SleepMs(50);
    }
    ASSERT_NE(box, nullptr) << "the folder is refused with a message";
    EXPECT_NE(BoxText(box).find(L"cannot hold the captures"), std::wstring::npos) << BoxText(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    SleepMs(500);
    PostMessageW(main_, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(program_.WaitForExit(15000));
    main_ = nullptr;
    const auto key = ReadOrvaneKey();
    const auto stored = key.find(L"PictureFolderPath");
    ASSERT_NE(stored, key.end());
    const std::wstring folder(reinterpret_cast<const wchar_t*>(stored->second.bytes.data()));
    EXPECT_EQ(_wcsicmp(folder.c_str(), PictureFolder().c_str()), 0) << "the old folder stays";
}

// Video compression rebuilds the graph onto the idle file: refused while a clip records.
TEST_F(CaptureFaults, VideoCompressionIsRefusedWhileRecording) {
    Launch();
    PostMessageW(main_, WM_COMMAND, kRecordCommand, 0);
    SleepMs(1500);
    PostMessageW(main_, WM_COMMAND, kVideoCompression, 0);
    HWND box = WaitForBox(3000);
    ASSERT_NE(box, nullptr) << "the user is told to stop recording first";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    SleepMs(4000);  // frames are written from 2.5 s of stream time on
    PostMessageW(main_, WM_COMMAND, kRecordCommand, 0);
    SleepMs(2500);
    const std::vector<std::wstring> clips = CaptureFiles(VideoFolder(), L"TX*.AVI");
    ASSERT_EQ(clips.size(), 1u);
    std::vector<uint8_t> clip;
    ASSERT_TRUE(ReadWholeFile(clips[0], &clip));
    EXPECT_GT(clip.size(), 2000000u) << "the clip was not cut: frames after the refusal";
    PostMessageW(main_, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(program_.WaitForExit(15000));
    main_ = nullptr;
    EXPECT_EQ(ReadOrvaneKey()[L"VideoCompression"].Dword(), 0u) << "the setting is unchanged";
}

// F8 pressed while a clip is being closed: the next clip starts after the close.
TEST_F(CaptureFaults, RecordPressedDuringTheStopStartsTheNextClip) {
    Launch();
    PostMessageW(main_, WM_COMMAND, kRecordCommand, 0);
    SleepMs(1500);
    PostMessageW(main_, WM_COMMAND, kRecordCommand, 0);  // stop ...
    SleepMs(50);
    PostMessageW(main_, WM_COMMAND, kRecordCommand, 0);  // ... and start again at once
    SleepMs(3500);
    PostMessageW(main_, WM_COMMAND, kRecordCommand, 0);  // stops the second clip
    std::vector<std::wstring> clips;
    for (int i = 0; i < 50 && clips.size() < 2; ++i) {
        SleepMs(100);
        clips = CaptureFiles(VideoFolder(), L"TX*.AVI");
    }
    EXPECT_EQ(clips.size(), 2u);
}

// A recording given up within its first half second (the program ends) has no thumbnail of
// the clip before it.
TEST_F(CaptureFaults, AnAbandonedRecordingDoesNotTakeThePreviousClipsThumbnail) {
    Launch();
    PostMessageW(main_, WM_COMMAND, kRecordCommand, 0);
    SleepMs(2000);
    PostMessageW(main_, WM_COMMAND, kRecordCommand, 0);
    SleepMs(2500);
    std::vector<std::wstring> thumbs = CaptureFiles(VideoFolder() + L"\\thumb", L"TX*.BMP");
    ASSERT_EQ(thumbs.size(), 1u) << "the first clip's thumbnail";
    std::vector<uint8_t> first;
    ASSERT_TRUE(ReadWholeFile(thumbs[0], &first));
    PostMessageW(main_, WM_COMMAND, kRecordCommand, 0);
    SleepMs(150);
    PostMessageW(main_, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(program_.WaitForExit(15000));
    main_ = nullptr;
    const std::wstring firstThumb = thumbs[0];
    thumbs = CaptureFiles(VideoFolder() + L"\\thumb", L"TX*.BMP");
    for (const std::wstring& t : thumbs) {
        if (t == firstThumb) continue;
        std::vector<uint8_t> second;
        ASSERT_TRUE(ReadWholeFile(t, &second));
        EXPECT_NE(second, first) << "the second clip shows its own first frame, or none";
    }
}

}  // namespace
}  // namespace orvane::test
