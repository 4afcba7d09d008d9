#include "tools/imagegen/menus.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace imagegen {

std::vector<LanguageWords> builtinMenuWords() {
    return {
        {"Sc", "sc", {"文件", "设置", "拍摄", "帮助"}},
        {"Tc", "tc", {"檔案", "設定", "拍攝", "說明"}},
        {"En", "en", {"File", "Setting", "Capture", "Help"}},
        {"Fr", "fr", {"Fichier", "Réglages", "Capture", "Aide"}},
        {"Ge", "ge", {"Datei", "Einstellung", "Aufnahme", "Hilfe"}},
        {"Ru", "ru", {"Файл", "Настройки", "Съёмка", "Справка"}},
        {"Pt", "pt", {"Arquivo", "Configuração", "Capturar", "Ajuda"}},
        {"Sp", "sp", {"Archivo", "Configuración", "Capturar", "Ayuda"}},
        {"It", "it", {"File", "Impostazioni", "Acquisizione", "Guida"}},
        {"Du", "du", {"Bestand", "Instelling", "Opname", "Help"}},
        {"Kr", "kr", {"파일", "설정", "촬영", "도움말"}},
        {"Jp", "jp", {"ファイル", "設定", "撮影", "ヘルプ"}},
        {"Vn", "vn", {"Tệp", "Cài đặt", "Chụp", "Trợ giúp"}},
    };
}

namespace {

std::string strip_prefixes(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&') {
            if (i + 1 < s.size() && s[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += s[i];
    }
    return out;
}

}  // namespace

std::array<std::string, 4> parseMainPopups(const std::string& script) {
    // Walk the first MENU block, counting BEGIN/END depth; popups at depth 1 are the top level.
    std::istringstream in(script);
    std::string line;
    bool inMenu = false;
    int depth = 0;
    std::array<std::string, 4> words;
    std::size_t found = 0;
    while (std::getline(in, line) && found < 4) {
        const auto comment = line.find("//");
        std::string code = comment == std::string::npos ? line : line.substr(0, comment);
        std::istringstream tok(code);
        std::string first;
        tok >> first;
        if (!inMenu) {
            std::string second;
            tok >> second;
            if (second == "MENU" || second == "MENUEX") inMenu = true;
            continue;
        }
        if (first == "BEGIN" || first == "{") {
            ++depth;
        } else if (first == "END" || first == "}") {
            if (--depth == 0) break;
        } else if (first == "POPUP" && depth == 1) {
            const auto a = code.find('"');
            const auto b = a == std::string::npos ? a : code.find('"', a + 1);
            if (b == std::string::npos) break;
            words[found++] = strip_prefixes(code.substr(a + 1, b - a - 1));
        }
    }
    if (found < 4) return {};
    return words;
}

std::vector<LanguageWords> readMenuWords(const std::string& dir) {
    auto languages = builtinMenuWords();
    for (auto& lang : languages) {
        const std::string path = dir + "/menus_" + lang.file + ".rc";
        std::ifstream f(path, std::ios::binary);
        if (!f) throw std::runtime_error("cannot read " + path);
        std::ostringstream text;
        text << f.rdbuf();
        const auto words = parseMainPopups(text.str());
        if (words[0].empty()) throw std::runtime_error("no main menu with four popups in " + path);
        lang.words = words;
    }
    return languages;
}

}  // namespace imagegen
