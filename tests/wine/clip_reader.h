#pragma once
// What the platform's AVI reader finds in a recorded clip.
#include <windows.h>
#include <vfw.h>

#include <string>

namespace orvane {

struct ClipInfo {
    bool opened = false;
    long frames = 0;
    long width = 0;
    long height = 0;
    DWORD compression = 0;
};

inline ClipInfo ReadClip(const std::wstring& path) {
    ClipInfo info;
    AVIFileInit();
    PAVIFILE file = nullptr;
    if (AVIFileOpenW(&file, path.c_str(), OF_READ | OF_SHARE_DENY_NONE, nullptr) == 0) {
        PAVISTREAM stream = nullptr;
        if (AVIFileGetStream(file, &stream, streamtypeVIDEO, 0) == 0) {
            info.opened = true;
            info.frames = AVIStreamLength(stream);
            BITMAPINFOHEADER format{};
            LONG size = sizeof(format);
            if (AVIStreamReadFormat(stream, 0, &format, &size) == 0) {
                info.width = format.biWidth;
                info.height = format.biHeight;
                info.compression = format.biCompression;
            }
            AVIStreamRelease(stream);
        }
        AVIFileRelease(file);
    }
    AVIFileExit();
    return info;
}

}  // namespace orvane
