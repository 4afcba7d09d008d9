#pragma once
// What the main window does while the picture editor covers it.
#include <cstdint>

namespace orvane {

// Commands that act on the strip's selection or its files (Open, Delete, Copy image, Copy file,
// Save as, Stack focus and their buttons): the strip lies hidden under the editor, so they do
// nothing then.
bool ActsOnStripSelection(uint32_t command);

}  // namespace orvane
