// The words on the four menu buttons in every user-interface language.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace imagegen {

struct LanguageWords {
    std::string suffix;                // bitmap suffix, e.g. "En"
    std::string file;                  // menu script name part, e.g. "en" for menus_en.rc
    std::array<std::string, 4> words;  // "File", "Setting", "Capture", "Help" (UTF-8)
};

// The thirteen languages in code order 501..513 with the words kept here.
std::vector<LanguageWords> builtinMenuWords();

// The first four top-level popup names of the script's first menu, with "&"
// prefixes resolved ("&&" becomes "&"). Empty when fewer than four are found.
std::array<std::string, 4> parseMainPopups(const std::string& script);

// The words read from dir/menus_<file>.rc for each language; throws
// std::runtime_error naming the file when one cannot be read or parsed.
std::vector<LanguageWords> readMenuWords(const std::string& dir);

}  // namespace imagegen
