#include "stacking/win/stack_progress_dlg.h"

#include <commctrl.h>

#include "app/messages.h"
#include "resources/resource.h"
#include "stacking/win/stack_messages.h"

namespace orvane {
namespace {
constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMs = 100;
}  // namespace

CStackProgressDlg::CStackProgressDlg(StackWorker& worker)
    : Dialog(IDD_STACK_PROGRESS), worker_(worker) {}

BOOL CStackProgressDlg::OnInitDialog() {
    SetWindowTextW(Hwnd(), MessageText(kMsgStackTitle).c_str());
    SetItemText(IDC_STACK_TEXT, MessageText(kMsgStackWorking).c_str());
    SetItemText(IDCANCEL, MessageText(kMsgCancel).c_str());
    SendMessageW(Item(IDC_STACK_PROGRESS), PBM_SETRANGE32, 0, 1000);
    CenterOn(GetWindow(Hwnd(), GW_OWNER));
    SetTimer(Hwnd(), kPollTimer, kPollMs, nullptr);
    return TRUE;
}

void CStackProgressDlg::OnCancel() {
    if (cancelled_) return;
    cancelled_ = true;
    worker_.Cancel();
    EnableWindow(Item(IDCANCEL), FALSE);
}

bool CStackProgressDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr MessageEntry<CStackProgressDlg> messages[] = {
        {WM_TIMER, &CStackProgressDlg::OnTimer},
    };
    return DispatchMessageTo<CStackProgressDlg>(this, messages, message, wParam, lParam, result);
}

LRESULT CStackProgressDlg::OnTimer(WPARAM id, LPARAM) {
    if (id != kPollTimer) return 0;
    SendMessageW(Item(IDC_STACK_PROGRESS), PBM_SETPOS, static_cast<WPARAM>(worker_.Progress()), 0);
    if (worker_.Done()) {
        KillTimer(Hwnd(), kPollTimer);
        EndDialog(cancelled_ ? IDCANCEL : IDOK);
    }
    return 0;
}

}  // namespace orvane
