#pragma once
// Reads the settings key the way a test wants to see it: every value with its type and size.
#include <windows.h>

#include <map>
#include <string>

namespace orvane::test {

struct RawValue {
    DWORD type = 0;
    std::string bytes;
    DWORD Dword() const {
        DWORD v = 0;
        if (bytes.size() == 4) memcpy(&v, bytes.data(), 4);
        return v;
    }
};

inline std::map<std::wstring, RawValue> ReadOrvaneKey() {
    std::map<std::wstring, RawValue> values;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Orvane", 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return values;
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        DWORD type = 0;
        DWORD size = 0;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS)
            break;
        RawValue v{type, std::string(size, '\0')};
        nameLength = 256;
        RegEnumValueW(key, i, name, &nameLength, nullptr, &type,
                      reinterpret_cast<BYTE*>(v.bytes.data()), &size);
        values[name] = v;
    }
    RegCloseKey(key);
    return values;
}

inline void PutValue(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    RegCreateKeyW(HKEY_CURRENT_USER, L"Software\\Orvane", &key);
    RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

inline void PutDword(const wchar_t* name, DWORD value) {
    PutValue(name, REG_DWORD, &value, 4);
}

inline void PutString(const wchar_t* name, const std::wstring& text) {
    PutValue(name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

}  // namespace orvane::test
