#pragma once
// What the style and width choosers offer and what their OK answers.
#include <cstdint>

namespace orvane::editor {

// Button k of the style chooser stands for dash style k, button k of the width chooser for
// width k + 1.
inline constexpr int32_t kStyleCount = 5;
inline constexpr int32_t kWidthCount = 9;

// A stored value out of range (a damaged record) opens a chooser with no button checked; OK
// then answers the first button, which is a valid value in both: the solid style, width 1.
constexpr int32_t ChoiceOnOk(int32_t checkedButton, int32_t buttonCount) {
    return checkedButton >= 0 && checkedButton < buttonCount ? checkedButton : 0;
}

}  // namespace orvane::editor
