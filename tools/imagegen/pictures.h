// The program's bitmaps, icons and cursors, and the resource scripts that list them.
#pragma once

#include <string>
#include <vector>

#include "tools/imagegen/formats.h"
#include "tools/imagegen/menus.h"
#include "tools/imagegen/text.h"

namespace imagegen {

enum class Kind { Bitmap, Icon, Cursor };

// Which program's resource script lists a picture.
enum class Program { Main, Setup, Uninstall };

struct Picture {
    Kind kind = Kind::Bitmap;
    std::string resource;  // resource name ("BTNMENUFILEENU") or number ("130")
    std::string file;      // file name in the output folder
    std::vector<Program> programs;
    Bytes data;
};

// Colours shared by every picture.
namespace palette {
inline constexpr Rgb window{233, 233, 238};  // main window and menu background
inline constexpr Rgb ink{44, 52, 66};
inline constexpr Rgb inkMuted{108, 116, 130};
inline constexpr Rgb disabled{170, 173, 181};
inline constexpr Rgb accent{0, 99, 177};
inline constexpr Rgb accentSoft{212, 226, 244};
inline constexpr Rgb record{214, 46, 46};
inline constexpr Rgb card{251, 251, 252};
inline constexpr Rgb border{186, 190, 200};
inline constexpr Rgb white{255, 255, 255};
inline constexpr Rgb green{0, 255, 0};
}  // namespace palette

// Renders every picture. The font must cover Latin, Cyrillic, Vietnamese, CJK and Hangul.
std::vector<Picture> renderAll(const Font& font, const std::vector<LanguageWords>& languages);

// Resource script for one program; each file is referenced as dir + "/" + file.
std::string resourceScript(const std::vector<Picture>& pictures, Program program,
                           const std::string& dir);

// File name of a program's resource script: pictures.rc, pictures_setup.rc, pictures_uninstall.rc.
std::string scriptName(Program program);

}  // namespace imagegen
