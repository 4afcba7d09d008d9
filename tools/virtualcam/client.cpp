#include "tools/virtualcam/client.h"

#include "platform/handles.h"
#include "tools/virtualcam/models.h"

namespace vcam {

namespace {

bool WriteDword(HKEY key, const wchar_t* name, DWORD value) {
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof(value)) == ERROR_SUCCESS;
}

HKEY OpenConfig() {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kConfigKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    return key;
}

}  // namespace

std::wstring DllBesideProgram() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"OrvaneVirtualCam.dll";
}

HRESULT CallDllEntry(const char* entry) {
    const orvane::UniqueLibrary dll(LoadLibraryW(DllBesideProgram().c_str()));
    if (!dll) return HRESULT_FROM_WIN32(GetLastError());
    using Entry = HRESULT(STDAPICALLTYPE*)();
    const auto call =
        reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(dll.Get(), entry)));
    return call ? call() : E_FAIL;
}

bool WriteConfig(const std::vector<std::wstring>& pids, DWORD failOpen, DWORD failRender,
                 DWORD lost) {
    HKEY key = OpenConfig();
    if (!key) return false;
    std::wstring multi;
    for (const std::wstring& pid : pids) multi += pid + L'\0';
    multi += L'\0';
    bool ok = RegSetValueExW(key, L"Devices", 0, REG_MULTI_SZ,
                             reinterpret_cast<const BYTE*>(multi.data()),
                             static_cast<DWORD>(multi.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
    ok = WriteDword(key, L"FailOpen", failOpen) && ok;
    ok = WriteDword(key, L"FailRender", failRender) && ok;
    ok = WriteDword(key, L"Lost", lost) && ok;
    RegCloseKey(key);
    return ok;
}

bool WriteLost(DWORD mask) {
    HKEY key = OpenConfig();
    if (!key) return false;
    const bool ok = WriteDword(key, L"Lost", mask);
    RegCloseKey(key);
    return ok;
}

bool WriteStillSceneTime(DWORD milliseconds) {
    HKEY key = OpenConfig();
    if (!key) return false;
    const bool ok = WriteDword(key, L"StillSceneTime", milliseconds);
    RegCloseKey(key);
    return ok;
}

bool WriteFocusSweep(DWORD milliseconds) {
    HKEY key = OpenConfig();
    if (!key) return false;
    const bool ok = WriteDword(key, L"FocusSweepMs", milliseconds);
    RegCloseKey(key);
    return ok;
}

void DeleteConfig() {
    RegDeleteKeyW(HKEY_CURRENT_USER, kConfigKey);
}

}  // namespace vcam
