// The live picture's scale bar in the real program: its length by the magnification field and
// the camera, over the live picture's corner, and the same length per pixel as a photo taken at
// that moment and opened in the editor.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "capture_files.h"
#include "media/companion_paths.h"
#include "media/media_info.h"
#include "orvane_process.h"
#include "registry_reader.h"
#include "results/calibration.h"
#include "results/scale_bar.h"
#include "screen_picture.h"
#include "user_input.h"

namespace orvane::test {
namespace {

constexpr UINT kScaleBarCommand = 33302;
constexpr UINT kPhotoCommand = 32798;

HWND ScaleBarOverlay(const OrvaneProcess& program) {
    for (HWND w : program.TopLevelWindows()) {
        wchar_t name[64] = {};
        GetClassNameW(w, name, 64);
        if (std::wstring(name) == L"OrvaneLiveScaleBar") return w;
    }
    return nullptr;
}

// The longest run of black along any row of the picture.
int LongestBlackRun(const ScreenPicture& p) {
    int best = 0;
    for (int y = 0; y < p.height; ++y) {
        int run = 0;
        for (int x = 0; x < p.width; ++x) {
            run = p.At(x, y) == 0 ? run + 1 : 0;
            best = std::max(best, run);
        }
    }
    return best;
}

class LiveScaleBar : public ::testing::Test {
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
    OrvaneProcess program_;
    HWND main_ = nullptr;
};

TEST_F(LiveScaleBar, ItsLengthPerPixelIsThatOfAPhotoTakenThen) {
    const double magnification = 40.0;
    PutValue(L"InputMaginification", REG_BINARY, &magnification, sizeof magnification);
    ASSERT_TRUE(program_.Start());
    main_ = program_.WaitForMainWindow();
    ASSERT_NE(main_, nullptr);
    HWND live = WaitForLivePicture(main_);
    ASSERT_NE(live, nullptr);
    EXPECT_EQ(ScaleBarOverlay(program_) ? IsWindowVisible(ScaleBarOverlay(program_)) : FALSE, FALSE)
        << "off until asked for";
    PostMessageW(main_, WM_COMMAND, kScaleBarCommand, 0);
    HWND bar = nullptr;
    for (int i = 0; i < 50 && !(bar = ScaleBarOverlay(program_), bar && IsWindowVisible(bar)); ++i)
        SleepMs(100);
    ASSERT_TRUE(bar && IsWindowVisible(bar)) << "the bar over the live picture";
    RECT barRect, liveRect;
    GetWindowRect(bar, &barRect);
    GetWindowRect(live, &liveRect);
    EXPECT_GT(barRect.left, (liveRect.left + liveRect.right) / 2) << "in the right half";
    EXPECT_GT(barRect.top, (liveRect.top + liveRect.bottom) / 2) << "in the bottom half";
    EXPECT_LE(barRect.right, liveRect.right);
    EXPECT_LE(barRect.bottom, liveRect.bottom);
    SleepMs(300);
    const int shown = LongestBlackRun(CaptureScreen(barRect));
    SaveScreenshotIfAsked(main_, L"main-window-scale-bar.bmp");

    // A photo now: its side file holds what the editor measures it with.
    PostMessageW(main_, WM_COMMAND, kPhotoCommand, 0);
    const std::wstring folder = DocumentsFolder() + L"\\Orvane\\pictures";
    std::vector<std::wstring> photos;
    for (int i = 0; i < 80 && photos.empty(); ++i) {
        SleepMs(100);
        photos = CaptureFiles(folder, L"TX*.BMP");
    }
    ASSERT_EQ(photos.size(), 1u);
    SleepMs(500);
    std::vector<uint8_t> side;
    const std::u16string sidePath =
        SideFilePath(std::u16string(photos[0].begin(), photos[0].end()));
    ASSERT_TRUE(ReadWholeFile(std::wstring(sidePath.begin(), sidePath.end()), &side));
    const MediaInfoRecord record = MediaInfoRecord::FromBytes(side.data(), side.size());
    int width = 0, height = 0;
    ASSERT_TRUE(PictureSize(photos[0], &width, &height));
    const auto unit = editor::Unit::kMillimetre;
    const results::Conversion photo = results::PictureConversion(record, width, height, unit);
    const results::Conversion now = results::LiveConversion(record.deviceCode, record.stillSize,
                                                            width, height, magnification, unit);
    EXPECT_DOUBLE_EQ(results::LengthPerPixel(photo), results::LengthPerPixel(now))
        << "the photo measures as the live bar was drawn";
    const auto expected = results::ChooseScaleBar(now, width);
    ASSERT_TRUE(expected);
    const int onScreen =
        results::ShownPixels(expected->pixels, width, liveRect.right - liveRect.left);
    EXPECT_NEAR(shown, onScreen, 1) << "the bar shows " << expected->label << " to the pixel";

    // Under the editor the bar goes with the live picture, and comes back after it.
    DoubleClickAt(CentreOf(GetDlgItem(main_, 8192)));
    for (int i = 0; i < 50 && IsWindowVisible(bar); ++i) SleepMs(100);
    EXPECT_FALSE(IsWindowVisible(bar)) << "hidden under the editor";
}

}  // namespace
}  // namespace orvane::test
