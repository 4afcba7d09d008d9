#include "app/rules/settings.h"

#include "media/capture_folders.h"

#include <cmath>

#include "capture/size_codes.h"

namespace orvane {

namespace {

constexpr uint32_t kStampItemsMask = 0xFF;

bool ReadDword(SettingsKey* key, std::u16string_view name, uint32_t& value) {
    if (key == nullptr) return false;
    ValueType type{};
    std::string bytes;
    if (!key->Query(name, type, bytes) || type != ValueType::Dword || bytes.size() != 4)
        return false;
    value = static_cast<uint8_t>(bytes[0]) | static_cast<uint8_t>(bytes[1]) << 8 |
            static_cast<uint8_t>(bytes[2]) << 16 |
            static_cast<uint32_t>(static_cast<uint8_t>(bytes[3])) << 24;
    return true;
}

// Reads a string into a zero-filled buffer of N units. The stored text must fit with its
// terminator; every 260-unit slot of the buffer must end in a NUL.
template <size_t N>
bool ReadUnits(SettingsKey* key, std::u16string_view name, std::array<char16_t, N>& buffer) {
    if (key == nullptr) return false;
    ValueType type{};
    std::string bytes;
    if (!key->Query(name, type, bytes) || type != ValueType::String || bytes.size() > N * 2) {
        return false;
    }
    std::array<char16_t, N> read{};
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        read[i / 2] = static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) |
                                            static_cast<uint8_t>(bytes[i + 1]) << 8);
    }
    for (size_t slot = 0; slot < N; slot += kPathUnits) {
        bool terminated = false;
        for (size_t i = slot; i < slot + kPathUnits && i < N; ++i) {
            if (read[i] == u'\0') {
                terminated = true;
                break;
            }
        }
        if (!terminated) return false;
    }
    buffer = read;
    return true;
}

void ReadFont(SettingsKey* key, LogFontRecord& font) {
    if (key == nullptr) return;
    ValueType type{};
    std::string bytes;
    if (!key->Query(u"PhotoSavedInfoFont", type, bytes) || type != ValueType::Binary) return;
    font.FromBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

bool ReadDouble(SettingsKey* key, double& value) {
    if (key == nullptr) return false;
    ValueType type{};
    std::string bytes;
    if (!key->Query(u"InputMaginification", type, bytes) || type != ValueType::Binary ||
        bytes.size() != kMagnificationBytes) {
        return false;
    }
    const double read = DoubleFromBytes(reinterpret_cast<const uint8_t*>(bytes.data()));
    // A damaged value (NaN, infinity) means no magnification rather than a garbage display.
    value = std::isfinite(read) ? read : 0.0;
    return true;
}

// Decides one data folder and its hidden side folder; false on a creation failure.
bool PrepareFolder(SettingsKey* key, FolderOps& folders, std::u16string_view valueName,
                   std::u16string_view defaultSubPath, std::u16string_view sideName,
                   CaptureKind kind, PathBuffer& folder, std::u16string& sidePath) {
    SetPathText(folder, AppendPath(folders.DocumentsFolder(), defaultSubPath));
    PathBuffer stored{};
    // An empty stored path names no folder; a relative one names a different folder wherever
    // the program starts, and one too long for its captures' companions would make every
    // capture fail: the default stands for them. Nothing in the stored folder is touched.
    if (ReadUnits(key, valueName, stored) && !PathText(stored).empty()) {
        const std::u16string normalised = NormalisedFolder(PathText(stored));
        if (FolderHoldsCaptures(kind, normalised)) SetPathText(folder, normalised);
    }
    const std::u16string path(PathText(folder));
    if (path.empty()) return false;
    if (!folders.IsDirectory(path) && !folders.CreateDirectories(path)) return false;
    sidePath = path;
    if (sidePath.back() != u'\\') sidePath += u'\\';
    sidePath += sideName;
    if (!folders.IsDirectory(sidePath) && !folders.CreateDirectories(sidePath)) return false;
    folders.SetHidden(sidePath);
    return true;
}

void SetDword(SettingsKey& key, std::u16string_view name, uint32_t value) {
    WriteDwordValue(key, name, value);
}

template <size_t N>
void SetUnits(SettingsKey& key, std::u16string_view name, const std::array<char16_t, N>& units) {
    const auto bytes = UnitsToBytes(units);
    key.Set(name, ValueType::String, bytes.data(), bytes.size());
}

}  // namespace

std::u16string AppendPath(std::u16string_view folder, std::u16string_view more) {
    std::u16string path(folder);
    if (!path.empty() && path.back() != u'\\' && !more.empty() && more.front() != u'\\')
        path += u'\\';
    path += more;
    if (path.size() >= kPathUnits) return {};
    return path;
}

bool ReadDwordValue(SettingsKey& key, std::u16string_view name, uint32_t& value) {
    return ReadDword(&key, name, value);
}

bool ReadMagnification(SettingsKey& key, double& value) {
    return ReadDouble(&key, value);
}

LoadResult LoadSettings(SettingsKey* key, FolderOps& folders, Settings& s) {
    s = Settings{};
    if (key == nullptr) {
        s.ResolutionSavePhoto = 0x05000400;
        s.bShowCross = 1;
    }
    LoadResult result;

    ReadDword(key, u"CurrentUI", s.CurrentUI);
    ReadDword(key, u"CurrentReselution", s.CurrentReselution);
    ReadDword(key, u"CaptureAudio", s.CaptureAudio);

    std::u16string pictureSide;
    if (!PrepareFolder(key, folders, u"PictureFolderPath", u"Orvane\\pictures", u"Info",
                       CaptureKind::Picture, s.PictureFolderPath, pictureSide)) {
        return {false, 52, std::u16string(PathText(s.PictureFolderPath))};
    }
    ReadUnits(key, u"PictureHistoryFolderPath", s.PictureHistoryFolderPath);

    if (!PrepareFolder(key, folders, u"VideoFolderPath", u"Orvane\\videos", u"thumb",
                       CaptureKind::Video, s.VideoFolderPath, s.VideoThumbFolderPath)) {
        return {false, 53, std::u16string(PathText(s.VideoFolderPath))};
    }
    ReadUnits(key, u"VideoHistoryFolderPath", s.VideoHistoryFolderPath);

    ReadDword(key, u"ResolutionSavePhoto", s.ResolutionSavePhoto);
    ReadDword(key, u"PhotoSavedInfo", s.PhotoSavedInfo);
    s.PhotoSavedInfo &= kStampItemsMask;
    ReadDword(key, u"PhotoSavedInfoFontColor", s.PhotoSavedInfoFontColor);
    ReadFont(key, s.PhotoSavedInfoFont);

    ReadDouble(key, s.InputMaginification);
    ReadDword(key, u"bSetMagnification", s.bSetMagnification);
    ReadDword(key, u"bDisplayDateTime", s.bDisplayDateTime);
    ReadDword(key, u"bDisplayRealTimeMagnification", s.bDisplayRealTimeMagnification);

    ReadDword(key, u"Language", s.Language);
    if (s.Language < kLanguageFirst || s.Language > kLanguageLast) s.Language = kLanguageEnglish;

    ReadDword(key, u"bShowCross", s.bShowCross);
    s.bSoundEffectEnable = 0;

    ReadDword(key, u"ResolutionDisplay", s.ResolutionDisplay);
    if (!IsValidStoredResolution(s.ResolutionDisplay))
        s.ResolutionDisplay = kDefaultResolutionDisplay;

    ReadDword(key, u"VideoCompression", s.VideoCompression);
    return result;
}

void SaveSettings(const Settings& s, SettingsKey& key) {
    SetDword(key, u"CurrentUI", s.CurrentUI);
    SetDword(key, u"CurrentReselution", s.CurrentReselution);
    SetUnits(key, u"PictureFolderPath", s.PictureFolderPath);
    SetUnits(key, u"PictureHistoryFolderPath", s.PictureHistoryFolderPath);
    SetUnits(key, u"VideoFolderPath", s.VideoFolderPath);
    SetUnits(key, u"VideoHistoryFolderPath", s.VideoHistoryFolderPath);
    SetDword(key, u"CaptureAudio", s.CaptureAudio);
    SetDword(key, u"ResolutionSavePhoto", s.ResolutionSavePhoto);
    SetDword(key, u"PhotoSavedInfo", s.PhotoSavedInfo);
    SetDword(key, u"PhotoSavedInfoFontColor", s.PhotoSavedInfoFontColor);
    const auto font = s.PhotoSavedInfoFont.ToBytes();
    key.Set(u"PhotoSavedInfoFont", ValueType::Binary, font.data(), font.size());
    const auto magnification = DoubleToBytes(s.InputMaginification);
    key.Set(u"InputMaginification", ValueType::Binary, magnification.data(), magnification.size());
    SetDword(key, u"Language", s.Language);
    SetDword(key, u"bSetMagnification", s.bSetMagnification);
    SetDword(key, u"bDisplayDateTime", s.bDisplayDateTime);
    SetDword(key, u"bDisplayRealTimeMagnification", s.bDisplayRealTimeMagnification);
    SetDword(key, u"bShowCross", s.bShowCross);
    SetDword(key, u"bSoundEffectEnable", s.bSoundEffectEnable);
    SetDword(key, u"ResolutionDisplay", s.ResolutionDisplay);
    SetDword(key, u"VideoCompression", s.VideoCompression);
    key.Flush();
}

}  // namespace orvane

namespace orvane {

bool WriteDwordValue(SettingsKey& key, std::u16string_view name, uint32_t value) {
    const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                              static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    return key.Set(name, ValueType::Dword, bytes, sizeof bytes);
}

}  // namespace orvane
