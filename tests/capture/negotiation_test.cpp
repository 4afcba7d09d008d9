#include <gtest/gtest.h>

#include "capture/negotiation.h"

namespace orvane {
namespace {

TEST(Negotiation, CaptureFormatPerCamera) {
    auto mjpg = ChooseCaptureFormat(kCameraMjpg, 0x028001E0, 640, false);
    EXPECT_EQ(mjpg.sizeCode, 0x150003C0u);
    EXPECT_TRUE(mjpg.switchToMjpg);
    EXPECT_FALSE(ChooseCaptureFormat(kCameraMjpg, 0x23200258, 800, true).switchToMjpg);
    EXPECT_EQ(ChooseCaptureFormat(kCameraMjpg, 0x23200258, 800, true).sizeCode, 0x23200258u);
    EXPECT_EQ(ChooseCaptureFormat(kCamera6355, 0x03200258, 1280, false).sizeCode, 0x13200258u);
    EXPECT_EQ(ChooseCaptureFormat(kCamera6355, 0x050003C0, 800, false).sizeCode, 0x13200258u);
    EXPECT_EQ(ChooseCaptureFormat(kCamera62C0, 0x350003C0, 640, false).sizeCode, 0x350003C0u);
    EXPECT_EQ(FrameImageSize(16, 1280, 960), 1280u * 2 * 960);
    EXPECT_EQ(FrameImageSize(24, 3, 2), 12u * 2);
    EXPECT_EQ(FrameImageSize(24, 0xFFF, 0xFFFF), 12288u * 0xFFFF);
    EXPECT_EQ(FrameImageSize(4096, 0xFFF, 0xFFFF), 0xFFFFFFFFu) << "saturates, never wraps";
}

TEST(Negotiation, FinalSizeCode) {
    EXPECT_EQ(FinishBuild(kCameraMjpg, 0x150003C0, 0x050003C0, 0).sizeCode, 0x150003C0u);
    EXPECT_EQ(FinishBuild(kCameraMjpg, 0x23200258, 0x03200258, 0).sizeCode, 0x23200258u);
    EXPECT_EQ(FinishBuild(kCameraMjpg, 0x23200258, 0x028001E0, 0).sizeCode, 0x128001E0u);
    EXPECT_EQ(FinishBuild(kCamera6355, 0x03200258, 0x03200258, 0).sizeCode, 0x13200258u);
    EXPECT_EQ(FinishBuild(kCamera6320, 0x050003C0, 0x03200258, 0).sizeCode, 0x13200258u);
    EXPECT_EQ(FinishBuild(kCamera6320, 0x43200258, 0x03200258, 0).sizeCode, 0x43200258u);
    EXPECT_EQ(FinishBuild(kCamera62C0, 0x350003C0, 0x050003C0, 0).sizeCode, 0x050003C0u);
    EXPECT_EQ(FinishBuild(kCamera6340, 0x028001E0, 0x028001E0, 0x028001E0).stillSize, 0x064004B0u);
    EXPECT_EQ(FinishBuild(kCamera62C0, 0, 0x050003C0, 0x05000400).cameraCode, 0x1C4562C0u);
    EXPECT_EQ(FinishBuild(kCamera62C0, 0, 0x050003C0, 0x064004B0).cameraCode, 0x2C4562C0u);
    EXPECT_EQ(FinishBuild(kCamera62C0, 0, 0x028001E0, 0x028001E0).cameraCode, kCamera62C0);
}

std::vector<int> Ids(const ResolutionMenu& m) {
    std::vector<int> ids;
    for (const MenuEntry& e : m.entries) ids.push_back(e.commandId);
    return ids;
}

TEST(ResolutionMenuRules, ItemsPerStillSize) {
    EXPECT_EQ(Ids(BuildResolutionMenu(1, false, 0x0C456340, 0x064004B0, 0)),
              (std::vector<int>{60009, 60007, 60006, 60005}));
    EXPECT_EQ(Ids(BuildResolutionMenu(1, false, 0x1C4562C0, 0x05000400, 0)),
              (std::vector<int>{60008, 60007, 60005}));
    EXPECT_EQ(Ids(BuildResolutionMenu(1, false, 0x0C456320, 0x0A000780, 0)),
              (std::vector<int>{32827, 0, 60108, 60107, 60106}));
    EXPECT_EQ(Ids(BuildResolutionMenu(1, false, kCamera62C1, 0x028001E0, 0)),
              (std::vector<int>{60005, 60004, 60003, 60002, 60001}));
    EXPECT_EQ(Ids(BuildResolutionMenu(1, false, 0x0C456320, 0x028001E0, 0)),
              (std::vector<int>{60005}));
    EXPECT_TRUE(BuildResolutionMenu(1, false, 0x0C456320, 0x01234567, 0).entries.empty());

    const ResolutionMenu large = BuildResolutionMenu(1, false, 0x0C456355, 0x0DA00A38, 0x33200258);
    EXPECT_EQ(Ids(large), (std::vector<int>{32827, 0, 60105, 60104, 60103, 60102}));
    EXPECT_EQ(large.entries[0].kind, MenuEntry::Kind::Caption);
    EXPECT_EQ(large.entries[0].text, u"Priview(Video) / Photo");
    EXPECT_EQ(large.entries[1].kind, MenuEntry::Kind::Separator);
    for (const MenuEntry& e : large.entries) EXPECT_EQ(e.checked, e.commandId == 60104);
}

TEST(ResolutionMenuRules, Enabling) {
    const ResolutionMenu none = BuildResolutionMenu(0, false, 0, 0, 0);
    EXPECT_FALSE(none.resolutionEnabled || none.imageSettingsEnabled || none.compressionEnabled);
    const ResolutionMenu mjpg = BuildResolutionMenu(1, false, kCameraMjpg, 0x0A000780, 0);
    EXPECT_TRUE(mjpg.resolutionEnabled && mjpg.imageSettingsEnabled);
    EXPECT_FALSE(mjpg.compressionEnabled);
    EXPECT_FALSE(BuildResolutionMenu(2, true, 0xFFFFFFFF, 0x028001E0, 0).compressionEnabled);
    EXPECT_TRUE(BuildResolutionMenu(2, false, 0xFFFFFFFF, 0x028001E0, 0).compressionEnabled);
    EXPECT_EQ(ResolutionMenuIds().size(), 18u);
}

TEST(ResolutionMenuRules, CodesWithoutItemCheckNothing) {
    const ResolutionMenu m = BuildResolutionMenu(1, false, 0x0C456320, 0x064004B0, 0x228001E0);
    for (const MenuEntry& e : m.entries) EXPECT_FALSE(e.checked);
}

}  // namespace
}  // namespace orvane
