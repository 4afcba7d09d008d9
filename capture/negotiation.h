#pragma once
// How a graph build turns the wanted size code into the camera's format and back into the
// size code it reports, and which resolutions the Setting menu offers for a camera.
#include <cstdint>
#include <string_view>
#include <vector>

namespace orvane {

constexpr uint32_t kCameraMjpg = 0x0C456563;  // switched to MJPG at 1280 x 960
constexpr uint32_t kCamera6355 = 0x0C456355;  // keeps a photo option at 800 x 600
constexpr uint32_t kCamera6320 = 0x0C456320;  // the same raw still, so the same rule
constexpr uint32_t kCamera6340 = 0x0C456340;  // still size is always 1600 x 1200
constexpr uint32_t kCamera62C0 = 0x0C4562C0;  // variants by still size
constexpr uint32_t kCamera62C1 = 0x2C4562C1;  // offers the small sizes

struct CaptureFormatChoice {
    uint32_t sizeCode;  // the code whose width and height the capture pin is set to
    bool switchToMjpg;  // only when the pin's subtype is not MJPG already
};

// Adjusts the wanted code for the camera before the capture format is set.
CaptureFormatChoice ChooseCaptureFormat(uint32_t camera, uint32_t wanted, uint32_t currentWidth,
                                        bool currentIsMjpg);

// Bytes of one frame: rows rounded to whole 32-bit words.
uint32_t FrameImageSize(uint32_t bitCount, uint32_t width, uint32_t height);

struct BuildResult {
    uint32_t sizeCode;
    uint32_t stillSize;
    uint32_t cameraCode;  // with a variant update where the still size calls for one
};

// The size code a finished build reports, from the code asked for and the one negotiated.
BuildResult FinishBuild(uint32_t camera, uint32_t requested, uint32_t negotiated,
                        uint32_t stillSize);

struct MenuEntry {
    enum class Kind { Item, Caption, Separator } kind;
    int commandId;
    std::u16string_view text;
    bool checked;
};

struct ResolutionMenu {
    bool resolutionEnabled;
    bool imageSettingsEnabled;
    bool compressionEnabled;
    std::vector<MenuEntry> entries;  // top to bottom
};

// The Resolution submenu for the current camera, still size and ResolutionDisplay.
ResolutionMenu BuildResolutionMenu(int deviceCount, bool isModel6710, uint32_t camera,
                                   uint32_t stillSize, uint32_t resolutionDisplay);

// Every id the submenu may hold, which the rebuild removes first: 60001..60009, 60101..60108
// and the caption 32827.
std::vector<int> ResolutionMenuIds();

}  // namespace orvane
