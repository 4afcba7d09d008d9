#pragma once
// A registry key with one owner.
#include <windows.h>

#include <string>

namespace orvane {

class RegKey {
  public:
    RegKey() = default;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    ~RegKey() { Close(); }

    // Opens the key, creating it when it is missing.
    bool Create(HKEY parent, const wchar_t* path);
    void Close();
    HKEY Get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }

    // Reads a whole value of any size; false when it is missing or cannot be read.
    bool Query(const wchar_t* name, DWORD& type, std::string& bytes) const;
    bool Set(const wchar_t* name, DWORD type, const void* data, DWORD size) const;
    bool SetDword(const wchar_t* name, DWORD value) const;
    void Flush() const;

  private:
    HKEY key_ = nullptr;
};

}  // namespace orvane
