#include "editor/model/text_entry.h"

#include "editor/model/shape_sketch.h"

namespace orvane::editor {

namespace {

constexpr bool IsLeadSurrogate(uint32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
constexpr bool IsTrailSurrogate(uint32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

bool TextEntry::Char(uint32_t code) {
    if (!Accepts(code) || code > 0xFFFF) return false;
    const size_t room = kMaxUnits - text_.size();
    if (room == 0) return false;
    if (IsLeadSurrogate(code) && room < 2) return false;
    if (IsTrailSurrogate(code) && (text_.empty() || !IsLeadSurrogate(text_.back()))) return false;
    text_.push_back(static_cast<char16_t>(code));
    return true;
}

bool TextEntry::KeyDown(uint32_t virtualKey) {
    if (virtualKey != kKeyBackspace && virtualKey != kKeyDelete) return false;
    if (text_.empty()) return false;
    const bool pair = text_.size() >= 2 && IsTrailSurrogate(text_.back()) &&
                      IsLeadSurrogate(text_[text_.size() - 2]);
    text_.resize(text_.size() - (pair ? 2 : 1));
    return true;
}

Box CursorBlock(Point anchor, int32_t fontHeight) {
    anchor = ClampToLimit(anchor);
    const Point far{SaturateToInt32(int64_t{anchor.x} + fontHeight / 3),
                    SaturateToInt32(int64_t{anchor.y} + fontHeight)};
    return CornerBox(anchor, far, true);
}

PressWhileTyping ClassifyPress(const Box& block, Point press) {
    const bool inside = press.x >= block.left && press.x < block.right && press.y >= block.top &&
                        press.y < block.bottom;
    return inside ? PressWhileTyping::kDiscardText : PressWhileTyping::kCommitText;
}

}  // namespace orvane::editor
