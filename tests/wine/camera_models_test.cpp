// The device list and the size negotiation of the capture graph with each model of the virtual
// camera.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "capture/frame_grabbers.h"
#include "capture_fixture.h"

namespace orvane {
namespace {

using test::CaptureGraphTest;
using test::Pump;
using test::VirtualCameras;

// The code the accepted-camera table gives the model named in a friendly name.
uint32_t ExpectedCode(const std::wstring& name) {
    struct Row {
        const wchar_t* pid;
        uint32_t code;
    };
    static const Row rows[] = {{L"62C0", 0x0C4562C0}, {L"6340", 0x0C456340}, {L"62C1", 0x2C4562C1},
                               {L"62E0", 0xFFFFFFFF}, {L"6710", 0xFFFFFFFF}, {L"6353", 0x0C456563},
                               {L"6320", 0x0C456320}, {L"6355", 0x0C456355}};
    for (const Row& row : rows) {
        if (name.find(row.pid) != std::wstring::npos) return row.code;
    }
    return 0;
}

class CameraModelsTest : public CaptureGraphTest {
  protected:
    int Build(const wchar_t* pid, uint32_t asked) {
        for (int i = 0; i < graph_->DeviceCount(); ++i) {
            if (std::wstring(names_[i].data()).find(pid) == std::wstring::npos) continue;
            graph_->SetParameters(owner_, RECT{0, 0, 320, 240}, asked,
                                  L"C:\\windows\\temp\\tmp.avi");
            graph_->SelectDevice(i);
            return graph_->BuildGraph(i, true);
        }
        ADD_FAILURE() << "no camera " << std::string(pid, pid + std::wcslen(pid));
        return -1;
    }
};

TEST_F(CameraModelsTest, EveryModelEnumeratesWithItsCodeAndANinthCameraIsIgnored) {
    VirtualCameras cameras(
        {L"62c0", L"6340", L"62c1", L"62e0", L"6710", L"6353", L"6320", L"6355", L"6340"});
    ASSERT_TRUE(cameras.Registered());
    ASSERT_EQ(graph_->EnumerateDevices(names_), 8) << "nine cameras, eight listed";
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(graph_->DeviceCodeAt(i), ExpectedCode(names_[i].data())) << "slot " << i;
    }
}

TEST_F(CameraModelsTest, OnlyThe6710IsTheModel6710ThoughItSharesItsCode) {
    VirtualCameras cameras({L"62e0", L"6710"});
    ASSERT_TRUE(cameras.Registered());
    ASSERT_EQ(graph_->EnumerateDevices(names_), 2);
    EXPECT_GT(Build(L"62E0", 0x028001E0), 0);
    EXPECT_EQ(graph_->DeviceCodeAt(graph_->CurrentDevice()), 0xFFFFFFFFu);
    EXPECT_FALSE(graph_->IsModel6710());
    EXPECT_GT(Build(L"6710", 0x028001E0), 0);
    EXPECT_EQ(graph_->DeviceCodeAt(graph_->CurrentDevice()), 0xFFFFFFFFu);
    EXPECT_TRUE(graph_->IsModel6710());
}

TEST_F(CameraModelsTest, MjpgCameraNegotiatesItsLargeSizeAndKeepsThePhotoOption) {
    VirtualCameras cameras({L"6353"});
    ASSERT_TRUE(cameras.Registered());
    ASSERT_EQ(graph_->EnumerateDevices(names_), 1);
    EXPECT_EQ(Build(L"6353", 0x028001E0), 0x150003C0) << "640 x 480 becomes 1280 x 960 MJPG";
    EXPECT_EQ(graph_->StillSize(), 0x0A000780u) << "the reported 1280 x 1920 still is corrected";
    // Without an MJPG decompressor there is no video window, but the graph runs: the frames
    // reach the preview callback and the still trigger works.
    const uint64_t before = PreviewCallback().Frames();
    Pump(1500);
    std::printf("MJPG preview rendered: %s, preview frames in 1.5 s: %llu\n",
                graph_->GraphReady() ? "yes" : "no",
                static_cast<unsigned long long>(PreviewCallback().Frames() - before));
    EXPECT_GT(PreviewCallback().Frames(), before + 5);
    const uint64_t stills = StillCallback().Frames();
    EXPECT_EQ(graph_->TriggerStill(), S_OK);
    for (int i = 0; i < 100 && StillCallback().Frames() == stills; ++i) Pump(20);
    EXPECT_GT(StillCallback().Frames(), stills) << "the still image arrives";
    EXPECT_EQ(Build(L"6353", 0x23200258), 0x23200258) << "800 x 600 with photo option 2";
}

TEST_F(CameraModelsTest, SizeCodesAndStillSizesOfTheOtherModels) {
    VirtualCameras cameras({L"62c0", L"6340", L"6320", L"6355"});
    ASSERT_TRUE(cameras.Registered());
    ASSERT_EQ(graph_->EnumerateDevices(names_), 4);

    EXPECT_EQ(Build(L"62C0", 0x350003C0), 0x050003C0) << "the option digit is dropped";
    EXPECT_EQ(graph_->DeviceCodeAt(graph_->CurrentDevice()), 0x1C4562C0u)
        << "a 1280 x 1024 still makes the first variant";

    EXPECT_EQ(Build(L"6340", 0x028001E0), 0x028001E0);
    EXPECT_EQ(graph_->StillSize(), 0x064004B0u) << "the 6340's still is always 1600 x 1200";

    EXPECT_EQ(Build(L"6320", 0x03200258), 0x13200258) << "the 6320 photographs the preview";
    EXPECT_EQ(graph_->StillSize(), 0x0DA00A38u) << "the reported 1744 x 1308 still is corrected";

    EXPECT_EQ(Build(L"6355", 0x028001E0), 0x13200258) << "the 6355 keeps 800 x 600, option 1";
}

TEST_F(CameraModelsTest, ACameraThatCannotBeOpenedBuildsNoGraph) {
    VirtualCameras cameras({L"6340", L"6320"}, /*failOpen=*/1u << 0);
    ASSERT_TRUE(cameras.Registered());
    ASSERT_EQ(graph_->EnumerateDevices(names_), 2);
    EXPECT_EQ(Build(L"6340", 0x028001E0), -1) << "so the caller goes on to the next camera";
    EXPECT_FALSE(graph_->GraphReady()) << "the 6340 cannot be opened";
    EXPECT_GT(Build(L"6320", 0x028001E0), 0);
    EXPECT_TRUE(graph_->GraphReady());
}

}  // namespace
}  // namespace orvane
