#pragma once
// The install and removal steps of the setup program and the uninstaller, over a small
// platform interface: payload files, shortcuts, the settings key and the uninstall entry.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::setup {

// Longest file path the programs build, terminator included.
constexpr std::size_t kMaxPathUnits = 260;
constexpr uint32_t kLanguageEnglish = 503;
constexpr uint32_t kInstallBeepHz = 500;
constexpr uint32_t kRemovalBeepHz = 400;
constexpr uint32_t kBeepMs = 100;

inline constexpr char16_t kProgramFile[] = u"Orvane.exe";
inline constexpr char16_t kUninstallerFile[] = u"OrvaneUninstall.exe";
inline constexpr char16_t kDisplayName[] = u"Orvane";
inline constexpr char16_t kDisplayVersion[] = u"1.2.1.2";

enum class PayloadType { App, ResDoc, Uninstall };

struct Payload {
    const char16_t* file;
    PayloadType type;
    uint16_t number;
    // Progress reported once the file is written (the main program reports 20, 30 and 40
    // around its shortcuts).
    int progress;
};

// The files written into the installation folder, in install order.
inline constexpr std::array<Payload, 11> kPayloads{{
    {kProgramFile, PayloadType::App, 142, 40},
    {u"Manual_English.pdf", PayloadType::ResDoc, 156, 50},
    {u"Manual_French.pdf", PayloadType::ResDoc, 163, 60},
    {u"Manual_German.pdf", PayloadType::ResDoc, 164, 60},
    {u"Manual_Russian.pdf", PayloadType::ResDoc, 167, 60},
    {u"Manual_Portugese.pdf", PayloadType::ResDoc, 166, 60},
    {u"Manual_Spanish.pdf", PayloadType::ResDoc, 168, 60},
    {u"Manual_Italian.pdf", PayloadType::ResDoc, 165, 60},
    {u"Manual_Dutch.pdf", PayloadType::ResDoc, 162, 60},
    {u"Manual_Vietnamese.pdf", PayloadType::ResDoc, 169, 60},
    {kUninstallerFile, PayloadType::Uninstall, 145, 80},
}};

// The order in which removal deletes the files, with the progress after each.
struct RemovalStep {
    const char16_t* file;
    int progress;
};
inline constexpr std::array<RemovalStep, 11> kRemovalSteps{{
    {kProgramFile, 20},  // then the shortcuts, 40
    {u"Manual_English.pdf", 50},
    {u"Manual_French.pdf", 60},
    {u"Manual_German.pdf", 60},
    {u"Manual_Russian.pdf", 60},
    {u"Manual_Portugese.pdf", 60},
    {u"Manual_Spanish.pdf", 60},
    {u"Manual_Italian.pdf", 60},
    {u"Manual_Dutch.pdf", 60},
    {u"Manual_Vietnamese.pdf", 70},
    {kUninstallerFile, 80},
}};

// Path text helpers (backslash-separated).
std::u16string WithTrailingSlash(std::u16string_view path);
// The path up to, not including, its last backslash; the whole text when it has none.
std::u16string FolderOf(std::u16string_view path);
// True when a path of this length fits the programs' path buffers with its terminator.
bool FitsPath(std::u16string_view path);
// "X:\..." or "\\server\...".
bool IsAbsolutePath(std::u16string_view path);
// The first payload path in this folder (with its trailing backslash) that does not fit the
// path buffers, in install order; nothing when all fit.
std::optional<std::u16string> FirstPathTooLong(std::u16string_view folder);

// The folder an installation lives in, from the raw bytes of the uninstall entry's
// UninstallString (REG_SZ, at most 520 bytes): nothing when the value is missing, of another
// type, empty, relative or without a folder, so that removal touches no folder at all then.
constexpr uint32_t kRegSz = 1;
constexpr std::size_t kMaxUninstallStringBytes = 520;
std::optional<std::u16string> InstalledFolder(bool read, uint32_t type, std::string_view bytes);

struct NamedString {
    const char16_t* name;
    std::u16string value;
};
// The four values of the uninstall entry for the uninstaller at this path.
std::array<NamedString, 4> UninstallEntryValues(std::u16string_view uninstallerPath);

// How writing one payload file ended. A file written only in part is deleted again.
enum class WriteResult { Written, NoResource, CannotOpen, ShortWrite };

// What the sequences need from the platform. Every operation is synchronous.
class SetupPlatform {
  public:
    virtual ~SetupPlatform() = default;
    virtual void Report(int progress) = 0;
    virtual void Beep(uint32_t hz, uint32_t ms) = 0;
    // True while the main program runs (its single-instance mutex exists).
    virtual bool ProgramRunning() = 0;
    virtual bool IsFolder(const std::u16string& path) = 0;
    virtual void CreateFolder(const std::u16string& path) = 0;  // one level
    virtual void RemoveFolder(const std::u16string& path) = 0;  // only when empty
    // True when the file is gone afterwards (deleted, or it was not there).
    virtual bool RemoveFile(const std::u16string& path) = 0;
    // Writes the payload's resource byte for byte.
    virtual WriteResult WritePayload(const Payload& payload, const std::u16string& path) = 0;
    virtual void UpdateShortcuts(const std::u16string& programPath, bool create) = 0;
    // Settings key: opened or created; false when it cannot be.
    virtual bool SetSettingsString(const char16_t* name, const std::u16string& value) = 0;
    virtual bool SetSettingsDword(const char16_t* name, uint32_t value) = 0;
    virtual void DeleteSettingsKey() = 0;
    // Uninstall entry: created with its values; false when the key cannot be created.
    virtual bool WriteUninstallEntry(const std::array<NamedString, 4>& values) = 0;
    // The UninstallString value: false when the key or the value cannot be read.
    virtual bool ReadUninstallString(uint32_t& type, std::string& bytes) = 0;
    // Deletes the entry's four values, then the key.
    virtual void DeleteUninstallEntry() = 0;
};

// The part of the wizard's state the sequences read and change.
struct SequenceState {
    std::u16string installPath;
    bool previousInstall = false;
};

// Why a sequence did not do all it was asked to.
enum class Failure {
    None,
    ProgramRunning,  // nothing was touched
    PathTooLong,     // nothing was touched
    NoResource,      // the install stopped at this file
    CannotOpen,      // the install stopped at this file
    ShortWrite,      // the install stopped at this file
    CannotRemove,    // the removal stopped at the main program: nothing was removed
};

struct SequenceResult {
    Failure failure = Failure::None;
    std::u16string file;  // the file the failure names
    // The install wrote some files before it stopped and registered them, so that running
    // the setup again (or the uninstaller) removes them.
    bool partial = false;
    bool Ok() const { return failure == Failure::None; }
};

void WriteUninstallEntry(SetupPlatform& platform, const std::u16string& uninstallerPath);
SequenceResult InstallSequence(SetupPlatform& platform, SequenceState& state);
SequenceResult RemovalSequence(SetupPlatform& platform, SequenceState& state);

}  // namespace orvane::setup
