#include "widgets/menu_draw_rules.h"

namespace orvane {

namespace {

// Start and end of a picture dimension `size` centred in `span`.
void Centre(int size, int span, int& from, int& to) {
    if (size < span) {
        from = (span - size) / 2;
        to = size + (span - size) / 2;
    } else {
        from = 1;
        to = span;
    }
}

}  // namespace

MenuIconBox MenuIconBoxFor(int width, int height) {
    MenuIconBox box{};
    Centre(width, kMenuColumnWidth, box.left, box.right);
    Centre(height, kMenuBoxHeight, box.top, box.bottom);
    return box;
}

MenuItemSize MenuItemSizeFor(uint32_t commandId) {
    return {kMenuItemWidth, commandId == 0 ? kMenuSeparatorHeight : kMenuItemHeight};
}

uint32_t GradientRowColour(uint32_t start, uint32_t end, int rows, int row) {
    if (rows <= 0) return start & 0xFFFFFF;
    uint32_t colour = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int from = static_cast<int>((start >> shift) & 0xFF);
        const int to = static_cast<int>((end >> shift) & 0xFF);
        const int step = (to - from) / rows;
        const auto value = static_cast<uint32_t>(from + step * row) & 0xFF;
        colour |= value << shift;
    }
    return colour;
}

}  // namespace orvane
