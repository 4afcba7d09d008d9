#include "app/dialogs/not_found_box.h"

#include "app/messages.h"
#include "resources/resource.h"

namespace orvane {

NotFoundBox::NotFoundBox() : Dialog(IDD_INFO) {}

BOOL NotFoundBox::OnInitDialog() {
    // The notice keeps the texts of the start-up language for the whole run.
    SetWindowTextW(Hwnd(), MessageText(kMsgOrvane).c_str());
    SetItemText(IDC_STATIC, MessageText(kMsgDeviceNotFound).c_str());
    SetItemText(IDOK, MessageText(kMsgOK).c_str());
    return TRUE;
}

void NotFoundBox::ShowCentered(HWND over) {
    if (!Hwnd()) return;
    CenterOn(over);
    ShowWindow(Hwnd(), SW_SHOW);
}

void NotFoundBox::Hide() {
    if (Hwnd()) ShowWindow(Hwnd(), SW_HIDE);
}

void NotFoundBox::Dismiss() {
    Hide();
    armed_ = false;
}

}  // namespace orvane
