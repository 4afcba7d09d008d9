#pragma once
// Owner-drawn buttons report a double click as BN_DOUBLECLICKED instead of a second press; a
// push button counts every press. These helpers make both kinds behave as push buttons.
#include <windows.h>

namespace orvane {

// From now on a double click on the button is a second press and release (a second
// BN_CLICKED), never BN_DOUBLECLICKED. The button keeps the change until it is destroyed.
void TakeDoubleClicksAsClicks(HWND button);

// True when WM_COMMAND's notification from control is a button's notification other than a
// click: such notifications are not commands.
bool IsButtonNotificationOtherThanClick(HWND control, UINT code);

}  // namespace orvane
