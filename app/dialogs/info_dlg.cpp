#include "app/dialogs/info_dlg.h"

#include "app/messages.h"
#include "resources/resource.h"

namespace orvane {

CInfoDlg::CInfoDlg() : Dialog(IDD_INFO) {}

void CInfoDlg::SetMessages(int captionMessage, int textMessage, int buttonMessage) {
    caption = MessageText(captionMessage);
    text = MessageText(textMessage);
    buttonText = MessageText(buttonMessage);
}

BOOL CInfoDlg::OnInitDialog() {
    SetWindowTextW(Hwnd(), caption.c_str());
    SetItemText(IDC_STATIC, text.c_str());
    SetItemText(IDOK, buttonText.c_str());
    CenterOn(GetWindow(Hwnd(), GW_OWNER));
    return TRUE;
}

}  // namespace orvane
