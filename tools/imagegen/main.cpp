// imagegen: writes the program's bitmaps, icons and cursors and the resource
// scripts that list them.
//
//   imagegen --out DIR --font FONTFILE [--menus LANGDIR]
//
// With --menus the words on the menu buttons are read from LANGDIR/menus_<xx>.rc,
// otherwise the table kept in the tool is used. Pictures whose content is
// unchanged are not rewritten; the scripts always are.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "tools/imagegen/pictures.h"

namespace {

bool write_if_changed(const std::filesystem::path& path, const std::string& content) {
    {
        std::ifstream in(path, std::ios::binary);
        if (in) {
            const std::string old((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
            if (old == content) return true;
        }
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    return static_cast<bool>(out);
}

int usage() {
    std::cerr << "usage: imagegen --out DIR --font FONTFILE [--menus LANGDIR]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string outDir, fontPath, menusDir;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (i + 1 >= argc) return usage();
        if (a == "--out")
            outDir = argv[++i];
        else if (a == "--font")
            fontPath = argv[++i];
        else if (a == "--menus")
            menusDir = argv[++i];
        else
            return usage();
    }
    if (outDir.empty() || fontPath.empty()) return usage();
    try {
        const imagegen::Font font(fontPath);
        const auto languages =
            menusDir.empty() ? imagegen::builtinMenuWords() : imagegen::readMenuWords(menusDir);
        const auto pictures = imagegen::renderAll(font, languages);
        const std::filesystem::path dir = std::filesystem::absolute(outDir).lexically_normal();
        std::filesystem::create_directories(dir);
        for (const auto& p : pictures) {
            if (!write_if_changed(dir / p.file, std::string(p.data.begin(), p.data.end()))) {
                std::cerr << "imagegen: cannot write " << (dir / p.file).string() << "\n";
                return 1;
            }
        }
        for (auto program :
             {imagegen::Program::Main, imagegen::Program::Setup, imagegen::Program::Uninstall}) {
            // Always rewritten: the build uses the scripts' time as the pictures' time.
            const auto path = dir / imagegen::scriptName(program);
            std::ofstream rc(path, std::ios::binary | std::ios::trunc);
            rc << imagegen::resourceScript(pictures, program, dir.generic_string());
            if (!rc) {
                std::cerr << "imagegen: cannot write " << path.string() << "\n";
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::cerr << "imagegen: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
