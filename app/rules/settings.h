#pragma once
// The program's settings: their values, defaults, stored byte layouts, load rules and save order.
// The key itself is reached through SettingsKey; folders through FolderOps.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/rules/settings_records.h"

namespace orvane {

constexpr uint32_t kLanguageFirst = 501;
constexpr uint32_t kLanguageLast = 513;
constexpr uint32_t kLanguageEnglish = 503;

struct Settings {
    uint32_t CurrentUI = 0;
    uint32_t CurrentReselution = 0x050003C0;
    uint32_t CaptureAudio = 0;
    PathBuffer PictureFolderPath{};
    HistoryBuffer PictureHistoryFolderPath{};
    PathBuffer VideoFolderPath{};
    HistoryBuffer VideoHistoryFolderPath{};
    uint32_t ResolutionSavePhoto = 0x050003C0;
    uint32_t PhotoSavedInfo = 0;
    uint32_t PhotoSavedInfoFontColor = 0;
    LogFontRecord PhotoSavedInfoFont = DefaultStampFont();
    double InputMaginification = 0.0;
    uint32_t Language = kLanguageEnglish;
    uint32_t bSetMagnification = 0;
    uint32_t bDisplayDateTime = 0;
    uint32_t bDisplayRealTimeMagnification = 1;
    uint32_t bShowCross = 0;
    uint32_t bSoundEffectEnable = 0;
    uint32_t ResolutionDisplay = 0x050003C0;
    uint32_t VideoCompression = 0;

    // Derived, not stored: the video folder's hidden "thumb" side folder.
    std::u16string VideoThumbFolderPath;
};

// Registry value types, numbered as the platform numbers them.
enum class ValueType : uint32_t { String = 1, Binary = 3, Dword = 4 };

// One opened settings key. Query reads the whole stored value; it fails for a missing value.
class SettingsKey {
  public:
    virtual ~SettingsKey() = default;
    virtual bool Query(std::u16string_view name, ValueType& type, std::string& bytes) = 0;
    virtual bool Set(std::u16string_view name, ValueType type, const void* data, size_t size) = 0;
    virtual void Flush() = 0;
};

// Folder services the load needs.
class FolderOps {
  public:
    virtual ~FolderOps() = default;
    virtual std::u16string DocumentsFolder() = 0;
    virtual bool IsDirectory(const std::u16string& path) = 0;
    virtual bool CreateDirectories(const std::u16string& path) = 0;
    virtual bool SetHidden(const std::u16string& path) = 0;
};

struct LoadResult {
    bool ok = true;
    int failedMessage = 0;      // 52 picture folder, 53 video folder
    std::u16string failedPath;  // the main folder the failure concerns
};

// Loads every value (key may be null when it cannot be opened) and prepares the data folders,
// in the fixed order. Stops at a folder failure and reports it.
LoadResult LoadSettings(SettingsKey* key, FolderOps& folders, Settings& settings);

// Writes the 20 stored values in their fixed order, then flushes.
void SaveSettings(const Settings& settings, SettingsKey& key);

// Single values written at once by other operations.
bool ReadDwordValue(SettingsKey& key, std::u16string_view name, uint32_t& value);
bool ReadMagnification(SettingsKey& key, double& value);
bool WriteDwordValue(SettingsKey& key, std::u16string_view name, uint32_t value);

// Joins a folder and a sub-path with one backslash; empty when the result would not fit a path.
std::u16string AppendPath(std::u16string_view folder, std::u16string_view more);

}  // namespace orvane
