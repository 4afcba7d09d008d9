#pragma once
// The annotation objects: a free-hand stroke, a line, arrow, rectangle or ellipse, and a typed
// text with its cursor block.
#include <string>
#include <vector>

#include "editor/model/shape_sketch.h"
#include "editor/model/text_entry.h"
#include "editor/objects/draw_object.h"

namespace orvane {

class CDrawPen : public CDrawObject {
  public:
    // Stores the colour, width and style and makes the stroke pen of them.
    void SetPen(COLORREF color, int32_t width, int32_t style);
    void AddPoint(POINT p) { points.push_back(p); }
    // Nothing without points; else a line from the first point through every point in turn.
    void Draw(HDC dc) override;

    std::vector<POINT> points;
    COLORREF color = 0;

  private:
    LineTools tools_;
};

class CDrawShape : public CDrawObject {
  public:
    static constexpr int32_t kLine = 1, kRectangle = 2, kEllipse = 3, kArrow = 5;

    CDrawShape(int32_t kind, const RECT& rect);
    // Stores the colour, width and style; makes the outline pen, the guide pen and the hollow
    // brush.
    void SetPen(COLORREF color, int32_t width, int32_t style);
    // Lines and arrows keep their corners as given; rectangles and ellipses are normalised.
    void SetCorners(POINT p1, POINT p2) override;
    // Stage 1 lines and arrows run between rect's corners with guides through start and end;
    // stage 2 from start to end. An arrow has its head at the tip.
    void Draw(HDC dc) override;

    int32_t kind;
    POINT start{};
    POINT end{};
    int32_t stage = 1;  // 2 once the second click fixed a line's or arrow's end
    COLORREF color = 0;

  private:
    LineTools tools_;
};

class CDrawText : public CDrawObject {
  public:
    CDrawText() = default;
    // Makes the font of the description and stores the text colour.
    void SetFont(const LOGFONTW& font, COLORREF color);
    void SetPosition(POINT p) { position = p; }
    // Replaces the text; characters a user could not type, and those beyond the limit, are left
    // out.
    void SetText(std::wstring_view text);
    const std::wstring& Text() const { return text_; }

    // Typing: a WM_CHAR code, a WM_KEYDOWN key (Delete, Backspace). True when the text changed.
    bool OnChar(WPARAM code);
    bool OnKeyDown(WPARAM key);
    static bool EndsText(WPARAM key) {
        return editor::TextEntry::EndsText(static_cast<uint32_t>(key));
    }

    // rect becomes the cursor block of a text started at anchor, sized by the font's height.
    void PlaceCursorBlock(POINT anchor);
    // What a press while typing does: inside the block it discards the text, else commits it.
    editor::PressWhileTyping ClassifyPress(POINT press) const;
    int32_t FontHeight() const { return fontHeight_; }

    // While not committed, inverts rect as the typing cursor; the text's top-left corner is at
    // (rect.right, rect.top).
    void Draw(HDC dc) override;

    int32_t committed = 0;
    COLORREF color = 0;
    POINT position{};

  private:
    void Sync();
    editor::TextEntry entry_;
    std::wstring text_;
    UniqueFont font_;
    int32_t fontHeight_ = 0;
};

}  // namespace orvane
