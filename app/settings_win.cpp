#include "app/settings_win.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "platform/wide.h"

namespace orvane {

RegistrySettingsKey::RegistrySettingsKey() {
    key_.Create(HKEY_CURRENT_USER, kSettingsKeyPath);
}

bool RegistrySettingsKey::Query(std::u16string_view name, ValueType& type, std::string& bytes) {
    DWORD rawType = 0;
    if (!key_.Query(ToWide(name).c_str(), rawType, bytes)) return false;
    type = static_cast<ValueType>(rawType);
    return true;
}

bool RegistrySettingsKey::Set(std::u16string_view name, ValueType type, const void* data,
                              size_t size) {
    return key_.Set(ToWide(name).c_str(), static_cast<DWORD>(type), data, static_cast<DWORD>(size));
}

std::u16string ShellFolders::DocumentsFolder() {
    wchar_t path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, path, CSIDL_PERSONAL, TRUE)) return {};
    return FromWide(path);
}

bool ShellFolders::IsDirectory(const std::u16string& path) {
    return PathIsDirectoryW(ToWide(path).c_str()) != FALSE;
}

bool ShellFolders::CreateDirectories(const std::u16string& path) {
    const int rc = SHCreateDirectoryExW(nullptr, ToWide(path).c_str(), nullptr);
    return rc == ERROR_SUCCESS || rc == ERROR_ALREADY_EXISTS || rc == ERROR_FILE_EXISTS
               ? IsDirectory(path)
               : false;
}

bool ShellFolders::SetHidden(const std::u16string& path) {
    const std::wstring wide = ToWide(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    return SetFileAttributesW(wide.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN) != FALSE;
}

}  // namespace orvane
