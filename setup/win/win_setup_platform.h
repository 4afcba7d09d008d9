#pragma once
// The install and removal steps on the platform: payload resources of this program file,
// files and folders, shell links, the settings key and the uninstall entry.
#include <windows.h>

#include <functional>

#include "setup/logic/install_steps.h"

namespace orvane::setup {

inline constexpr wchar_t kSettingsKey[] = L"Software\\Orvane";
inline constexpr wchar_t kUninstallKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvane";

// True when the uninstall entry of an installation exists.
bool InstallationRegistered();

class WinSetupPlatform : public SetupPlatform {
  public:
    // report receives each progress value on the calling (worker) thread.
    explicit WinSetupPlatform(std::function<void(int)> report) : report_(std::move(report)) {}

    void Report(int progress) override { report_(progress); }
    void Beep(uint32_t hz, uint32_t ms) override;
    bool ProgramRunning() override;
    bool IsFolder(const std::u16string& path) override;
    void CreateFolder(const std::u16string& path) override;
    void RemoveFolder(const std::u16string& path) override;
    bool RemoveFile(const std::u16string& path) override;
    WriteResult WritePayload(const Payload& payload, const std::u16string& path) override;
    void UpdateShortcuts(const std::u16string& programPath, bool create) override;
    bool SetSettingsString(const char16_t* name, const std::u16string& value) override;
    bool SetSettingsDword(const char16_t* name, uint32_t value) override;
    void DeleteSettingsKey() override;
    bool WriteUninstallEntry(const std::array<NamedString, 4>& values) override;
    bool ReadUninstallString(uint32_t& type, std::string& bytes) override;
    void DeleteUninstallEntry() override;

  private:
    std::function<void(int)> report_;
};

// Creates (create true) or removes the desktop link and the program group's two links for
// the main program at this path. Needs COM on the calling thread.
void UpdateShortcuts(const std::wstring& programPath, bool create);

}  // namespace orvane::setup
