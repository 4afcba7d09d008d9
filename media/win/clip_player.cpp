#include "media/win/clip_player.h"

#include <windows.h>
#include <shellapi.h>

#include "media/companion_paths.h"
#include "platform/wide.h"

namespace orvane {

void PlayClipOfThumbnail(const std::u16string& thumbnail) {
    const std::wstring clip = ToWide(VideoPathFromThumbnail(thumbnail));
    if (clip.empty()) return;
    if (reinterpret_cast<INT_PTR>(
            ShellExecuteW(nullptr, L"open", clip.c_str(), nullptr, nullptr, SW_SHOW)) >= 32) {
        return;
    }
    if (reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", L"explorer.exe", clip.c_str(),
                                                nullptr, SW_SHOW)) >= 32) {
        return;
    }
    ShellExecuteW(nullptr, L"runas", L"explorer.exe", clip.c_str(), nullptr, SW_SHOW);
}

}  // namespace orvane
