#include "tools/imagegen/pictures.h"

#include <sstream>

#include "tools/imagegen/drawing.h"

namespace imagegen {

namespace {

using namespace drawing;
using namespace palette;

std::string lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string upper(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

std::vector<Picture> renderAll(const Font& font, const std::vector<LanguageWords>& languages) {
    std::vector<Picture> out;
    const std::vector<Program> main{Program::Main};
    auto bitmap = [&](const std::string& resource, const Image& img) {
        const bool named =
            !resource.empty() && !std::isdigit(static_cast<unsigned char>(resource[0]));
        out.push_back({Kind::Bitmap, resource,
                       (named ? lower(resource) : "bmp" + resource) + ".bmp", main,
                       encodeBmp24(img)});
    };

    const char* menuButtons[4] = {"BtnMenuFile", "BtnMenuSetting", "BtnMenuCapture", "BtnMenuHelp"};
    const std::pair<State, char> menuStates[3] = {
        {State::Up, 'U'}, {State::Down, 'D'}, {State::Focus, 'F'}};
    for (const auto& lang : languages)
        for (int b = 0; b < 4; ++b)
            for (const auto& [state, letter] : menuStates)
                bitmap(upper(std::string(menuButtons[b]) + lang.suffix + letter),
                       menu_button(lang.words[b], state, font));

    const ToolButton tools[] = {
        {"BtnToolSave", 68, glyph_save, ink, nullptr, false},
        {"BtnToolMeasure", 68, glyph_measure, ink, nullptr, false},
        {"BtnToolCross", 68, glyph_cross, ink, nullptr, false},
        {"BtnToolSetting", 68, glyph_setting, ink, nullptr, false},
        {"BtnToolClock", 68, glyph_clock, ink, nullptr, false},
        {"BtnToolTime", 68, glyph_time, ink, nullptr, false},
        {"BtnToolDel", 68, glyph_del, ink, nullptr, false},
        {"BtnToolDelAll", 68, glyph_del_all, ink, nullptr, false},
        {"BtnToolCapture", 160, glyph_video, ink, "F8", true},
        {"BtnToolSnap", 160, glyph_snap, accent, "F4", false},
    };
    const std::pair<State, char> toolStates[4] = {
        {State::Up, 'U'}, {State::Down, 'D'}, {State::Focus, 'F'}, {State::Disabled, 'X'}};
    for (const auto& t : tools)
        for (const auto& [state, letter] : toolStates)
            bitmap(upper(std::string(t.name) + letter), tool_button(t, state, font));

    // The picture editor's buttons: BtnEdtMore is the narrow one beside a tool button.
    const ToolButton editorButtons[] = {
        {"BtnEdtSave", 44, glyph_save, ink, nullptr, false},
        {"BtnEdtCopyFile", 44, glyph_copy_file, ink, nullptr, false},
        {"BtnEdtCopy", 44, glyph_copy_picture, ink, nullptr, false},
        {"BtnEdtDraw", 44, glyph_pencil, ink, nullptr, false},
        {"BtnEdtText", 44, glyph_text, ink, nullptr, false},
        {"BtnEdtMeasure", 44, glyph_measure, ink, nullptr, false},
        {"BtnEdtPrev", 44, glyph_prev, ink, nullptr, false},
        {"BtnEdtNext", 44, glyph_next, ink, nullptr, false},
        {"BtnEdtUndo", 44, glyph_undo, ink, nullptr, false},
        {"BtnEdtRedo", 44, glyph_redo, ink, nullptr, false},
        {"BtnEdtBack", 44, glyph_back, ink, nullptr, false},
    };
    for (const auto& t : editorButtons)
        for (const auto& [state, letter] : toolStates)
            bitmap(upper(std::string(t.name) + letter), tool_button(t, state, font));
    for (const auto& [state, letter] : toolStates) {
        bitmap(upper(std::string("BtnEdtMore") + letter), more_button(state));
        bitmap(upper(std::string("BtnEdtFont") + letter), more_button(state));
    }

    bitmap("130", no_camera());
    bitmap("287", cell_background(false));
    bitmap("288", cell_background(true));
    bitmap("318", video_badge());
    bitmap("215", recording_indicator());
    bitmap("307", check_mark());
    bitmap("162", menu_strip());
    // Style k (0..4) is shown by bitmaps 249, 248, 247, 246, 245.
    for (int k = 0; k < 5; ++k) bitmap(std::to_string(249 - k), line_style(k));
    // Width 1..9 is shown by bitmaps 138, 237, 244, 243, 242, 241, 240, 239, 238.
    const int widthIds[9] = {138, 237, 244, 243, 242, 241, 240, 239, 238};
    for (int k = 0; k < 9; ++k) bitmap(std::to_string(widthIds[k]), line_width(k + 1));
    bitmap("209", label_plate());
    bitmap("231", label_plate());

    out.push_back({Kind::Icon,
                   "128",
                   "icon128.ico",
                   {Program::Main, Program::Uninstall},
                   program_icon_file(Badge::None)});
    out.push_back(
        {Kind::Icon, "131", "icon131.ico", {Program::Uninstall}, program_icon_file(Badge::Remove)});
    out.push_back(
        {Kind::Icon, "136", "icon136.ico", {Program::Setup}, program_icon_file(Badge::Install)});
    // Language names: icon 300 + k for language code 500 + k (k = 1..12), 320 for 513.
    const char* names[13] = {"简体中文", "繁體中文",  "English",   "Français", "Deutsch",
                             "Русский",  "Português", "Español",   "Italiano", "Nederlands",
                             "한국어",   "日本語",    "Tiếng Việt"};
    for (int k = 1; k <= 13; ++k) {
        const int id = k <= 12 ? 300 + k : 320;
        out.push_back({Kind::Icon, std::to_string(id), "icon" + std::to_string(id) + ".ico", main,
                       encodeIco({language_name(font, names[k - 1])}, {})});
    }

    out.push_back({Kind::Cursor, "252", "cursor252.cur", main, encodeCur(cross_cursor(), 16, 15)});
    out.push_back({Kind::Cursor, "141", "cursor141.cur", main, encodeCur(pencil_cursor(), 11, 20)});
    return out;
}

std::string scriptName(Program program) {
    switch (program) {
        case Program::Main:
            return "pictures.rc";
        case Program::Setup:
            return "pictures_setup.rc";
        case Program::Uninstall:
            return "pictures_uninstall.rc";
    }
    return "pictures.rc";
}

std::string resourceScript(const std::vector<Picture>& pictures, Program program,
                           const std::string& dir) {
    std::ostringstream rc;
    rc << "// Generated by imagegen; do not edit.\n"
          "// Bitmaps, icons and cursors, language-neutral.\n"
          "LANGUAGE 0, 0\n\n";
    for (const auto& p : pictures) {
        bool listed = false;
        for (Program q : p.programs) listed = listed || q == program;
        if (!listed) continue;
        const char* type = p.kind == Kind::Bitmap ? "BITMAP"
                           : p.kind == Kind::Icon ? "ICON"
                                                  : "CURSOR";
        rc << p.resource << ' ' << type << " \"" << dir << '/' << p.file << "\"\n";
    }
    return rc.str();
}

}  // namespace imagegen
