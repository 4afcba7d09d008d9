// The live picture of the virtual camera in the real program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>

#include "orvane_process.h"
#include "registry_reader.h"
#include "screen_picture.h"

namespace orvane::test {
namespace {

// The real program started on a fresh state with the virtual camera; the state is reset after.
class LivePicture : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetOrvaneState();
        ASSERT_TRUE(VirtualCameraRegistered()) << "the virtual camera is not registered";
    }
    void TearDown() override { ResetOrvaneState(); }
    // Starts the program; its main window, or null.
    HWND Launch() { return program_.Start() ? program_.WaitForMainWindow() : nullptr; }
    // Esc on the main window, which saves and exits.
    bool CloseAndWait(HWND main) {
        PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
        return program_.WaitForExit(15000);
    }
    OrvaneProcess program_;
};

TEST_F(LivePicture, TheFirstPollOpensTheCameraAndShowsItsPicture) {
    HWND main = Launch();
    ASSERT_NE(main, nullptr);
    EXPECT_NE(WaitForLivePicture(main), nullptr) << "no video window in the main window";
    EXPECT_EQ(program_.FindBox(L"Orvane"), nullptr)
        << "the notice is shown although a camera is there";
    ASSERT_TRUE(CloseAndWait(main));
    const auto key = ReadOrvaneKey();
    ASSERT_EQ(key.count(L"ResolutionDisplay"), 1u);
    EXPECT_EQ(key.at(L"ResolutionDisplay").Dword(), 0x13200258u)
        << "the 6320 opens at 800 x 600 with the preview photo, and that is kept";
}

}  // namespace
}  // namespace orvane::test

namespace orvane::test {
namespace {

TEST_F(LivePicture, ResolutionCommandRebuildsAtTheChosenSize) {
    HWND main = Launch();
    ASSERT_NE(main, nullptr);
    SleepMs(2000);                             // the first poll opens the camera
    PostMessageW(main, WM_COMMAND, 60005, 0);  // 640 x 480
    SleepMs(1500);
    ASSERT_TRUE(CloseAndWait(main));
    const auto key = ReadOrvaneKey();
    ASSERT_EQ(key.count(L"ResolutionDisplay"), 1u);
    // The default camera (6320) photographs the preview at a video-only size.
    EXPECT_EQ(key.at(L"ResolutionDisplay").Dword(), 0x128001E0u)
        << "the camera is rebuilt at the chosen size";
}

}  // namespace
}  // namespace orvane::test

namespace orvane::test {
namespace {

TEST_F(LivePicture, WhenTheFirstCameraCannotBeOpenedTheSecondOpensWithoutNotice) {
    // Listed in the order of their instance names: the 6320 first, and it fails to open.
    VirtualCameras cameras({L"6320", L"6340"}, /*failOpen=*/1u << 0);
    ASSERT_TRUE(cameras.Registered());
    HWND main = Launch();
    ASSERT_NE(main, nullptr);
    EXPECT_NE(WaitForLivePicture(main, 8000), nullptr) << "the second camera shows its picture";
    SleepMs(1500);
    EXPECT_EQ(program_.FindBox(L"Orvane"), nullptr) << "no notice while a camera works";
    ASSERT_TRUE(CloseAndWait(main));
}

TEST_F(LivePicture, UnplugClearsThePictureAndTheNoticeFollowsOnTheNextPoll) {
    VirtualCameras cameras({L"6320"});
    ASSERT_TRUE(cameras.Registered());
    HWND main = Launch();
    ASSERT_NE(main, nullptr);
    HWND video = WaitForLivePicture(main, 8000);
    ASSERT_NE(video, nullptr);
    SleepMs(500);

    VirtualCameras::SetLost(1u << 0);
    const DWORD unplugged = GetTickCount();
    bool cleared = false;
    for (int i = 0; i < 300 && !cleared; ++i) {
        cleared = !IsWindow(video) || !IsWindowVisible(video);
        if (!cleared) SleepMs(10);
    }
    EXPECT_TRUE(cleared) << "the picture goes with the camera";
    const DWORD clearedAt = GetTickCount();
    HWND notice = program_.WaitForBox(L"Orvane", 4000);
    EXPECT_NE(notice, nullptr) << "the poll finds no camera and shows the notice";
    std::printf("unplug to picture cleared: %lu ms, to notice: %lu ms\n",
                static_cast<unsigned long>(clearedAt - unplugged),
                static_cast<unsigned long>(GetTickCount() - unplugged));
    if (notice) SendMessageW(GetDlgItem(notice, IDOK), BM_CLICK, 0, 0);

    // Plugged in again: the poll opens it within about a second.
    VirtualCameras::SetLost(0);
    ASSERT_TRUE(RegisterVirtualCameraAgain());
    EXPECT_NE(WaitForLivePicture(main, 8000), nullptr) << "the camera comes back";
    ASSERT_TRUE(CloseAndWait(main));
}

}  // namespace
}  // namespace orvane::test

namespace orvane::test {
namespace {

TEST_F(LivePicture, CompressionToggleFlipsTheSettingAndRebuildsWithoutAnEncoder) {
    HWND main = Launch();
    ASSERT_NE(main, nullptr);
    SleepMs(2000);                             // the first poll opens the camera
    PostMessageW(main, WM_COMMAND, 32821, 0);  // Video compression
    SleepMs(1500);
    EXPECT_TRUE(program_.Running()) << "the rebuild without a DV encoder keeps the program alive";
    ASSERT_TRUE(CloseAndWait(main));
    const auto key = ReadOrvaneKey();
    ASSERT_EQ(key.count(L"VideoCompression"), 1u);
    EXPECT_EQ(key.at(L"VideoCompression").Dword(), 1u);
    EXPECT_GT(static_cast<int>(key.at(L"ResolutionDisplay").Dword()), 0) << "rebuilt";
}

}  // namespace
}  // namespace orvane::test

namespace orvane::test {
namespace {

// Every model the virtual camera plays, YUY2 and MJPG alike, shows its moving scene on screen.
TEST_F(LivePicture, EveryCameraModelShowsItsMovingSceneOnScreen) {
    for (const wchar_t* pid :
         {L"62C0", L"6340", L"62C1", L"62E0", L"6710", L"6353", L"6320", L"6355"}) {
        SCOPED_TRACE(std::string("camera ") + std::string(pid, pid + wcslen(pid)));
        ResetOrvaneState();
        VirtualCameras camera({pid});
        ASSERT_TRUE(camera.Registered());
        OrvaneProcess program;
        ASSERT_TRUE(program.Start());
        HWND main = program.WaitForMainWindow();
        ASSERT_NE(main, nullptr);
        HWND video = WaitForLivePicture(main, 8000);
        ASSERT_NE(video, nullptr);
        RECT area{};
        GetClientRect(video, &area);
        MapWindowPoints(video, nullptr, reinterpret_cast<POINT*>(&area), 2);
        // The window comes before the first frames; on a loaded machine it may stay empty a while.
        ScreenPicture first = CaptureScreen(area);
        for (int i = 0; i < 25 && FindSceneMarks(first).baseLineRow < 0; ++i) {
            SleepMs(200);
            first = CaptureScreen(area);
        }
        SleepMs(1000);
        const ScreenPicture second = CaptureScreen(area);
        ASSERT_EQ(first.width, area.right - area.left);

        const SceneMarks a = FindSceneMarks(first), b = FindSceneMarks(second);
        EXPECT_GE(b.baseLineRow, 0) << "the micrometer's base line crosses the picture";
        // At 640 pixels a division is narrower than a pixel and may fall between two; the scene
        // drifts half a micrometre further by the second picture.
        EXPECT_NEAR(std::max(a.divisions, b.divisions), 80, 3) << "80 divisions across the field";
        EXPECT_GT(b.meanRed, b.meanGreen + 15) << "the stain is red above green";
        EXPECT_GT(b.meanBlue, b.meanGreen + 5) << "and blue above green";
        EXPECT_GT(b.meanGreen, 80) << "a lit specimen, not a dark picture";
        EXPECT_GT(ChangedShare(first, second), 0.2) << "the picture moves";
        PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(program.WaitForExit(15000));
    }
}

}  // namespace
}  // namespace orvane::test

namespace orvane::test {
namespace {

TEST_F(LivePicture, ACameraThatCannotBeOpenedAfterTheCompressionToggleBringsTheNotice) {
    VirtualCameras camera({L"6320"});
    ASSERT_TRUE(camera.Registered());
    HWND main = Launch();
    ASSERT_NE(main, nullptr);
    ASSERT_NE(WaitForLivePicture(main, 8000), nullptr);
    VirtualCameras failing({L"6320"}, /*failOpen=*/1u << 0);
    ASSERT_TRUE(failing.Registered());
    PostMessageW(main, WM_COMMAND, 32821, 0);  // Video compression: the graph is rebuilt
    EXPECT_NE(program_.WaitForBox(L"Orvane", 5000), nullptr)
        << "no camera could be opened: the poll runs and the notice follows";
    EXPECT_TRUE(program_.Running());
    ASSERT_TRUE(CloseAndWait(main));
}

}  // namespace
}  // namespace orvane::test
