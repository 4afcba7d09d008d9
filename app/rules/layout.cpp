#include "app/rules/layout.h"

#include <algorithm>

namespace orvane {

int VisibleCells(int b) {
    const int rows = (b - 105) >= 0 ? (b - 105) / 120 : 0;
    return std::min(2 * rows, 16);
}

std::array<LayoutEntry, kLayoutEntries> BuildLayoutTable(int r, int b) {
    using K = LayoutKind;
    std::array<LayoutEntry, kLayoutEntries> t{};
    int i = 0;
    auto add = [&](K kind, int id, int x, int y, int w, int h, int show) {
        t[i++] = {kind, id, x, y, w, h, show};
    };
    add(K::None, 0, 0, 0, 800, 600, 5);
    add(K::MenuButton, 1005, 0, 0, 120, 16, 5);
    add(K::MenuButton, 1006, 120, 0, 120, 16, 5);
    add(K::MenuButton, 1007, 240, 0, 120, 16, 5);
    add(K::MenuButton, 1008, 360, 0, 120, 16, 5);
    add(K::MovedFrame, 1089, 3, 18, 273, b - 101, 5);
    add(K::MovedFrame, 1090, 256, 20, 18, b - 105, 5);
    add(K::Preview, 0, 280, 18, r - 283, b - 62, 5);
    add(K::Cell, kLargePreviewCellId, 280, 18, r - 283, b - 62, 0);
    // Cells alternate left and right column, row by row.
    for (int row = 0; row < 8; ++row) {
        add(K::Cell, 8192 + row, 10, 20 + 120 * row, 118, 120, 5);
        add(K::Cell, 8200 + row, 128, 20 + 120 * row, 118, 120, 5);
    }
    add(K::ToolButton, 1025, 3, b - 80, 68, 36, 5);
    add(K::ToolButton, 1030, 71, b - 80, 68, 36, 5);
    add(K::ToolButton, 1028, 139, b - 80, 68, 36, 5);
    add(K::ToolButton, 1022, 207, b - 80, 68, 36, 5);
    add(K::ToolButton, 1024, 3, b - 39, 68, 36, 5);
    add(K::ToolButton, 1023, 71, b - 39, 68, 36, 5);
    add(K::ToolButton, 1031, 139, b - 39, 68, 36, 5);
    add(K::ToolButton, 1032, 207, b - 39, 68, 36, 5);
    add(K::Moved, 1027, 280, b - 39, 160, 24, 5);
    add(K::Moved, 1004, 440, b - 39, 90, 21, 5);
    add(K::ToolButton, 1021, r - 333, b - 39, 160, 36, 5);
    add(K::ToolButton, 1018, r - 163, b - 39, 160, 36, 5);
    return t;
}

Rect LogoRect(const Rect& preview) {
    Rect logo = preview;
    if (logo.width > 560) {
        logo.x += (logo.width - 560) / 2;
        logo.width = 560;
    }
    if (logo.height > 410) {
        logo.y += (logo.height - 410) / 2;
        logo.height = 410;
    }
    return logo;
}

}  // namespace orvane
