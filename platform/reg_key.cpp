#include "platform/reg_key.h"

namespace orvane {

namespace {
// Nothing the program stores comes near this; larger values are treated as damaged.
constexpr DWORD kMaxValueBytes = 64 * 1024;
}  // namespace

bool RegKey::Create(HKEY parent, const wchar_t* path) {
    Close();
    HKEY key = nullptr;
    if (RegCreateKeyW(parent, path, &key) != ERROR_SUCCESS) return false;
    key_ = key;
    return true;
}

void RegKey::Close() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
}

bool RegKey::Query(const wchar_t* name, DWORD& type, std::string& bytes) const {
    if (!key_) return false;
    DWORD size = 0;
    if (RegQueryValueExW(key_, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    if (size > kMaxValueBytes) return false;
    bytes.assign(size, '\0');
    if (RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()),
                         &size) != ERROR_SUCCESS) {
        return false;
    }
    bytes.resize(size);
    return true;
}

bool RegKey::Set(const wchar_t* name, DWORD type, const void* data, DWORD size) const {
    return key_ && RegSetValueExW(key_, name, 0, type, static_cast<const BYTE*>(data), size) ==
                       ERROR_SUCCESS;
}

bool RegKey::SetDword(const wchar_t* name, DWORD value) const {
    return Set(name, REG_DWORD, &value, sizeof value);
}

void RegKey::Flush() const {
    if (key_) RegFlushKey(key_);
}

}  // namespace orvane
