#pragma once
// The main window's fixed table of control positions; right and bottom edges follow the client
// area.
#include <array>
#include <cstdint>

namespace orvane {

enum class LayoutKind : uint8_t {
    None = 0,
    Preview = 1,
    Cell = 2,
    ToolButton = 3,
    MenuButton = 5,
    Moved = 7,
    MovedFrame = 8,
};

struct LayoutEntry {
    LayoutKind kind;
    int id;
    int x, y, width, height;
    int show;  // 5 shown, 0 hidden
};

constexpr int kLayoutEntries = 37;
constexpr int kLargePreviewCellId = 8448;

// The table for a client area whose right and bottom coordinates are r and b.
std::array<LayoutEntry, kLayoutEntries> BuildLayoutTable(int r, int b);

// Number of thumbnail cells that fit the strip: two per full 120-pixel row, at most 16.
int VisibleCells(int b);

struct Rect {
    int x, y, width, height;
    bool operator==(const Rect&) const = default;
};

// The preview rectangle clamped to the 560 x 410 no-camera picture, centred in it.
Rect LogoRect(const Rect& preview);

}  // namespace orvane
