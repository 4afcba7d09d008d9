#include "setup/logic/self_delete_command.h"

#include "setup/logic/install_steps.h"

namespace orvane::setup {

std::optional<SelfDeleteCommand> MakeSelfDeleteCommand(std::u16string_view systemFolder,
                                                       std::u16string_view uninstallerPath) {
    std::u16string system(systemFolder);
    while (system.size() > 3 && system.back() == u'\\') system.pop_back();
    const std::u16string application = WithTrailingSlash(system) + u"cmd.exe";
    const std::u16string file = FolderOf(uninstallerPath) + u"\\" + kUninstallerFile;
    if (!IsAbsolutePath(system) || !FitsPath(application)) return std::nullopt;
    if (!IsAbsolutePath(file) || !FitsPath(file)) return std::nullopt;
    // /d: no AutoRun commands of the registry run with the uninstaller's rights.
    std::u16string command = u"\"" + application + u"\" /d /c del \"%";
    command += kSelfDeleteVariable;
    command += u"%\"";
    return SelfDeleteCommand{application, command, system, file};
}

}  // namespace orvane::setup
