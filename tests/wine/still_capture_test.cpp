// The still callback against the virtual camera's raw models, hosted in the test program: what
// a still trigger announces by size code, with the two-halves clock moved by the test.
#include <gtest/gtest.h>

#include "capture/frame_grabbers.h"
#include "capture_fixture.h"
#include "orvane_process.h"
#include "platform/gdiplus_session.h"

namespace orvane {
namespace {

using test::CaptureGraphTest;

class StillCaptureTest : public CaptureGraphTest {
  protected:
    // Builds the one virtual camera at a size code; the code the build answers.
    int Build(uint32_t code) {
        graph_->SetParameters(owner_, RECT{0, 0, 320, 240}, code, L"C:\\windows\\temp\\tmp.avi");
        if (graph_->EnumerateDevices(names_) < 1) return -1;
        graph_->SelectDevice(0);
        const int built = graph_->BuildGraph(0, true);
        Announcements(1500);  // let the frames flow, and drop anything announced before
        return built;
    }
    // Pumps for ms and counts the pictures announced meanwhile (requests not counted).
    int Announcements(DWORD ms) {
        static const UINT message = RegisterWindowMessageW(L"OrvaneCapturePicture");
        int count = 0;
        const DWORD start = GetTickCount();
        MSG msg;
        while (GetTickCount() - start < ms) {
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                // Each top-level window of the thread gets its own copy: count the owner's.
                if (msg.message == message && msg.hwnd == owner_ && msg.wParam != 2) ++count;
                DispatchMessageW(&msg);
            }
            Sleep(5);
        }
        return count;
    }
    void TearDown() override {
        StillCallback().SetClock(&RealClock);
        CaptureGraphTest::TearDown();
    }
    static int64_t RealClock() { return static_cast<int64_t>(time(nullptr)); }
    const GdiplusSession gdiplus_;
};

// The 6355's still is a raw frame in two halves; at 0x13200258 every second still sample asks
// the preview for a photo, so one trigger (two samples) gives one photo.
TEST_F(StillCaptureTest, AtTheEveryOtherCodeOneTriggerGivesOnePhoto) {
    test::VirtualCameras camera({L"6355"});
    ASSERT_TRUE(camera.Registered());
    ASSERT_EQ(Build(0x13200258), 0x13200258);
    const uint64_t stills = StillCallback().Frames();
    ASSERT_EQ(graph_->TriggerStill(), S_OK);
    EXPECT_EQ(Announcements(2000), 1);
    EXPECT_EQ(StillCallback().Frames() - stills, 2u) << "two still samples";
    ASSERT_EQ(graph_->TriggerStill(), S_OK);
    EXPECT_EQ(Announcements(2000), 1);
}

std::atomic<int64_t> g_seconds{1000};
int64_t TestClock() {
    return g_seconds.fetch_add(31);  // every half arrives 31 s after the one before
}

TEST_F(StillCaptureTest, ASecondHalfMoreThan30SecondsLateStartsANewFrame) {
    test::VirtualCameras camera({L"6355"});
    ASSERT_TRUE(camera.Registered());
    ASSERT_EQ(Build(0x43200258), 0x43200258);
    StillCallback().SetClock(&TestClock);
    Requests().stillPending.store(1);
    ASSERT_EQ(graph_->TriggerStill(), S_OK);
    EXPECT_EQ(Announcements(3000), 0) << "each half is taken as a first half";
    EXPECT_EQ(Requests().stillPending.load(), 1u) << "the still stays pending";

    StillCallback().SetClock(&RealClock);
    ASSERT_EQ(graph_->TriggerStill(), S_OK);
    EXPECT_EQ(Announcements(5000), 1) << "in time, two halves make one picture";
    EXPECT_EQ(Requests().stillPending.load(), 0u);
}

}  // namespace
}  // namespace orvane
