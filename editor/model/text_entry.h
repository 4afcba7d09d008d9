#pragma once
// Typing a text into the picture: which characters and keys change it, its length limit, the
// cursor block drawn before the text and what a press while typing does.
#include <cstddef>
#include <cstdint>
#include <string>

#include "editor/geometry/plane.h"

namespace orvane::editor {

// The text a user types, in UTF-16 code units, at most kMaxUnits long.
class TextEntry {
  public:
    static constexpr size_t kMaxUnits = 1023;
    static constexpr uint32_t kKeyBackspace = 0x08;
    static constexpr uint32_t kKeyEnter = 0x0D;
    static constexpr uint32_t kKeyDelete = 0x2E;

    // Printable codes: 0x20..0x7F and 0x100 and above. Control codes and 0x80..0xFF are not.
    static constexpr bool Accepts(uint32_t code) {
        return (code >= 0x20 && code <= 0x7F) || code >= 0x100;
    }

    // A character message: appends an accepted code while there is room; true when the text
    // changed. A surrogate pair is kept whole: its first half needs room for both, and a second
    // half that follows no first half is dropped.
    bool Char(uint32_t code);
    // A key-down: Delete and Backspace remove the last character (a whole surrogate pair); true
    // when the text changed.
    bool KeyDown(uint32_t virtualKey);
    static constexpr bool EndsText(uint32_t virtualKey) { return virtualKey == kKeyEnter; }

    void Clear() { text_.clear(); }
    const std::u16string& Text() const { return text_; }

  private:
    std::u16string text_;
};

// The cursor block of a text started at anchor with a font of height h (negative for a
// character height): the corners anchor and anchor + (h / 3, h), normalised. For h < 0 it is
// |h| / 3 wide and |h| high, its right edge at the anchor's x and its bottom at the anchor's y.
Box CursorBlock(Point anchor, int32_t fontHeight);

// Where a text's characters start: the block's top right corner.
constexpr Point TextOrigin(const Box& block) {
    return {block.right, block.top};
}

// A press while a text is being typed: inside the cursor block (left and top edges included,
// right and bottom excluded) it throws the text away, anywhere else it commits it. Either way a
// new text starts at the press.
enum class PressWhileTyping { kCommitText, kDiscardText };
PressWhileTyping ClassifyPress(const Box& block, Point press);

}  // namespace orvane::editor
