#pragma once
// Real mouse and keyboard input, as a user gives it: the system's input queue (SendInput), not
// messages posted to a window.
#include <windows.h>

#include <string>

namespace orvane::test {

POINT CentreOf(HWND window);
// The point (x, y) of the window's client area on the screen.
POINT ClientPoint(HWND window, int x, int y);
void MoveMouseTo(POINT p);
void ClickAt(POINT p);
// Two clicks within the double-click time.
void DoubleClickAt(POINT p);
void PressKey(WORD virtualKey);
// A click with a key held down (VK_CONTROL, VK_SHIFT), as a user extends a selection.
void ClickWithKeyAt(POINT p, WORD virtualKey);
void RightClickAt(POINT p);
// Each character as a Unicode key press.
void TypeText(const std::wstring& text);
// Makes the window the foreground window and waits until it is; false when it never became so.
bool BringToFront(HWND window);

}  // namespace orvane::test
