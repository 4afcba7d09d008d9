#include "setup/logic/install_steps.h"

namespace orvane::setup {

std::u16string WithTrailingSlash(std::u16string_view path) {
    std::u16string out(path);
    if (out.empty() || out.back() != u'\\') out.push_back(u'\\');
    return out;
}

std::u16string FolderOf(std::u16string_view path) {
    const auto slash = path.rfind(u'\\');
    return std::u16string(slash == std::u16string_view::npos ? path : path.substr(0, slash));
}

bool FitsPath(std::u16string_view path) {
    return path.size() < kMaxPathUnits;
}

std::optional<std::u16string> FirstPathTooLong(std::u16string_view folder) {
    for (const Payload& payload : kPayloads) {
        std::u16string path(folder);
        path += payload.file;
        if (!FitsPath(path)) return path;
    }
    return std::nullopt;
}

bool IsAbsolutePath(std::u16string_view path) {
    if (path.size() >= 3 && path[1] == u':' && path[2] == u'\\') {
        const char16_t d = path[0];
        return (d >= u'A' && d <= u'Z') || (d >= u'a' && d <= u'z');
    }
    return path.size() > 2 && path[0] == u'\\' && path[1] == u'\\' && path[2] != u'\\';
}

std::optional<std::u16string> InstalledFolder(bool read, uint32_t type, std::string_view bytes) {
    if (!read || type != kRegSz || bytes.size() > kMaxUninstallStringBytes) return std::nullopt;
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto unit = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                static_cast<unsigned char>(bytes[i + 1]) << 8);
        if (unit == 0) break;
        text.push_back(unit);
    }
    const auto slash = text.rfind(u'\\');
    if (slash == std::u16string::npos || slash + 1 == text.size()) return std::nullopt;
    std::u16string folder = text.substr(0, slash);
    // A drive root keeps its backslash: "C:" alone would mean the drive's current folder.
    if (folder.size() == 2 && folder[1] == u':') folder.push_back(u'\\');
    if (!IsAbsolutePath(folder)) return std::nullopt;
    return folder;
}

std::array<NamedString, 4> UninstallEntryValues(std::u16string_view uninstallerPath) {
    const std::u16string path(uninstallerPath);
    return {{{u"DisplayName", kDisplayName},
             {u"UninstallString", path},
             {u"DisplayIcon", path},
             {u"DisplayVersion", kDisplayVersion}}};
}

void WriteUninstallEntry(SetupPlatform& platform, const std::u16string& uninstallerPath) {
    const std::u16string folder = FolderOf(uninstallerPath);
    platform.SetSettingsString(u"InstallPath", platform.IsFolder(folder) ? folder : u"");
    platform.WriteUninstallEntry(UninstallEntryValues(uninstallerPath));
}

namespace {

Failure FailureOf(WriteResult result) {
    switch (result) {
        case WriteResult::NoResource:
            return Failure::NoResource;
        case WriteResult::CannotOpen:
            return Failure::CannotOpen;
        case WriteResult::ShortWrite:
            return Failure::ShortWrite;
        case WriteResult::Written:
            break;
    }
    return Failure::None;
}

}  // namespace

SequenceResult InstallSequence(SetupPlatform& platform, SequenceState& state) {
    const std::u16string folder = WithTrailingSlash(state.installPath);
    // Checked before a repair removes anything, so that a refused install changes nothing.
    if (auto tooLong = FirstPathTooLong(folder)) return {Failure::PathTooLong, *tooLong};
    if (platform.ProgramRunning()) return {Failure::ProgramRunning, {}};
    if (state.previousInstall) {
        const std::u16string chosen = state.installPath;
        SequenceResult removal = RemovalSequence(platform, state);
        state.installPath = chosen;
        if (!removal.Ok()) return removal;
    }
    platform.Report(1);
    platform.CreateFolder(state.installPath);
    state.installPath = folder;
    SequenceResult result;
    bool wroteAny = false;
    for (const Payload& payload : kPayloads) {
        const std::u16string path = folder + payload.file;
        const WriteResult written = platform.WritePayload(payload, path);
        if (written != WriteResult::Written) {
            result = {FailureOf(written), path};
            break;
        }
        wroteAny = true;
        if (payload.type == PayloadType::App) {
            platform.UpdateShortcuts(path, true);
            platform.Report(20);
            platform.Report(30);
        }
        platform.Report(payload.progress);
        if (payload.type == PayloadType::Uninstall) WriteUninstallEntry(platform, path);
    }
    if (!result.Ok() && wroteAny) {
        // What was written stays removable: the uninstaller (when that was not the file that
        // failed) and the uninstall entry that the setup and the uninstaller remove by.
        const std::u16string uninstaller = folder + kUninstallerFile;
        if (result.file != uninstaller) platform.WritePayload(kPayloads.back(), uninstaller);
        WriteUninstallEntry(platform, uninstaller);
        result.partial = true;
    }
    platform.SetSettingsDword(u"Language", kLanguageEnglish);
    if (result.Ok()) platform.Report(100);
    platform.Beep(kInstallBeepHz, kBeepMs);
    return result;
}

SequenceResult RemovalSequence(SetupPlatform& platform, SequenceState& state) {
    if (platform.ProgramRunning()) return {Failure::ProgramRunning, {}};
    uint32_t type = 0;
    std::string bytes;
    const bool read = platform.ReadUninstallString(type, bytes);
    const std::optional<std::u16string> installed = InstalledFolder(read, type, bytes);
    if (installed) state.installPath = WithTrailingSlash(*installed);
    for (std::size_t i = 0; i < kRemovalSteps.size(); ++i) {
        const RemovalStep& step = kRemovalSteps[i];
        // Without a recorded folder no file, link or folder is touched.
        if (installed) {
            const std::u16string path = state.installPath + step.file;
            // The main program goes first: while it cannot be removed (in use), nothing else
            // is, and the installation stays whole and registered.
            if (FitsPath(path) && !platform.RemoveFile(path) && i == 0) {
                return {Failure::CannotRemove, path};
            }
        }
        platform.Report(step.progress);
        if (i == 0) {  // the main program: its shortcuts go with it
            if (installed) platform.UpdateShortcuts(state.installPath + kProgramFile, false);
            platform.Report(40);
        }
    }
    if (installed) platform.RemoveFolder(*installed);
    platform.DeleteUninstallEntry();
    platform.DeleteSettingsKey();
    platform.Report(100);
    platform.Beep(kRemovalBeepHz, kBeepMs);
    return {};
}

}  // namespace orvane::setup
