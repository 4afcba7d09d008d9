#pragma once
// The main program while it runs: found by its single-instance mutex, and the question that
// asks the user to close it before files are replaced or removed.
#include <windows.h>

#include <string>

namespace orvane::setup {

// True while Orvane runs in this session.
bool OrvaneRunning();

// While Orvane runs, asks to close it (Retry, Cancel) with this caption. True once it no
// longer runs; false when the user cancels.
bool AskUntilOrvaneClosed(HWND owner, WORD language, const std::wstring& caption);

}  // namespace orvane::setup
