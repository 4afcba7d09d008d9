// The capture graph hosted in the test program, against the virtual camera.
#include <gtest/gtest.h>

#include <cstdio>

#include "capture/capture_graph.h"
#include "capture/frame_grabbers.h"
#include "capture/shared_capture_state.h"
#include "capture/size_codes.h"
#include "capture_fixture.h"
#include "orvane_process.h"

namespace orvane {
namespace {

using test::CaptureGraphTest;
using test::Pump;

TEST_F(CaptureGraphTest, BuildsRunsTriggersAStillAndTearsDownRepeatedly) {
    ASSERT_GE(graph_->EnumerateDevices(names_), 1);
    EXPECT_NE(graph_->DeviceCodeAt(0), 0u);
    EXPECT_NE(names_[0][0], L'\0') << "the friendly name is read";
    graph_->SelectDevice(0);
    const uint64_t framesAtStart = PreviewCallback().Frames();
    const DWORD buildStart = GetTickCount();
    const int size = graph_->BuildGraph(0, true);
    for (int i = 0; i < 300 && PreviewCallback().Frames() == framesAtStart; ++i) Pump(5);
    std::printf("build to first preview frame: %lu ms\n",
                static_cast<unsigned long>(GetTickCount() - buildStart));
    ASSERT_GT(size, 0);
    EXPECT_TRUE(graph_->GraphReady());

    // What the frame callbacks will read.
    EXPECT_EQ(CaptureState().SizeCode(), static_cast<uint32_t>(size));
    EXPECT_EQ(static_cast<uint32_t>(CaptureState().CaptureHeader().biWidth), SizeWidth(size));
    EXPECT_TRUE(CaptureState().Camera());
    AM_MEDIA_TYPE still{};
    ASSERT_EQ(CaptureState().CopyStillType(&still), S_OK);
    ASSERT_EQ(still.formattype, FORMAT_VideoInfo);
    EXPECT_EQ(static_cast<uint32_t>(
                  reinterpret_cast<VIDEOINFOHEADER*>(still.pbFormat)->bmiHeader.biWidth),
              SizeWidth(size))
        << "the still format follows the capture size";
    FreeMediaTypeContents(still);

    const uint64_t previewBefore = PreviewCallback().Frames();
    Pump(2000);
    std::printf("preview frames in 2 s at 0x%08X: %llu\n", static_cast<unsigned>(size),
                static_cast<unsigned long long>(PreviewCallback().Frames() - previewBefore));
    EXPECT_GT(PreviewCallback().Frames(), previewBefore + 5) << "preview frames arrive";

    const uint64_t stillBefore = StillCallback().Frames();
    EXPECT_EQ(graph_->TriggerStill(), S_OK);
    for (int i = 0; i < 100 && StillCallback().Frames() == stillBefore; ++i) Pump(20);
    EXPECT_GT(StillCallback().Frames(), stillBefore) << "the still image reaches its callback";

    for (int cycle = 0; cycle < 10; ++cycle) {
        ASSERT_GT(graph_->BuildGraph(0, false), 0) << "cycle " << cycle;
        Pump(100);
        graph_->TearDown();
    }
    EXPECT_EQ(graph_->BuildGraph(5, true), graph_->BuildGraph(0, false))
        << "an index past the list uses the current camera";
    EXPECT_EQ(graph_->BuildGraph(-7, false) > 0, true);

    delete graph_;
    graph_ = nullptr;
    EXPECT_FALSE(CaptureState().Camera()) << "the camera is released with the graph";
    EXPECT_EQ(CaptureState().CopyStillType(&still), VFW_E_NOT_CONNECTED);
}

}  // namespace
}  // namespace orvane
