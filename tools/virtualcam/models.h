// Camera models the virtual microscope camera can play, and its registry configuration.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vcam {

constexpr int kMaxDevices = 9;
constexpr LONGLONG kFramePeriod = 10000000 / 15;  // 15 frames per second, in 100 ns units

// How a model answers a still trigger.
enum class StillKind {
    Frame,       // one YUY2 frame in the still pin's format
    RawSingle,   // one 2560x1920 B G / G R mosaic, one byte per pixel
    RawHalves,   // a 3488x2616 mosaic in two samples of 1308 rows, the second half bottom-up
};

struct Size {
    int width;
    int height;
};

struct Model {
    uint16_t pid;
    const wchar_t* name;
    std::vector<Size> yuy2;   // capture sizes, preferred first
    std::vector<Size> mjpg;   // MJPG capture sizes (may be empty)
    Size still;               // still size as the pin reports it
    StillKind stillKind;
};

// The model with this product id, or nullptr.
const Model* FindModel(uint16_t pid);
const std::vector<Model>& AllModels();

// HKCU\Software\Orvane\VirtualCamera
inline constexpr wchar_t kConfigKey[] = L"Software\\Orvane\\VirtualCamera";

struct Config {
    std::vector<uint16_t> devices;  // product id per slot, at most kMaxDevices
    DWORD failOpen = 0;             // bit i: slot i cannot be opened
    DWORD failRender = 0;           // bit i: slot i connects no pin
    DWORD lost = 0;                 // bit i: slot i is unplugged
};

// Reads the configuration; without a Devices value one 6320 camera is configured.
Config ReadConfig();
// Reads only the Lost value (polled by the streaming threads).
DWORD ReadLostMask();
// The fixed scene time of stills in seconds, when one is configured.
bool ReadStillSceneTime(double* seconds);
// The focus sweep's time in milliseconds, when the camera is to show the focus scene
// (FocusSweepMs present and not 0).
bool ReadFocusSweepMs(DWORD* milliseconds);
// True (and one fewer left) while the configuration's StillIgnoreTriggers count is above 0:
// that trigger is acknowledged and no still follows, like a camera that missed it.
bool TakeIgnoredTrigger();

// Instance name of a slot, e.g. "usb#vid_0c45&pid_6320&mi_00#orvane-virtual-0".
std::wstring InstanceName(uint16_t pid, int slot);
std::wstring FriendlyName(const Model& model, int slot);

// Deletes the video-input device entries of our classes (of one slot, or all for -1).
// (Wine 8's IFilterMapper2::UnregisterFilter overruns its stack with instance names this long.)
HRESULT RemoveDeviceMonikers(int slot);

// CLSID of the filter object of one slot; the slot is the last byte.
CLSID SlotClsid(int slot);
// Slot of one of our CLSIDs, or -1.
int SlotOf(REFCLSID clsid);

}  // namespace vcam
