// The generated pictures: names, sizes and formats the program loads them by,
// the transparency rules of the pictures that are drawn keyed, and repeatability.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

#include "tools/imagegen/pictures.h"

namespace {

using imagegen::Bytes;
using imagegen::Picture;
using imagegen::Rgb;

unsigned u16(const Bytes& b, std::size_t at) {
    return b.at(at) | (b.at(at + 1) << 8);
}
std::uint32_t u32(const Bytes& b, std::size_t at) {
    return u16(b, at) | (u16(b, at + 2) << 16);
}
std::int32_t i32(const Bytes& b, std::size_t at) {
    return static_cast<std::int32_t>(u32(b, at));
}

// A 24-bit bottom-up BMP file, checked field by field as the resource compiler reads it.
struct Bmp {
    int width = 0, height = 0;
    const Bytes* data = nullptr;

    static Bmp parse(const Bytes& b) {
        EXPECT_GE(b.size(), 54u);
        EXPECT_EQ(b[0], 'B');
        EXPECT_EQ(b[1], 'M');
        EXPECT_EQ(u32(b, 2), b.size());
        EXPECT_EQ(u32(b, 10), 54u);
        EXPECT_EQ(u32(b, 14), 40u);
        Bmp bmp;
        bmp.width = i32(b, 18);
        bmp.height = i32(b, 22);
        EXPECT_EQ(u16(b, 26), 1u);
        EXPECT_EQ(u16(b, 28), 24u);
        EXPECT_EQ(u32(b, 30), 0u);
        const std::size_t stride = (static_cast<std::size_t>(bmp.width) * 3 + 3) / 4 * 4;
        EXPECT_EQ(b.size(), 54 + stride * static_cast<std::size_t>(bmp.height));
        bmp.data = &b;
        return bmp;
    }

    Rgb at(int x, int y) const {
        const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
        const std::size_t i = 54 + stride * static_cast<std::size_t>(height - 1 - y) +
                              3 * static_cast<std::size_t>(x);
        return {(*data)[i + 2], (*data)[i + 1], (*data)[i]};
    }
};

// Directory entry of an icon or cursor file.
struct Entry {
    int width, height, field4, field6;  // planes/hot x, bpp/hot y
    std::uint32_t size, offset;
};

std::vector<Entry> directory(const Bytes& b, unsigned type) {
    EXPECT_EQ(u16(b, 0), 0u);
    EXPECT_EQ(u16(b, 2), type);
    std::vector<Entry> out;
    for (unsigned i = 0; i < u16(b, 4); ++i) {
        const std::size_t e = 6 + 16 * i;
        out.push_back({b[e] ? b[e] : 256, b[e + 1] ? b[e + 1] : 256,
                       static_cast<int>(u16(b, e + 4)), static_cast<int>(u16(b, e + 6)),
                       u32(b, e + 8), u32(b, e + 12)});
        EXPECT_LE(out.back().offset + out.back().size, b.size());
    }
    return out;
}

// One-bit image of an icon or cursor entry: colour bit and mask bit of pixel (x, y).
struct MonoBits {
    const Bytes* b;
    std::size_t xorAt, andAt, stride;
    int height;
    bool bit(std::size_t base, int x, int y) const {
        return ((*b)[base + stride * static_cast<std::size_t>(height - 1 - y) + x / 8] >>
                (7 - x % 8)) &
               1;
    }
    bool white(int x, int y) const { return bit(xorAt, x, y); }
    bool transparent(int x, int y) const { return bit(andAt, x, y); }
};

MonoBits mono(const Bytes& b, const Entry& e) {
    const std::size_t h = e.offset;
    EXPECT_EQ(u32(b, h), 40u);
    EXPECT_EQ(i32(b, h + 4), e.width);
    EXPECT_EQ(i32(b, h + 8), 2 * e.height);
    EXPECT_EQ(u16(b, h + 14), 1u);
    const std::size_t stride = (static_cast<std::size_t>(e.width) + 31) / 32 * 4;
    const std::size_t xorAt = h + 40 + 8;
    EXPECT_EQ(40 + 8 + 2 * stride * e.height, e.size);
    return {&b, xorAt, xorAt + stride * e.height, stride, e.height};
}

class Pictures : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        font_ = new imagegen::Font(IMAGEGEN_FONT);
        languages_ =
            new std::vector<imagegen::LanguageWords>(imagegen::readMenuWords(IMAGEGEN_LANG_DIR));
        pictures_ = new std::vector<Picture>(imagegen::renderAll(*font_, *languages_));
        for (const auto& p : *pictures_)
            byName_[p.resource + (p.kind == imagegen::Kind::Bitmap ? ""
                                  : p.kind == imagegen::Kind::Icon ? "/icon"
                                                                   : "/cursor")] = &p;
    }
    static void TearDownTestSuite() {
        delete pictures_;
        delete languages_;
        delete font_;
        byName_.clear();
    }
    static const Bytes& bitmap(const std::string& name) {
        auto it = byName_.find(name);
        if (it == byName_.end()) throw std::runtime_error("no bitmap " + name);
        return it->second->data;
    }
    static const Bytes& icon(int id) { return byName_.at(std::to_string(id) + "/icon")->data; }
    static const Bytes& cursor(int id) { return byName_.at(std::to_string(id) + "/cursor")->data; }

    static imagegen::Font* font_;
    static std::vector<imagegen::LanguageWords>* languages_;
    static std::vector<Picture>* pictures_;
    static std::map<std::string, const Picture*> byName_;
};

imagegen::Font* Pictures::font_ = nullptr;
std::vector<imagegen::LanguageWords>* Pictures::languages_ = nullptr;
std::vector<Picture>* Pictures::pictures_ = nullptr;
std::map<std::string, const Picture*> Pictures::byName_;

TEST_F(Pictures, MenuButtonsOfEveryLanguageAreNamedAndSized) {
    const char* suffixes[13] = {"SC", "TC", "EN", "FR", "GE", "RU", "PT",
                                "SP", "IT", "DU", "KR", "JP", "VN"};
    for (const char* button : {"BTNMENUFILE", "BTNMENUSETTING", "BTNMENUCAPTURE", "BTNMENUHELP"})
        for (const char* suffix : suffixes)
            for (const char* state : {"U", "D", "F"}) {
                const std::string name = std::string(button) + suffix + state;
                SCOPED_TRACE(name);
                const Bmp b = Bmp::parse(bitmap(name));
                EXPECT_EQ(b.width, 120);
                EXPECT_EQ(b.height, 16);
            }
    EXPECT_EQ(byName_.count("BTNMENUFILEENX"), 0u);
    // The word differs by language and the state shows.
    EXPECT_NE(bitmap("BTNMENUFILEENU"), bitmap("BTNMENUFILEGEU"));
    EXPECT_NE(bitmap("BTNMENUFILEENU"), bitmap("BTNMENUFILEEND"));
    EXPECT_NE(bitmap("BTNMENUFILEENU"), bitmap("BTNMENUFILEENF"));
}

TEST_F(Pictures, MenuWordsComeFromTheMainMenuOfEachLanguage) {
    ASSERT_EQ(languages_->size(), 13u);
    EXPECT_EQ((*languages_)[4].suffix, "Ge");
    EXPECT_EQ((*languages_)[4].words[0], "Datei");
    EXPECT_EQ((*languages_)[2].words[3], "Help");
    for (const auto& lang : *languages_)
        for (const auto& word : lang.words) {
            EXPECT_FALSE(word.empty()) << lang.suffix;
            EXPECT_EQ(word.find('&'), std::string::npos) << word;
            EXPECT_TRUE(font_->covers(word)) << word;
        }
    const auto parsed = imagegen::parseMainPopups(
        "X MENU\nBEGIN\n  POPUP \"&File\"\n  BEGIN\n    POPUP \"Sub\"\n    BEGIN\n    END\n  END\n"
        "  POPUP \"S&&T\" // note\n  BEGIN\n  END\n  POPUP \"C\"\n  BEGIN\n  END\n  POPUP \"H\"\n  "
        "BEGIN\n  END\nEND\n");
    EXPECT_EQ(parsed[0], "File");
    EXPECT_EQ(parsed[1], "S&T");
    EXPECT_EQ(parsed[3], "H");
}

TEST_F(Pictures, ToolButtonsHaveFourStatesAtTheirSizes) {
    const std::map<std::string, int> widths = {
        {"BTNTOOLSAVE", 68},  {"BTNTOOLMEASURE", 68}, {"BTNTOOLCROSS", 68}, {"BTNTOOLSETTING", 68},
        {"BTNTOOLCLOCK", 68}, {"BTNTOOLTIME", 68},    {"BTNTOOLDEL", 68},   {"BTNTOOLDELALL", 68},
        {"BTNTOOLSNAP", 160}, {"BTNTOOLCAPTURE", 160}};
    for (const auto& [name, width] : widths) {
        std::vector<const Bytes*> states;
        for (const char* state : {"U", "D", "F", "X"}) {
            SCOPED_TRACE(name + state);
            const Bmp b = Bmp::parse(bitmap(name + state));
            EXPECT_EQ(b.width, width);
            EXPECT_EQ(b.height, 36);
            states.push_back(&bitmap(name + state));
        }
        for (std::size_t i = 0; i < states.size(); ++i)
            for (std::size_t j = i + 1; j < states.size(); ++j)
                EXPECT_NE(*states[i], *states[j]) << name;
    }
}

TEST_F(Pictures, NumberedBitmapsHaveTheirSizes) {
    const std::map<std::string, std::pair<int, int>> sizes = {
        {"130", {560, 410}}, {"287", {118, 120}}, {"288", {118, 120}},
        {"318", {33, 27}},   {"215", {24, 24}},   {"307", {18, 18}},
        {"162", {272, 16}},  {"209", {160, 24}},  {"231", {160, 24}}};
    for (const auto& [id, size] : sizes) {
        SCOPED_TRACE(id);
        const Bmp b = Bmp::parse(bitmap(id));
        EXPECT_EQ(b.width, size.first);
        EXPECT_EQ(b.height, size.second);
    }
    for (int id : {245, 246, 247, 248, 249, 138, 237, 238, 239, 240, 241, 242, 243, 244}) {
        SCOPED_TRACE(id);
        Bmp::parse(bitmap(std::to_string(id)));
    }
}

// Width k is drawn k pixels thick: count the dark rows through the middle column.
TEST_F(Pictures, LineWidthPicturesGrowInTheOrderOfTheChooser) {
    const int ids[9] = {138, 237, 244, 243, 242, 241, 240, 239, 238};
    for (int k = 0; k < 9; ++k) {
        const Bmp b = Bmp::parse(bitmap(std::to_string(ids[k])));
        int dark = 0;
        for (int y = 0; y < b.height; ++y) dark += b.at(b.width / 2, y).r < 128;
        EXPECT_EQ(dark, k + 1) << "bitmap " << ids[k];
    }
    // Style 0 (bitmap 249) is solid along the middle row; the dashed styles are not.
    for (int id : {249, 248, 247, 246, 245}) {
        const Bmp b = Bmp::parse(bitmap(std::to_string(id)));
        int gaps = 0;
        for (int x = 10; x < 70; ++x) gaps += b.at(x, 10).r > 200;
        if (id == 249) {
            EXPECT_EQ(gaps, 0);
        } else {
            EXPECT_GT(gaps, 4) << id;
        }
    }
}

// The status window's region drops exactly the pure green pixels, so the
// outside must be exactly green and no pixel inside may be nearly green.
TEST_F(Pictures, RecordingIndicatorIsGreenOutsideOnly) {
    const Bmp b = Bmp::parse(bitmap("215"));
    int green = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
            const Rgb c = b.at(x, y);
            const bool pure = c == Rgb{0, 255, 0};
            const double r = std::hypot(x + 0.5 - 12, y + 0.5 - 12);
            green += pure;
            if (r > 12) {
                EXPECT_TRUE(pure) << x << "," << y;
            }
            if (r < 10) {
                EXPECT_FALSE(pure) << x << "," << y;
            }
            if (!pure) {
                EXPECT_FALSE(c.g > c.r + 60 && c.g > c.b + 60)
                    << "green fringe at " << x << "," << y;
            }
        }
    EXPECT_GT(green, 4 * 10);
    EXPECT_TRUE(b.at(0, 0) == (Rgb{0, 255, 0}));
}

// The video badge is drawn with white as the transparent colour.
TEST_F(Pictures, VideoBadgeIsWhiteOutsideAndNeverWhiteInside) {
    const Bmp b = Bmp::parse(bitmap("318"));
    for (int x = 0; x < 33; ++x) {
        EXPECT_TRUE(b.at(x, 0) == (Rgb{255, 255, 255}));
        EXPECT_TRUE(b.at(x, 26) == (Rgb{255, 255, 255}));
    }
    for (int y = 4; y < 23; ++y)
        for (int x = 3; x < 30; ++x)
            EXPECT_FALSE(b.at(x, y) == (Rgb{255, 255, 255})) << x << "," << y;
}

// Menu icons are cut from the strip with white as the transparent colour.
TEST_F(Pictures, MenuIconStripHoldsSeventeenDistinctIcons) {
    const Bmp b = Bmp::parse(bitmap("162"));
    std::vector<std::string> icons;
    for (int i = 0; i < 17; ++i) {
        std::string cells;
        int drawn = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const Rgb c = b.at(16 * i + x, y);
                drawn += !(c == Rgb{255, 255, 255});
                cells += static_cast<char>(c.r);
            }
        EXPECT_GT(drawn, 12) << "icon " << i;
        EXPECT_LT(drawn, 200) << "icon " << i;
        for (const auto& other : icons) EXPECT_NE(other, cells) << "icon " << i;
        icons.push_back(cells);
    }
    EXPECT_TRUE(b.at(0, 0) == (Rgb{255, 255, 255}));
}

// The check picture's top-left pixel is its transparent colour: the menu background.
TEST_F(Pictures, CheckMarkIsKeyedByItsCorner) {
    const Bmp b = Bmp::parse(bitmap("307"));
    const Rgb key = b.at(0, 0);
    EXPECT_TRUE(key == imagegen::palette::window);
    int mark = 0;
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 18; ++x) mark += !(b.at(x, y) == key);
    EXPECT_GT(mark, 15);
}

TEST_F(Pictures, LanguageNamesAreMonochromeAndUnclipped) {
    for (int id : {301, 302, 303, 304, 305, 306, 307, 308, 309, 310, 311, 312, 320}) {
        SCOPED_TRACE(id);
        const Bytes& b = icon(id);
        const auto entries = directory(b, 1);
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].width, 80);
        EXPECT_EQ(entries[0].height, 16);
        EXPECT_EQ(entries[0].field6, 1);  // bits per pixel
        const MonoBits m = mono(b, entries[0]);
        int ink = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 80; ++x) {
                if (m.transparent(x, y)) continue;
                ++ink;
                EXPECT_FALSE(m.white(x, y));
                EXPECT_LT(x, 79) << "text runs into the right edge";
                EXPECT_TRUE(y > 0 && y < 15) << "text touches the top or bottom edge";
            }
        EXPECT_GT(ink, 20);
    }
}

TEST_F(Pictures, ProgramIconsHaveAlphaImages) {
    for (int id : {128, 131, 136}) {
        SCOPED_TRACE(id);
        const Bytes& b = icon(id);
        const auto entries = directory(b, 1);
        bool has16 = false, has32 = false;
        for (const auto& e : entries) {
            EXPECT_EQ(e.field6, 32);
            has16 = has16 || e.width == 16;
            has32 = has32 || e.width == 32;
            // Corner transparent, centre opaque.
            const std::size_t px = e.offset + 40;
            const auto alphaAt = [&](int x, int y) {
                return b[px + 4 * (static_cast<std::size_t>(e.height - 1 - y) * e.width + x) + 3];
            };
            EXPECT_EQ(alphaAt(0, 0), 0);
            EXPECT_EQ(alphaAt(e.width / 2, e.height / 2), 255);
        }
        EXPECT_TRUE(has16 && has32);
    }
    EXPECT_NE(icon(128), icon(131));
    EXPECT_NE(icon(128), icon(136));
}

TEST_F(Pictures, CursorsPointWithTheirHotSpots) {
    const std::pair<int, std::pair<int, int>> cursors[] = {{252, {16, 15}}, {141, {11, 20}}};
    for (const auto& [id, hot] : cursors) {
        SCOPED_TRACE(id);
        const Bytes& b = cursor(id);
        const auto entries = directory(b, 2);
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].width, 32);
        EXPECT_EQ(entries[0].height, 32);
        EXPECT_EQ(entries[0].field4, hot.first);
        EXPECT_EQ(entries[0].field6, hot.second);
        const MonoBits m = mono(b, entries[0]);
        // The hot spot is an opaque black pixel and the corners are see-through.
        EXPECT_FALSE(m.transparent(hot.first, hot.second));
        EXPECT_FALSE(m.white(hot.first, hot.second));
        EXPECT_TRUE(m.transparent(0, 0));
        EXPECT_TRUE(m.transparent(31, 31));
    }
    // The cross-hair's lines run through the hot spot.
    const Bytes& b = cursor(252);
    const MonoBits m = mono(b, directory(b, 2)[0]);
    for (int d : {-8, 8}) {
        EXPECT_FALSE(m.transparent(16 + d, 15) || m.white(16 + d, 15));
        EXPECT_FALSE(m.transparent(16, 15 + d) || m.white(16, 15 + d));
    }
}

TEST_F(Pictures, ResourceScriptsListEachPictureForItsProgram) {
    using imagegen::Program;
    const std::string main = imagegen::resourceScript(*pictures_, Program::Main, "/p");
    EXPECT_NE(main.find("BTNMENUFILEGEU BITMAP \"/p/btnmenufilegeu.bmp\"\n"), std::string::npos);
    EXPECT_NE(main.find("BTNTOOLSAVEX BITMAP \"/p/btntoolsavex.bmp\"\n"), std::string::npos);
    EXPECT_NE(main.find("\n130 BITMAP \"/p/bmp130.bmp\"\n"), std::string::npos);
    EXPECT_NE(main.find("\n320 ICON \"/p/icon320.ico\"\n"), std::string::npos);
    EXPECT_NE(main.find("\n128 ICON "), std::string::npos);
    EXPECT_NE(main.find("\n252 CURSOR \"/p/cursor252.cur\"\n"), std::string::npos);
    EXPECT_EQ(main.find("\n131 ICON"), std::string::npos);
    EXPECT_EQ(main.find("\n136 ICON"), std::string::npos);
    const std::string setup = imagegen::resourceScript(*pictures_, Program::Setup, "/p");
    EXPECT_NE(setup.find("\n136 ICON "), std::string::npos);
    EXPECT_EQ(setup.find("BITMAP"), std::string::npos);
    const std::string uninstall = imagegen::resourceScript(*pictures_, Program::Uninstall, "/p");
    EXPECT_NE(uninstall.find("\n128 ICON "), std::string::npos);
    EXPECT_NE(uninstall.find("\n131 ICON "), std::string::npos);
    EXPECT_NE(main.find("BTNEDTMOREX BITMAP \"/p/btnedtmorex.bmp\"\n"), std::string::npos);
    // 156 menu buttons, 40 tool buttons, 52 editor buttons (13 in four states), 23 numbered
    // bitmaps, 14 icons, 2 cursors.
    std::size_t lines = 0;
    for (char c : main) lines += c == '\n';
    EXPECT_EQ(lines, 4u + 156 + 40 + 52 + 23 + 14 + 2);
    // Every file name is distinct, so no picture overwrites another.
    std::map<std::string, int> files;
    for (const auto& p : *pictures_) EXPECT_EQ(++files[p.file], 1) << p.file;
}

TEST_F(Pictures, RenderingIsRepeatable) {
    const auto again = imagegen::renderAll(*font_, *languages_);
    ASSERT_EQ(again.size(), pictures_->size());
    for (std::size_t i = 0; i < again.size(); ++i) {
        EXPECT_EQ(again[i].resource, (*pictures_)[i].resource);
        EXPECT_TRUE(again[i].data == (*pictures_)[i].data) << again[i].resource;
    }
}

}  // namespace
