#include "media/win/disk_case.h"

#include <windows.h>

#include <map>
#include <mutex>

namespace orvane {
namespace {

std::mutex g_lock;
std::map<std::wstring, std::wstring> g_folders;  // upper-case folder -> as on the disk
constexpr size_t kMaxFolders = 64;

std::wstring Upper(std::wstring text) {
    if (!text.empty()) CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

}  // namespace

std::wstring DiskCasePath(const std::wstring& path) {
    const size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos || slash == 0) return path;
    const std::wstring folder = path.substr(0, slash);
    const std::wstring key = Upper(folder);
    {
        std::lock_guard<std::mutex> hold(g_lock);
        auto found = g_folders.find(key);
        if (found != g_folders.end()) return found->second + path.substr(slash);
    }
    wchar_t disk[MAX_PATH + 1];
    const DWORD length = GetLongPathNameW(folder.c_str(), disk, MAX_PATH + 1);
    // A folder that does not exist (yet) is not remembered: it may be made later.
    if (length == 0 || length > MAX_PATH || Upper(std::wstring(disk, length)) != key) return path;
    std::lock_guard<std::mutex> hold(g_lock);
    if (g_folders.size() >= kMaxFolders) g_folders.clear();
    g_folders[key].assign(disk, length);
    return std::wstring(disk, length) + path.substr(slash);
}

}  // namespace orvane
