#include "platform/dialog.h"

#include "platform/out_of_memory.h"

namespace orvane {

Dialog::~Dialog() {
    Destroy();
}

HINSTANCE Dialog::Instance() {
    return GetModuleHandleW(nullptr);
}

void Dialog::Destroy() {
    if (hwnd_) {
        HWND hwnd = hwnd_;
        hwnd_ = nullptr;
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        DestroyWindow(hwnd);
    }
}

bool Dialog::Create(HWND owner) {
    if (hwnd_) return true;
    modal_ = false;
    return CreateFromTemplate(owner) != nullptr;
}

HWND Dialog::CreateFromTemplate(HWND owner) {
    if (templateLanguage_) {
        HRSRC found = FindResourceExW(Instance(), RT_DIALOG, MAKEINTRESOURCEW(templateId_),
                                      templateLanguage_);
        HGLOBAL loaded = found ? LoadResource(Instance(), found) : nullptr;
        if (const void* bytes = loaded ? LockResource(loaded) : nullptr) {
            return CreateDialogIndirectParamW(Instance(), static_cast<LPCDLGTEMPLATEW>(bytes),
                                              owner, Proc, reinterpret_cast<LPARAM>(this));
        }
    }
    return CreateDialogParamW(Instance(), MAKEINTRESOURCEW(templateId_), owner, Proc,
                              reinterpret_cast<LPARAM>(this));
}

INT_PTR Dialog::DoModal(HWND owner) {
    if (hwnd_) return -1;
    modal_ = true;
    ended_ = false;
    result_ = -1;
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (!CreateFromTemplate(owner)) {
        return -1;
    }
    if (ownerWasEnabled) EnableWindow(owner, FALSE);
    if (!ended_) {
        ShowWindow(hwnd_, SW_SHOW);
        RunModalLoop();
    }
    if (ownerWasEnabled) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    Destroy();
    modal_ = false;
    return result_;
}

void Dialog::RunModalLoop() {
    MSG msg;
    while (!ended_) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // WM_QUIT ends this run; an outer loop sees it again.
            PostQuitMessage(static_cast<int>(msg.wParam));
            ended_ = true;
            break;
        }
        if (got < 0) break;
        if (!PreTranslateMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

void Dialog::EndDialog(INT_PTR result) {
    result_ = result;
    ended_ = true;
    if (!modal_) Destroy();
    // Wake the loop in case no further message is on its way.
    if (modal_ && hwnd_) PostMessageW(hwnd_, WM_NULL, 0, 0);
}

void Dialog::CenterOn(HWND reference) {
    RECT area{};
    if (!reference || !IsWindowVisible(reference) || IsIconic(reference)) {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    } else {
        GetWindowRect(reference, &area);
    }
    RECT self{};
    GetWindowRect(hwnd_, &self);
    const int w = self.right - self.left;
    const int h = self.bottom - self.top;
    SetWindowPos(hwnd_, nullptr, area.left + (area.right - area.left - w) / 2,
                 area.top + (area.bottom - area.top - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Dialog::OnCommand(UINT, UINT, HWND) {
    return false;
}

bool Dialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

bool Dialog::TranslateOwnKeys(MSG& msg) {
    if (!hwnd_ || !msg.hwnd || !IsWindowVisible(hwnd_)) return false;
    if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
    return IsDialogMessageW(hwnd_, &msg) != FALSE;
}

INT_PTR CALLBACK Dialog::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;
    return GuardAllocations(hwnd, INT_PTR{FALSE}, [&] { return self->Handle(message, wParam, lParam); });
}

INT_PTR Dialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_COMMAND: {
            const UINT id = LOWORD(wParam);
            if (OnCommand(id, HIWORD(wParam), reinterpret_cast<HWND>(lParam))) return TRUE;
            if (id == IDOK) {
                OnOK();
                return TRUE;
            }
            if (id == IDCANCEL) {
                OnCancel();
                return TRUE;
            }
            break;
        }
        default:
            break;
    }
    LRESULT result = 0;
    if (OnMessage(message, wParam, lParam, result)) {
        // Messages whose answer is the return value itself; the rest answer via DWLP_MSGRESULT.
        switch (message) {
            case WM_CTLCOLORMSGBOX:
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORLISTBOX:
            case WM_CTLCOLORBTN:
            case WM_CTLCOLORDLG:
            case WM_CTLCOLORSCROLLBAR:
            case WM_CTLCOLORSTATIC:
            case WM_COMPAREITEM:
            case WM_VKEYTOITEM:
            case WM_CHARTOITEM:
            case WM_QUERYDRAGICON:
            case WM_INITDIALOG:
                return static_cast<INT_PTR>(result);
            default:
                SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
                return TRUE;
        }
    }
    return FALSE;
}

}  // namespace orvane
