#include "app/rules/help_rules.h"

#include <cmath>
#include <cstdlib>

namespace orvane {

std::u16string ManualPath(std::u16string_view installFolder, bool folderExists,
                          std::u16string_view manualName) {
    std::u16string path;
    if (folderExists && !installFolder.empty()) {
        path = installFolder;
        if (path.back() != u'\\' && path.back() != u'/') path += u'\\';
    }
    path += manualName;
    return path;
}

std::u16string BrowserCommand(std::u16string_view commandLine, std::u16string_view address) {
    size_t cut = commandLine.find(u"\"%1\"");
    if (cut == std::u16string_view::npos) cut = commandLine.find(u"%1");
    std::u16string line(commandLine.substr(0, cut));
    line += u' ';
    line += address;
    return line;
}

std::optional<double> MagnificationFromText(std::string_view text) {
    const std::string bounded(text.substr(0, 260));
    const double value = std::strtod(bounded.c_str(), nullptr);
    if (!(value > 0) || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace orvane
