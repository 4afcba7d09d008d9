#pragma once
// Sizes, colours and the picture box of the owner-drawn menu items.
#include <cstdint>

namespace orvane {

inline constexpr int kMenuItemWidth = 280;
inline constexpr int kMenuItemHeight = 22;
inline constexpr int kMenuSeparatorHeight = 3;
inline constexpr int kMenuColumnWidth = 40;  // picture column; the text starts after it
inline constexpr int kMenuBoxHeight = 20;    // height the picture is centred in

// Colours as 0x00BBGGRR.
inline constexpr uint32_t kMenuGrey = 0x7F7F7F;  // disabled text, separator, gradient top
inline constexpr uint32_t kMenuWhite = 0xFFFFFF;
inline constexpr uint32_t kMenuBlack = 0x000000;
inline constexpr uint32_t kMenuBackground = 0xEEE9E9;  // RGB(233, 233, 238)
inline constexpr uint32_t kMenuSeparatorDark = 0x3F3F3F;

// Offsets from an item's top-left corner of the box a check mark or icon is drawn in.
struct MenuIconBox {
    int left, top, right, bottom;
    bool operator==(const MenuIconBox&) const = default;
};

// A picture of width x height centred in the 40 x 20 column; a dimension that does not fit
// spans 1 .. 40 (or 1 .. 20).
MenuIconBox MenuIconBoxFor(int width, int height);

struct MenuItemSize {
    int width, height;
    bool operator==(const MenuItemSize&) const = default;
};

// Command id 0 is a separator.
MenuItemSize MenuItemSizeFor(uint32_t commandId);

// Colour of row `row` of a vertical gradient `rows` high from `start` towards `end`: each
// channel moves by (end - start) / rows, truncated, per row and keeps its low 8 bits.
uint32_t GradientRowColour(uint32_t start, uint32_t end, int rows, int row);

}  // namespace orvane
