#pragma once
// Rules of the Help commands and the magnification field: the manual's path, the browser
// command line of the home page fallback, and the field's text taken over as a value.
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// The manual of a language in the install folder (a separator added when missing); the bare
// file name, relative to the current directory, when the folder is empty or does not exist.
std::u16string ManualPath(std::u16string_view installFolder, bool folderExists,
                          std::u16string_view manualName);

// The registered browser command line with the address in place of its "%1" placeholder
// (quoted or not); the line is cut at the placeholder, or kept whole without one, and the
// address follows after a space.
std::u16string BrowserCommand(std::u16string_view commandLine, std::u16string_view address);

// The number the field's 8-bit text starts with, as the C library's decimal conversion reads
// it (at most 260 characters); empty unless it is greater than zero.
std::optional<double> MagnificationFromText(std::string_view text);

}  // namespace orvane
