#pragma once
// The hidden command interpreter that deletes the uninstaller's file once the uninstaller has
// exited. The uninstaller runs with administrator rights, so the interpreter is the system
// folder's, named by its full path and started in the system folder: no cmd.exe (or library)
// beside the uninstaller or in a current folder runs with those rights. The file's path
// reaches the interpreter through an environment variable, expanded once, so that "%" in a
// folder name cannot turn into another path.
#include <optional>
#include <string>
#include <string_view>

namespace orvane::setup {

inline constexpr char16_t kSelfDeleteVariable[] = u"ORVANE_UNINSTALLER_FILE";

struct SelfDeleteCommand {
    std::u16string application;    // the interpreter's full path
    std::u16string commandLine;    // its command line, the quoted path first
    std::u16string currentFolder;  // the system folder
    std::u16string file;           // the value of kSelfDeleteVariable: the file to delete
};

// For the uninstaller running from this path: its folder's "OrvaneUninstall.exe". Nothing when
// the system folder or the uninstaller's folder is not an absolute path that fits the path
// buffers.
std::optional<SelfDeleteCommand> MakeSelfDeleteCommand(std::u16string_view systemFolder,
                                                       std::u16string_view uninstallerPath);

}  // namespace orvane::setup
