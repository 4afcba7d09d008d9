#pragma once
// Memory that runs out while a window handles a message (a huge picture, a long history) ends
// that message's work, never the program: the window procedures catch it at their edge and
// report it here, and the main window tells the user.
#include <windows.h>

#include <new>

namespace orvane {

// The registered message the report is posted as, to the window's top-level owner.
UINT OutOfMemoryMessage();
void ReportOutOfMemory(HWND window);

// Runs handler(); memory running out in it is reported for window and answers fallback.
template <typename Handler, typename Result>
Result GuardAllocations(HWND window, Result fallback, Handler&& handler) {
    try {
        return handler();
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory(window);
        return fallback;
    }
}

}  // namespace orvane
