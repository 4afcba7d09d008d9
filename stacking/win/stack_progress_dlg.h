#pragma once
// The small modal box shown while a stack runs: a progress strip and Cancel. It ends by itself
// when the worker is done; Cancel (the button, Esc, the close box) asks the worker to stop and
// the box waits for it, so no run outlives it.
#include "platform/dialog.h"
#include "stacking/win/stack_worker.h"

namespace orvane {

class CStackProgressDlg : public Dialog {
  public:
    explicit CStackProgressDlg(StackWorker& worker);

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    LRESULT OnTimer(WPARAM id, LPARAM);

    StackWorker& worker_;
    bool cancelled_ = false;
};

}  // namespace orvane
