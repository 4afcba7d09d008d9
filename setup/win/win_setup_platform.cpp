#include "setup/win/win_setup_platform.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "platform/com_ptr.h"
#include "platform/handles.h"
#include "platform/reg_key.h"
#include "platform/wide.h"
#include "setup/win/running_program.h"

namespace orvane::setup {

namespace {

const wchar_t* W(const std::u16string& s) {
    return WidePtr(s.c_str());
}

std::wstring SpecialFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE)) return {};
    return path;
}

const wchar_t* PayloadTypeName(PayloadType type) {
    switch (type) {
        case PayloadType::App:
            return L"APP";
        case PayloadType::ResDoc:
            return L"RESDOC";
        case PayloadType::Uninstall:
            return L"UNINSTALL";
    }
    return L"";
}

// Opens an existing key for reading and deleting values; no creation.
struct OpenKey {
    HKEY key = nullptr;
    OpenKey(HKEY parent, const wchar_t* path) {
        if (RegOpenKeyExW(parent, path, 0, KEY_READ | KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
            key = nullptr;
        }
    }
    ~OpenKey() {
        if (key) RegCloseKey(key);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
};

bool SetString(const RegKey& key, const wchar_t* name, const std::u16string& value) {
    return key.Set(name, REG_SZ, value.c_str(),
                   static_cast<DWORD>((value.size() + 1) * sizeof(char16_t)));
}

}  // namespace

bool InstallationRegistered() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

void WinSetupPlatform::Beep(uint32_t hz, uint32_t ms) {
    ::Beep(hz, ms);
}

bool WinSetupPlatform::ProgramRunning() {
    return OrvaneRunning();
}

bool WinSetupPlatform::IsFolder(const std::u16string& path) {
    return PathIsDirectoryW(W(path)) != FALSE;
}

void WinSetupPlatform::CreateFolder(const std::u16string& path) {
    CreateDirectoryW(W(path), nullptr);
}

void WinSetupPlatform::RemoveFolder(const std::u16string& path) {
    RemoveDirectoryW(W(path));
}

bool WinSetupPlatform::RemoveFile(const std::u16string& path) {
    if (::DeleteFileW(W(path))) return true;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

WriteResult WinSetupPlatform::WritePayload(const Payload& payload, const std::u16string& path) {
    HMODULE self = GetModuleHandleW(nullptr);
    HRSRC found =
        FindResourceW(self, MAKEINTRESOURCEW(payload.number), PayloadTypeName(payload.type));
    HGLOBAL loaded = found ? LoadResource(self, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return WriteResult::NoResource;
    const DWORD size = SizeofResource(self, found);
    UniqueHandle file(CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        file.Release();
        return WriteResult::CannotOpen;
    }
    DWORD written = 0;
    const bool wrote = WriteFile(file.Get(), bytes, size, &written, nullptr) && written == size;
    const bool closed = CloseHandle(file.Release()) != FALSE;
    if (wrote && closed) return WriteResult::Written;
    // A file cut short (a full disk) is no program and no manual: it goes again.
    ::DeleteFileW(W(path));
    return WriteResult::ShortWrite;
}

void WinSetupPlatform::UpdateShortcuts(const std::u16string& programPath, bool create) {
    setup::UpdateShortcuts(ToWide(programPath), create);
}

bool WinSetupPlatform::SetSettingsString(const char16_t* name, const std::u16string& value) {
    RegKey key;
    return key.Create(HKEY_CURRENT_USER, kSettingsKey) && SetString(key, WidePtr(name), value);
}

bool WinSetupPlatform::SetSettingsDword(const char16_t* name, uint32_t value) {
    RegKey key;
    return key.Create(HKEY_CURRENT_USER, kSettingsKey) && key.SetDword(WidePtr(name), value);
}

void WinSetupPlatform::DeleteSettingsKey() {
    SHDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
}

bool WinSetupPlatform::WriteUninstallEntry(const std::array<NamedString, 4>& values) {
    RegKey key;
    if (!key.Create(HKEY_CURRENT_USER, kUninstallKey)) return false;
    for (const NamedString& v : values) SetString(key, WidePtr(v.name), v.value);
    return true;
}

bool WinSetupPlatform::ReadUninstallString(uint32_t& type, std::string& bytes) {
    OpenKey key(HKEY_CURRENT_USER, kUninstallKey);
    if (!key.key) return false;
    bytes.assign(kMaxUninstallStringBytes, '\0');
    DWORD size = static_cast<DWORD>(bytes.size());
    DWORD valueType = 0;
    if (RegQueryValueExW(key.key, L"UninstallString", nullptr, &valueType,
                         reinterpret_cast<BYTE*>(bytes.data()), &size) != ERROR_SUCCESS) {
        return false;
    }
    bytes.resize(size);
    type = valueType;
    return true;
}

void WinSetupPlatform::DeleteUninstallEntry() {
    {
        OpenKey key(HKEY_CURRENT_USER, kUninstallKey);
        if (key.key) {
            for (const wchar_t* name :
                 {L"DisplayName", L"UninstallString", L"DisplayIcon", L"DisplayVersion"}) {
                RegDeleteValueW(key.key, name);
            }
        }
    }
    RegDeleteKeyW(HKEY_CURRENT_USER, kUninstallKey);
}

void UpdateShortcuts(const std::wstring& programPath, bool create) {
    const std::wstring folder = ToWide(FolderOf(FromWide(programPath)));
    const std::wstring desktop = SpecialFolder(CSIDL_DESKTOP);
    const std::wstring programs = SpecialFolder(CSIDL_COMMON_PROGRAMS);
    const std::wstring group = programs + L"\\Orvane";
    if (!create) {
        if (!desktop.empty()) ::DeleteFileW((desktop + L"\\Orvane.lnk").c_str());
        if (!programs.empty()) {
            ::DeleteFileW((group + L"\\Orvane.lnk").c_str());
            ::DeleteFileW((group + L"\\OrvaneUninstall.lnk").c_str());
            RemoveDirectoryW(group.c_str());
        }
        return;
    }
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.PutVoid()))) {
        return;
    }
    ComPtr<IPersistFile> file = link.As<IPersistFile>(IID_IPersistFile);
    if (!file) return;
    link->SetWorkingDirectory(folder.c_str());
    if (FAILED(link->SetPath(programPath.c_str()))) return;
    if (!desktop.empty()) file->Save((desktop + L"\\Orvane.lnk").c_str(), TRUE);
    if (programs.empty()) return;
    CreateDirectoryW(group.c_str(), nullptr);
    file->Save((group + L"\\Orvane.lnk").c_str(), TRUE);
    if (SUCCEEDED(link->SetPath((folder + L"\\OrvaneUninstall.exe").c_str()))) {
        file->Save((group + L"\\OrvaneUninstall.lnk").c_str(), TRUE);
    }
}

}  // namespace orvane::setup
