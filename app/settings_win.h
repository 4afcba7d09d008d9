#pragma once
// The settings key "Software\Orvane" of the current user, and the folder services of the load.
#include "app/rules/settings.h"
#include "platform/reg_key.h"

namespace orvane {

constexpr const wchar_t* kSettingsKeyPath = L"Software\\Orvane";

class RegistrySettingsKey : public SettingsKey {
  public:
    // Opens (creating) the key; Opened() tells whether that worked.
    RegistrySettingsKey();
    bool Opened() const { return static_cast<bool>(key_); }
    bool Query(std::u16string_view name, ValueType& type, std::string& bytes) override;
    bool Set(std::u16string_view name, ValueType type, const void* data, size_t size) override;
    void Flush() override { key_.Flush(); }

  private:
    RegKey key_;
};

class ShellFolders : public FolderOps {
  public:
    std::u16string DocumentsFolder() override;
    bool IsDirectory(const std::u16string& path) override;
    bool CreateDirectories(const std::u16string& path) override;
    bool SetHidden(const std::u16string& path) override;
};

}  // namespace orvane
