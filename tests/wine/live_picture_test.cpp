// The live picture of the virtual camera in the real program; skipped without that camera.
#include <gtest/gtest.h>

#include <cstdio>

#include "orvane_process.h"
#include "registry_reader.h"

namespace orvane::test {
namespace {

BOOL CALLBACK FindVideoWindow(HWND hwnd, LPARAM found) {
    wchar_t name[128] = {};
    GetClassNameW(hwnd, name, 128);
    std::wstring cls = name;
    if (cls.find(L"VideoRenderer") != std::wstring::npos ||
        cls.find(L"ActiveMovie") != std::wstring::npos || cls.find(L"VMR") != std::wstring::npos ||
        cls.find(L"quartz") != std::wstring::npos) {
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    return TRUE;
}

TEST(LivePicture, TheFirstPollOpensTheCameraAndShowsItsPicture) {
    if (!VirtualCameraRegistered()) GTEST_SKIP() << "no virtual camera in this prefix";
    ResetOrvaneState();
    OrvaneProcess orvane;
    ASSERT_TRUE(orvane.Start());
    HWND main = orvane.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    HWND video = nullptr;
    for (int i = 0; i < 400 && !video; ++i) {
        EnumChildWindows(main, FindVideoWindow, reinterpret_cast<LPARAM>(&video));
        SleepMs(10);
    }
    EXPECT_NE(video, nullptr) << "no video window in the main window";
    EXPECT_EQ(orvane.FindBox(L"Orvane"), nullptr)
        << "the notice is shown although a camera is there";
    PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(orvane.WaitForExit(15000));
    const auto key = ReadOrvaneKey();
    ASSERT_EQ(key.count(L"ResolutionDisplay"), 1u);
    std::printf("ResolutionDisplay after the build: 0x%08lX\n",
                key.at(L"ResolutionDisplay").Dword());
    EXPECT_LT(static_cast<int>(key.at(L"ResolutionDisplay").Dword()), 0x7FFFFFFF);
    EXPECT_GT(static_cast<int>(key.at(L"ResolutionDisplay").Dword()), 0);
    ResetOrvaneState();
}

}  // namespace
}  // namespace orvane::test

namespace orvane::test {
namespace {

TEST(LivePicture, ResolutionCommandRebuildsAtTheChosenSize) {
    if (!VirtualCameraRegistered()) GTEST_SKIP() << "no virtual camera in this prefix";
    ResetOrvaneState();
    OrvaneProcess orvane;
    ASSERT_TRUE(orvane.Start());
    HWND main = orvane.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    SleepMs(2000);                             // the first poll opens the camera
    PostMessageW(main, WM_COMMAND, 60005, 0);  // 640 x 480
    SleepMs(1500);
    PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(orvane.WaitForExit(15000));
    const auto key = ReadOrvaneKey();
    ASSERT_EQ(key.count(L"ResolutionDisplay"), 1u);
    EXPECT_EQ(key.at(L"ResolutionDisplay").Dword(), 0x028001E0u)
        << "the camera is rebuilt at the chosen size";
    ResetOrvaneState();
}

}  // namespace
}  // namespace orvane::test
