#include "platform/out_of_memory.h"

namespace orvane {

UINT OutOfMemoryMessage() {
    static const UINT message = RegisterWindowMessageW(L"OrvaneOutOfMemory");
    return message;
}

void ReportOutOfMemory(HWND window) {
    HWND top = window ? GetAncestor(window, GA_ROOTOWNER) : nullptr;
    if (top && OutOfMemoryMessage() != 0) PostMessageW(top, OutOfMemoryMessage(), 0, 0);
}

}  // namespace orvane
