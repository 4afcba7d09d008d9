#include <gtest/gtest.h>

#include "capture/devices.h"
#include "capture/size_codes.h"

namespace orvane {
namespace {

TEST(Devices, AcceptedCameraTable) {
    EXPECT_EQ(DeviceCodeFromDisplayName(u"@device:pnp:\\\\?\\USB#VID_0C45&PID_6353&MI_00#x"),
              0x0C456563u);
    EXPECT_EQ(DeviceCodeFromDisplayName(u"usb#vid_0c45&pid_62c1 usb#vid_0c45&pid_62c0"),
              0x0C4562C0u);
    EXPECT_EQ(DeviceCodeFromDisplayName(u"usb#vid_0c45&pid_62e0"), 0xFFFFFFFFu);
    EXPECT_EQ(DeviceCodeFromDisplayName(u"usb#vid_0c45&pid_6710"), 0xFFFFFFFFu);
    EXPECT_TRUE(IsModel6710Name(u"USB#VID_0C45&PID_6710"));
    EXPECT_FALSE(IsModel6710Name(u"usb#vid_0c45&pid_62e0"));
    EXPECT_EQ(DeviceCodeFromDisplayName(u"usb#vid_046d&pid_0825"), 0u);
    EXPECT_EQ(DeviceCodeFromDisplayName(u"usb#vid_0c45&pid_63"), 0u);
    EXPECT_EQ(DeviceCodeFromDisplayName(u""), 0u);
}

TEST(SizeCodes, PhotoSizesAndStillCorrections) {
    EXPECT_EQ(PhotoSizeOf(0x028001E0), 0x028001E0u);
    EXPECT_EQ(PhotoSizeOf(0x150003C0), 0x050003C0u);
    EXPECT_EQ(PhotoSizeOf(0x23200258), 0x08000600u);
    EXPECT_EQ(PhotoSizeOf(0x350003C0), 0x0A000780u);
    EXPECT_EQ(PhotoSizeOf(0x43200258), 0x0DA00A38u);
    EXPECT_EQ(PhotoSizeOf(0x73200258), 0x03200258u);
    EXPECT_EQ(CorrectedStillSize(0x05000780), 0x0A000780u);
    EXPECT_EQ(CorrectedStillSize(0x06D0051C), 0x0DA00A38u);
    EXPECT_EQ(CorrectedStillSize(0x064004B0), 0x064004B0u);
    EXPECT_EQ(SizeWidth(0xFFFF1234), 0xFFFu) << "the option digit never leaks into the width";
}

TEST(SizeCodes, CatalogueAndStoredValues) {
    EXPECT_EQ(ResolutionCatalogue().size(), 17u);
    ASSERT_NE(ResolutionByCommand(60105), nullptr);
    EXPECT_EQ(ResolutionByCommand(60105)->text, u"800 x 600   /  3488 x 2616");
    EXPECT_EQ(ResolutionByCommand(60105)->sizeCode, 0x43200258u);
    EXPECT_EQ(ResolutionByCommand(60000), nullptr);
    EXPECT_EQ(ResolutionBySizeCode(0x128001E0), nullptr) << "60101 is never offered";
    EXPECT_EQ(ResolutionBySizeCode(0x228001E0), nullptr);
    int valid = 0;
    for (const ResolutionItem& item : ResolutionCatalogue())
        valid += IsValidStoredResolution(item.sizeCode);
    EXPECT_EQ(valid, 17);  // 60101 shares 0x128001E0, which is a valid stored value
    EXPECT_TRUE(IsValidStoredResolution(0x328001E0));
    EXPECT_FALSE(IsValidStoredResolution(0x028001E1));
}

}  // namespace
}  // namespace orvane
