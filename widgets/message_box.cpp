#include "widgets/message_box.h"

#include "resources/resource.h"

namespace orvane {

CMessageBox::CMessageBox() : Dialog(IDD_MESSAGE_BOX) {}

void CMessageBox::SetTexts(std::wstring_view c, std::wstring_view t, std::wstring_view b1,
                           std::wstring_view b7) {
    CopyTruncated(caption, c);
    CopyTruncated(text, t);
    CopyTruncated(button1, b1);
    CopyTruncated(button7, b7);
}

BOOL CMessageBox::OnInitDialog() {
    if (oneButton) {
        ShowWindow(Item(IDC_MESSAGE_BUTTON7), SW_HIDE);
        RECT client{}, button{};
        GetClientRect(Hwnd(), &client);
        GetWindowRect(Item(IDOK), &button);
        MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&button), 2);
        const int width = button.right - button.left;
        SetWindowPos(Item(IDOK), nullptr, (client.right - width) / 2, button.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
    }
    // The buffers are terminated by construction; make sure even after direct writes.
    caption.back() = text.back() = button1.back() = button7.back() = L'\0';
    SetWindowTextW(Hwnd(), caption.data());
    SetItemText(IDC_STATIC, text.data());
    SetItemText(IDOK, button1.data());
    SetItemText(IDC_MESSAGE_BUTTON7, button7.data());
    return TRUE;
}

bool CMessageBox::OnCommand(UINT id, UINT, HWND) {
    if (id != IDC_MESSAGE_BUTTON7) return false;
    EndDialog(IDC_MESSAGE_BUTTON7);
    return true;
}

}  // namespace orvane
