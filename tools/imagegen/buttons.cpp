// Button faces: tool buttons, menu buttons and the editor's narrow buttons.
#include "tools/imagegen/drawing.h"

#include <cmath>

namespace imagegen::drawing {

using namespace palette;

// ---- Buttons

namespace {
struct ButtonLook {
    Rgb fill, edge, ink;
    double edgeWidth;
    double shift;
};
}  // namespace

static ButtonLook look(State s) {
    switch (s) {
        case State::Up:
            return {card, border, ink, 1, 0};
        case State::Down:
            return {{214, 220, 231}, {140, 150, 168}, ink, 1, 1};
        case State::Focus:
            return {card, accent, ink, 2, 0};
        case State::Disabled:
            return {{240, 240, 243}, {212, 214, 220}, disabled, 1, 0};
    }
    return {card, border, ink, 1, 0};
}

static Image button_face(int w, int h, State s) {
    const ButtonLook l = look(s);
    Image img(w, h, window);
    img.fill(box(1, 1, w - 1, h - 1, 5), l.fill);
    const double inset = 1 + l.edgeWidth / 2;
    img.fill(boxOutline(inset, inset, w - inset, h - inset, 5 - l.edgeWidth / 2, l.edgeWidth),
             l.edge);
    return img;
}

static void keycap(Image& img, const Font& font, const std::string& text, double x, double cy,
                   Rgb colour, Rgb back) {
    const int px = 11;
    const int tw = font.measure(text, px);
    const double w = tw + 8, h = 15;
    img.fill(boxOutline(x + 0.5, cy - h / 2 + 0.5, x + w - 0.5, cy + h / 2 - 0.5, 3, 1),
             mix(colour, back, 0.35));
    const int base =
        static_cast<int>(std::lround(cy + (font.ascender(px) - font.descender(px)) / 2.0));
    font.draw(img, text, px, static_cast<int>(x) + 4, base, colour);
}

Image tool_button(const ToolButton& t, State s, const Font& font) {
    const int h = 36;
    Image img = button_face(t.width, h, s);
    const ButtonLook l = look(s);
    const Rgb colour = s == State::Disabled ? disabled : t.glyphColour;
    const double gs = 1.0;  // 24-pixel glyph
    if (!t.key) {
        const double ox = (t.width - 24) / 2.0, oy = (h - 24) / 2.0 + l.shift;
        t.glyph(Pen{img, ox, oy, gs, colour}, l.fill);
        return img;
    }
    // Wide buttons: [record dot] glyph keycap, centred as a group.
    const int keyWidth = font.measure(t.key, 11) + 8;
    const double dotW = t.recordDot ? 14 : 0;
    const double total = dotW + 24 + 12 + keyWidth;
    double x = (t.width - total) / 2.0;
    const double cy = h / 2.0 + l.shift;
    if (t.recordDot) {
        img.fill(circle(x + 5, cy, 5), s == State::Disabled ? disabled : record);
        x += dotW;
    }
    t.glyph(Pen{img, x, cy - 12, gs, colour}, l.fill);
    x += 24 + 12;
    keycap(img, font, t.key, x, cy, s == State::Disabled ? disabled : inkMuted, l.fill);
    return img;
}

Image menu_button(const std::string& word, State s, const Font& font) {
    const int w = 120, h = 16;
    Image img(w, h, window);
    Rgb text = ink;
    if (s == State::Focus) {
        img.fill(box(1, 1, w - 1, h - 1, 3), accentSoft);
    } else if (s == State::Down) {
        img.fill(box(1, 1, w - 1, h - 1, 3), accent);
        text = white;
    } else {
        img.fill(box(w - 1, 3, w, h - 3), border);
    }
    int px = 12;
    while (px > 8 && font.measure(word, px) > w - 8) --px;
    const int tw = font.measure(word, px);
    const int base = (h + font.ascender(px) - font.descender(px)) / 2 + (s == State::Down ? 1 : 0);
    font.draw(img, word, px, (w - tw) / 2, base, text);
    return img;
}

Image more_button(State s) {
    const int w = 16, h = 36;
    Image img = button_face(w, h, s);
    const ButtonLook l = look(s);
    const double cy = h / 2.0 + l.shift;
    img.fill(polygon({{4, cy - 2}, {12, cy - 2}, {8, cy + 3}}),
             s == State::Disabled ? disabled : ink);
    return img;
}

}  // namespace imagegen::drawing
