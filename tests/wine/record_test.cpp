// Recording in the real program with the virtual camera: the clip under its capture name in
// the video folder, its thumbnail, the indicator, and a camera unplugged while recording.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture_files.h"
#include "clip_reader.h"
#include "media/companion_paths.h"
#include "orvane_process.h"
#include "platform/wide.h"
#include "registry_reader.h"

namespace orvane::test {
namespace {

constexpr UINT kRecordCommand = 32799;

std::wstring VideoFolder() {
    return DocumentsFolder() + L"\\Orvane\\videos";
}

std::vector<std::wstring> Clips() {
    return CaptureFiles(VideoFolder(), L"TX*.AVI");
}

class Record : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetOrvaneState();
        ASSERT_TRUE(VirtualCameraRegistered()) << "the virtual camera is not registered";
        PrepareSettings();
        ASSERT_TRUE(program_.Start());
        main_ = program_.WaitForMainWindow();
        ASSERT_NE(main_, nullptr);
        ASSERT_NE(WaitForLivePicture(main_), nullptr) << "the camera (6320, 800 x 600) opens";
    }
    void TearDown() override {
        if (main_ && program_.Running()) {
            PostMessageW(main_, WM_COMMAND, IDCANCEL, 0);
            program_.WaitForExit(15000);
        }
        ResetOrvaneState();
    }
    virtual void PrepareSettings() {}
    // Visible top-level windows of the program besides the main window.
    size_t OtherWindows() const {
        size_t n = 0;
        for (HWND w : program_.TopLevelWindows()) n += w != main_ && IsWindowVisible(w);
        return n;
    }
    // Whether the recording indicator (a tool window; shown or hidden as it blinks) exists.
    // The indicator: a small dialog tool window (the cross over the live picture is one too,
    // but as large as the picture; the tooltips are no dialog).
    bool IndicatorExists() const {
        for (HWND w : program_.TopLevelWindows()) {
            if (w == main_ || !(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) continue;
            wchar_t cls[16] = {};
            GetClassNameW(w, cls, 16);
            if (std::wstring(cls) != L"#32770") continue;
            RECT r;
            GetWindowRect(w, &r);
            if (r.right - r.left <= 64 && r.bottom - r.top <= 64) return true;
        }
        return false;
    }
    template <typename Condition>
    static bool WaitFor(Condition done, DWORD timeoutMs) {
        for (DWORD waited = 0; !done() && waited < timeoutMs; waited += 50) SleepMs(50);
        return done();
    }
    OrvaneProcess program_;
    HWND main_ = nullptr;
};

TEST_F(Record, F8TwiceMakesAClipWithFramesAThumbnailAndAnIndicatorWhileItRuns) {
    PostMessageW(main_, WM_COMMAND, kRecordCommand, 0);
    EXPECT_TRUE(WaitFor([&] { return IndicatorExists(); }, 2000)) << "the recording indicator";
    SleepMs(4500);  // frames are written from 2.5 s on
    PostMessageW(main_, WM_COMMAND, kRecordCommand, 0);
    EXPECT_TRUE(WaitFor([&] { return !IndicatorExists(); }, 6000))
        << "the indicator goes with the recording";
    const auto clips = Clips();
    ASSERT_EQ(clips.size(), 1u);
    const ClipInfo clip = ReadClip(clips[0]);
    ASSERT_TRUE(clip.opened) << "a readable AVI clip";
    EXPECT_GT(clip.frames, 15) << "about 2 s at 15 fps";
    EXPECT_EQ(clip.width, 800);
    EXPECT_EQ(clip.height, 600);
    const std::wstring thumbnail =
        ToWide(VideoThumbnailPath(FromWide(clips[0]), FromWide(VideoFolder() + L"\\thumb")));
    int w = 0, h = 0;
    ASSERT_TRUE(PictureSize(thumbnail, &w, &h)) << "the clip's thumbnail beside it";
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
}

// With video compression chosen, a clip's thumbnail has the DV encoder's 720 x 480 (the clip
// itself is written uncompressed where the platform has no DV encoder).
class RecordCompressed : public Record {
  protected:
    void PrepareSettings() override {
        const DWORD on = 1;
        PutValue(L"VideoCompression", REG_DWORD, &on, sizeof on);
    }
};

TEST_F(RecordCompressed, TheThumbnailIsRedrawnAt720x480) {
    PostMessageW(main_, WM_COMMAND, kRecordCommand, 0);
    SleepMs(3000);
    PostMessageW(main_, WM_COMMAND, kRecordCommand, 0);
    EXPECT_TRUE(WaitFor([&] { return !IndicatorExists(); }, 6000));
    const auto clips = Clips();
    ASSERT_EQ(clips.size(), 1u);
    const std::wstring thumbnail =
        ToWide(VideoThumbnailPath(FromWide(clips[0]), FromWide(VideoFolder() + L"\\thumb")));
    int w = 0, h = 0;
    ASSERT_TRUE(PictureSize(thumbnail, &w, &h));
    EXPECT_EQ(w, 720);
    EXPECT_EQ(h, 480);
}

TEST_F(Record, F8TwiceWithinASecondGivesAFileAndNoError) {
    PostMessageW(main_, WM_COMMAND, kRecordCommand, 0);
    SleepMs(400);
    PostMessageW(main_, WM_COMMAND, kRecordCommand, 0);
    EXPECT_TRUE(WaitFor([&] { return !IndicatorExists(); }, 6000)) << "the recording ends";
    EXPECT_EQ(Clips().size(), 1u);
    EXPECT_EQ(OtherWindows(), 0u) << "no indicator and no error box";
    EXPECT_TRUE(program_.Running());
}

TEST_F(Record, UnpluggingWhileRecordingKeepsTheClipAndLooksForACamera) {
    PostMessageW(main_, WM_COMMAND, kRecordCommand, 0);
    SleepMs(4000);
    VirtualCameras::SetLost(1u << 0);
    HWND notice = program_.WaitForBox(L"Orvane", 6000);
    EXPECT_NE(notice, nullptr) << "the recovery finds no camera and says so";
    const auto clips = Clips();
    ASSERT_EQ(clips.size(), 1u);
    const ClipInfo clip = ReadClip(clips[0]);
    EXPECT_TRUE(clip.opened) << "the clip recorded so far is closed and kept";
    EXPECT_GT(clip.frames, 0);
    // Listed: the strip's last cell stands for the clip (by its thumbnail).
    std::wstring listed;
    for (int id = 8192; id < 8208; ++id) {
        HWND cell = GetDlgItem(main_, id);
        if (cell && IsWindowVisible(cell)) listed = WindowText(cell);
    }
    CharUpperBuffW(listed.data(), static_cast<DWORD>(listed.size()));
    const std::wstring name = clips[0].substr(clips[0].rfind(L'\\') + 1, 9);
    EXPECT_NE(listed.find(L"\\THUMB\\"), std::wstring::npos) << "a clip's cell";
    EXPECT_NE(listed.find(name), std::wstring::npos);
    VirtualCameras::SetLost(0);
    ASSERT_TRUE(RegisterVirtualCameraAgain());
}

}  // namespace
}  // namespace orvane::test
