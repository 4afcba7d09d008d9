#include "capture/negotiation.h"

#include <initializer_list>

#include "capture/size_codes.h"

namespace orvane {

namespace {
constexpr int kCaptionId = 32827;
constexpr std::u16string_view kCaptionText = u"Priview(Video) / Photo";

MenuEntry ItemFor(int commandId, uint32_t resolutionDisplay) {
    const ResolutionItem* item = ResolutionByCommand(commandId);
    return {MenuEntry::Kind::Item, commandId, item ? item->text : std::u16string_view(),
            item && item->sizeCode == resolutionDisplay};
}
}  // namespace

CaptureFormatChoice ChooseCaptureFormat(uint32_t camera, uint32_t wanted, uint32_t currentWidth,
                                        bool currentIsMjpg) {
    CaptureFormatChoice choice{wanted, false};
    if (camera == kCameraMjpg) {
        choice.switchToMjpg = !currentIsMjpg;
        if (currentWidth == 640 || WithoutOption(wanted) == 0x028001E0)
            choice.sizeCode = 0x150003C0;
    } else if (camera == kCamera6355) {
        if (currentWidth == 800 || WithoutOption(wanted) == 0x03200258)
            choice.sizeCode = 0x13200258;
    }
    return choice;
}

uint32_t FrameImageSize(uint32_t bitCount, uint32_t width, uint32_t height) {
    const uint64_t row = ((static_cast<uint64_t>(bitCount) * width + 31) >> 3) & ~uint64_t{3};
    const uint64_t total = row * height;
    return total > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(total);
}

BuildResult FinishBuild(uint32_t camera, uint32_t requested, uint32_t negotiated,
                        uint32_t stillSize) {
    BuildResult r{WithoutOption(negotiated), stillSize, camera};
    // A raw-still camera has no still at preview size: a video-only code would read its raw
    // still as a picture, so it photographs the next preview frame instead.
    if (camera == kCameraMjpg || camera == kCamera6355 || camera == kCamera6320) {
        uint32_t asked = requested;
        if (PhotoOption(asked) == 0) asked |= 1u << 28;
        r.sizeCode = WithoutOption(asked) == WithoutOption(negotiated)
                         ? asked
                         : (WithoutOption(negotiated) | 1u << 28);
        return r;
    }
    if (camera == kCamera6340) r.stillSize = 0x064004B0;
    if (camera == kCamera62C0) {
        if (stillSize == 0x05000400) r.cameraCode = 0x1C4562C0;
        if (stillSize == 0x064004B0) r.cameraCode = 0x2C4562C0;
    }
    return r;
}

ResolutionMenu BuildResolutionMenu(int deviceCount, bool isModel6710, uint32_t camera,
                                   uint32_t stillSize, uint32_t resolutionDisplay) {
    ResolutionMenu menu{};
    const bool present = deviceCount >= 1;
    menu.resolutionEnabled = present;
    menu.imageSettingsEnabled = present;
    menu.compressionEnabled = present && !isModel6710 && camera != kCameraMjpg;

    auto items = [&](std::initializer_list<int> ids) {
        for (int id : ids) menu.entries.push_back(ItemFor(id, resolutionDisplay));
    };
    auto caption = [&] {
        menu.entries.push_back({MenuEntry::Kind::Caption, kCaptionId, kCaptionText, false});
        menu.entries.push_back({MenuEntry::Kind::Separator, 0, {}, false});
    };
    switch (stillSize) {
        case 0x064004B0:
            items({60009, 60007, 60006, 60005});
            break;
        case 0x05000400:
            items({60008, 60007, 60005});
            break;
        case 0x0A000780:
            caption();
            items({60108, 60107, 60106});
            break;
        case 0x028001E0:
            items({60005});
            if (camera == kCamera62C1) items({60004, 60003, 60002, 60001});
            break;
        case 0x0DA00A38:
            caption();
            items({60105, 60104, 60103, 60102});
            break;
        default:
            break;
    }
    return menu;
}

std::vector<int> ResolutionMenuIds() {
    std::vector<int> ids;
    for (int id = 60001; id <= 60009; ++id) ids.push_back(id);
    for (int id = 60101; id <= 60108; ++id) ids.push_back(id);
    ids.push_back(kCaptionId);
    return ids;
}

}  // namespace orvane
