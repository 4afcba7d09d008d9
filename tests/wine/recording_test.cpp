// The recording switch of the capture graph: what reaches the file, and that the live picture
// keeps running while it is written.
#include <windows.h>
#include <vfw.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "capture/frame_grabbers.h"
#include "capture/size_codes.h"
#include "capture_fixture.h"
#include "clip_reader.h"

namespace orvane {
namespace {

using test::CaptureGraphTest;
using test::Pump;

constexpr wchar_t kIdle[] = L"C:\\windows\\temp\\tmp.avi";

std::wstring TempFile(const wchar_t* name) {
    std::wstring path = std::wstring(L"C:\\windows\\temp\\") + name;
    DeleteFileW(path.c_str());
    return path;
}

class RecordingTest : public CaptureGraphTest {
  protected:
    void SetUp() override {
        CaptureGraphTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_GE(graph_->EnumerateDevices(names_), 1);
        graph_->SelectDevice(0);
        size_ = graph_->BuildGraph(0, true);
        ASSERT_GT(size_, 0);
        Pump(500);
    }
    int size_ = 0;
};

TEST_F(RecordingTest, WritesFromTwoAndAHalfSecondsOnWhileThePreviewRuns) {
    const std::wstring clip = TempFile(L"recording-test.avi");
    ASSERT_EQ(graph_->SetRecording(true, clip), S_OK);
    const uint64_t previewBefore = PreviewCallback().Frames();
    Pump(4500);
    const uint64_t previewFrames = PreviewCallback().Frames() - previewBefore;
    EXPECT_GT(previewFrames, 30u) << "the live picture keeps running while recording";
    EXPECT_EQ(graph_->SetRecording(false, kIdle), S_OK);

    const ClipInfo info = ReadClip(clip);
    ASSERT_TRUE(info.opened) << "the recording is a readable AVI file";
    std::printf("recorded frames in 4.5 s: %ld, preview frames meanwhile: %llu\n", info.frames,
                static_cast<unsigned long long>(previewFrames));
    // 4.5 s of recording of which the first 2.5 s are not written: about 2 s at 15 fps.
    EXPECT_GE(info.frames, 15);
    EXPECT_LE(info.frames, 45);
    EXPECT_EQ(info.width, static_cast<long>(SizeWidth(static_cast<uint32_t>(size_))));
    EXPECT_EQ(info.height, static_cast<long>(SizeHeight(static_cast<uint32_t>(size_))));
    EXPECT_EQ(info.compression, MAKEFOURCC('Y', 'U', 'Y', '2'));

    const uint64_t afterStop = PreviewCallback().Frames();
    Pump(1000);
    EXPECT_GT(PreviewCallback().Frames(), afterStop + 5) << "the rebuilt graph shows the picture";
}

TEST_F(RecordingTest, AStopWithinTheStartDelayGivesAClipWithoutFrames) {
    const std::wstring clip = TempFile(L"recording-short.avi");
    ASSERT_EQ(graph_->SetRecording(true, clip), S_OK);
    Pump(1000);
    graph_->SetRecording(false, kIdle);
    const ClipInfo info = ReadClip(clip);
    ASSERT_TRUE(info.opened) << "the clip is a readable AVI file";
    EXPECT_EQ(info.frames, 0);
}

TEST_F(RecordingTest, TheIdleFileGetsNoFramesAndEachRecordingItsOwnFile) {
    const std::wstring first = TempFile(L"recording-first.avi");
    const std::wstring second = TempFile(L"recording-second.avi");
    ASSERT_EQ(graph_->SetRecording(true, first), S_OK);
    Pump(3500);
    graph_->SetRecording(false, kIdle);
    ASSERT_EQ(graph_->SetRecording(true, second), S_OK);
    Pump(3500);
    graph_->SetRecording(false, kIdle);
    Pump(1000);
    graph_->TearDown();

    EXPECT_GT(ReadClip(first).frames, 0);
    EXPECT_GT(ReadClip(second).frames, 0);
    const ClipInfo idle = ReadClip(kIdle);
    ASSERT_TRUE(idle.opened) << "the idle file is a readable AVI file";
    EXPECT_EQ(idle.frames, 0) << "nothing is written while not recording";
}

TEST_F(RecordingTest, WithCompressionOnButNoEncoderTheClipIsWrittenUncompressed) {
    if (graph_->HasCompressor()) GTEST_SKIP() << "this platform has the DV encoder";
    graph_->SetVideoCompression(true);
    ASSERT_GT(graph_->BuildGraph(0, false), 0);
    const std::wstring clip = TempFile(L"recording-compression.avi");
    ASSERT_EQ(graph_->SetRecording(true, clip), S_OK);
    Pump(3500);
    graph_->SetRecording(false, kIdle);
    const ClipInfo info = ReadClip(clip);
    EXPECT_GT(info.frames, 0);
    EXPECT_EQ(info.compression, MAKEFOURCC('Y', 'U', 'Y', '2'));
}

TEST_F(RecordingTest, AFileThatCannotBeWrittenIsReportedAndThePictureKeepsRunning) {
    EXPECT_TRUE(FAILED(graph_->SetRecording(true, L"C:\\no-such-folder\\clip.avi")));
    const uint64_t before = PreviewCallback().Frames();
    Pump(1000);
    EXPECT_GT(PreviewCallback().Frames(), before + 5) << "the live picture runs on";
    EXPECT_EQ(graph_->SetRecording(false, kIdle), S_OK);
    const std::wstring clip = TempFile(L"recording-after-failure.avi");
    ASSERT_EQ(graph_->SetRecording(true, clip), S_OK) << "the next recording works";
    Pump(3500);
    graph_->SetRecording(false, kIdle);
    EXPECT_GT(ReadClip(clip).frames, 0);
}

TEST_F(RecordingTest, WithoutACameraNothingHappens) {
    graph_->TearDown();
    EXPECT_EQ(graph_->SetRecording(true, TempFile(L"recording-none.avi")), 0);
}

}  // namespace
}  // namespace orvane
