#include "tools/imagegen/text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <stdexcept>

namespace imagegen {

struct Font::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;

    void size(int px) const {
        if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(px)) != 0)
            throw std::runtime_error("font size");
    }

    // Calls fn(bitmap, left, top) for each rendered glyph along the pen.
    template <typename Fn>
    void render(const std::string& utf8, int px, int x, int baseline, Fn fn) const {
        size(px);
        int pen = x * 64;
        FT_UInt previous = 0;
        for (char32_t cp : decodeUtf8(utf8)) {
            const FT_UInt glyph = FT_Get_Char_Index(face, cp);
            if (previous && glyph && FT_HAS_KERNING(face)) {
                FT_Vector k{};
                FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &k);
                pen += static_cast<int>(k.x);
            }
            if (FT_Load_Glyph(face, glyph, FT_LOAD_TARGET_LIGHT) != 0) continue;
            if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_LIGHT) != 0) continue;
            const FT_GlyphSlot g = face->glyph;
            fn(g->bitmap, (pen >> 6) + g->bitmap_left, baseline - g->bitmap_top);
            pen += static_cast<int>(g->advance.x);
            previous = glyph;
        }
    }
};

Font::Font(const std::string& path) : impl_(std::make_unique<Impl>()) {
    if (FT_Init_FreeType(&impl_->library) != 0)
        throw std::runtime_error("FreeType initialisation failed");
    if (FT_New_Face(impl_->library, path.c_str(), 0, &impl_->face) != 0) {
        FT_Done_FreeType(impl_->library);
        throw std::runtime_error("cannot open font " + path);
    }
}

Font::~Font() {
    FT_Done_Face(impl_->face);
    FT_Done_FreeType(impl_->library);
}

int Font::measure(const std::string& utf8, int px) const {
    impl_->size(px);
    int pen = 0;
    FT_UInt previous = 0;
    for (char32_t cp : decodeUtf8(utf8)) {
        const FT_UInt glyph = FT_Get_Char_Index(impl_->face, cp);
        if (previous && glyph && FT_HAS_KERNING(impl_->face)) {
            FT_Vector k{};
            FT_Get_Kerning(impl_->face, previous, glyph, FT_KERNING_DEFAULT, &k);
            pen += static_cast<int>(k.x);
        }
        if (FT_Load_Glyph(impl_->face, glyph, FT_LOAD_TARGET_LIGHT) != 0) continue;
        pen += static_cast<int>(impl_->face->glyph->advance.x);
        previous = glyph;
    }
    return (pen + 32) >> 6;
}

void Font::draw(Image& image, const std::string& utf8, int px, int x, int baseline,
                Rgb colour) const {
    impl_->render(utf8, px, x, baseline, [&](const FT_Bitmap& bm, int left, int top) {
        for (unsigned row = 0; row < bm.rows; ++row)
            for (unsigned col = 0; col < bm.width; ++col) {
                const int v = bm.buffer[row * bm.pitch + col];
                image.blend(left + static_cast<int>(col), top + static_cast<int>(row), colour,
                            v / 255.0);
            }
    });
}

void Font::drawCoverage(std::vector<std::uint8_t>& cov, int w, int h, const std::string& utf8,
                        int px, int x, int baseline) const {
    impl_->render(utf8, px, x, baseline, [&](const FT_Bitmap& bm, int left, int top) {
        for (unsigned row = 0; row < bm.rows; ++row)
            for (unsigned col = 0; col < bm.width; ++col) {
                const int tx = left + static_cast<int>(col), ty = top + static_cast<int>(row);
                if (tx < 0 || ty < 0 || tx >= w || ty >= h) continue;
                std::uint8_t& c = cov[static_cast<std::size_t>(ty) * w + tx];
                c = std::max<std::uint8_t>(c, bm.buffer[row * bm.pitch + col]);
            }
    });
}

int Font::ascender(int px) const {
    impl_->size(px);
    return static_cast<int>((impl_->face->size->metrics.ascender + 63) >> 6);
}

int Font::descender(int px) const {
    impl_->size(px);
    return static_cast<int>((-impl_->face->size->metrics.descender + 63) >> 6);
}

bool Font::covers(const std::string& utf8) const {
    for (char32_t cp : decodeUtf8(utf8))
        if (FT_Get_Char_Index(impl_->face, cp) == 0) return false;
    return true;
}

std::u32string decodeUtf8(const std::string& s) {
    std::u32string out;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        int n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : 4;
        char32_t cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
        for (int k = 1; k < n && i + k < s.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out.push_back(cp);
        i += n;
    }
    return out;
}

}  // namespace imagegen
