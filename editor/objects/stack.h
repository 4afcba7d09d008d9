#pragma once
// The editor's picture history: up to 16 bitmaps, owned and deleted by the history.
#include <windows.h>

#include "editor/model/history.h"

namespace orvane {

struct HistoryBitmapTraits {
    static HBITMAP Invalid() { return nullptr; }
    static void Close(HBITMAP bitmap) { DeleteObject(bitmap); }
};

// Push takes ownership of the bitmap; Undo, Redo and Current lend the bitmap they answer,
// which stays the history's (select it, copy it, never delete it).
class Stack : public editor::BoundedHistory<HBITMAP, HistoryBitmapTraits> {
  public:
    explicit Stack(int32_t n = kMaxCapacity) : BoundedHistory(n) {}
};

}  // namespace orvane
