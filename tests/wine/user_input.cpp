#include "user_input.h"

#include "orvane_process.h"

namespace orvane::test {
namespace {

void Send(INPUT* inputs, UINT count) {
    SendInput(count, inputs, sizeof(INPUT));
}

INPUT Mouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return input;
}

}  // namespace

POINT CentreOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

POINT ClientPoint(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return p;
}

void MoveMouseTo(POINT p) {
    SetCursorPos(p.x, p.y);
    INPUT move = Mouse(MOUSEEVENTF_MOVE);
    Send(&move, 1);
    SleepMs(50);
}

void ClickAt(POINT p) {
    MoveMouseTo(p);
    INPUT click[2] = {Mouse(MOUSEEVENTF_LEFTDOWN), Mouse(MOUSEEVENTF_LEFTUP)};
    Send(click, 2);
    SleepMs(50);
}

void DoubleClickAt(POINT p) {
    MoveMouseTo(p);
    INPUT clicks[4] = {Mouse(MOUSEEVENTF_LEFTDOWN), Mouse(MOUSEEVENTF_LEFTUP),
                       Mouse(MOUSEEVENTF_LEFTDOWN), Mouse(MOUSEEVENTF_LEFTUP)};
    Send(clicks, 4);
    SleepMs(50);
}

void PressKey(WORD virtualKey) {
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = virtualKey;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    Send(keys, 2);
    SleepMs(50);
}

void ClickWithKeyAt(POINT p, WORD virtualKey) {
    MoveMouseTo(p);
    INPUT input[4] = {};
    input[0].type = input[3].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[3].ki.wVk = virtualKey;
    input[3].ki.dwFlags = KEYEVENTF_KEYUP;
    input[1] = Mouse(MOUSEEVENTF_LEFTDOWN);
    input[2] = Mouse(MOUSEEVENTF_LEFTUP);
    Send(input, 4);
    SleepMs(50);
}

void RightClickAt(POINT p) {
    MoveMouseTo(p);
    INPUT click[2] = {Mouse(MOUSEEVENTF_RIGHTDOWN), Mouse(MOUSEEVENTF_RIGHTUP)};
    Send(click, 2);
    SleepMs(50);
}

void TypeText(const std::wstring& text) {
    for (wchar_t c : text) {
        INPUT keys[2] = {};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wScan = keys[1].ki.wScan = c;
        keys[0].ki.dwFlags = KEYEVENTF_UNICODE;
        keys[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        Send(keys, 2);
        SleepMs(30);
    }
}

bool BringToFront(HWND window) {
    for (int i = 0; i < 50; ++i) {
        if (GetForegroundWindow() == window) return true;
        SetForegroundWindow(window);
        SleepMs(100);
    }
    return GetForegroundWindow() == window;
}

}  // namespace orvane::test
