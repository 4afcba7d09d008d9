#pragma once
// The uninstaller's one dialog: Uninstall runs the removal on a worker thread and ends the
// dialog with IDOK when it has finished; Cancel, Esc and the close box end it with IDCANCEL.
// While Orvane runs nothing is removed: the user is asked to close it, and a removal that
// could not start is reported with the dialog ready again.
#include <windows.h>

#include <string>
#include <thread>

#include "platform/dialog.h"
#include "setup/logic/install_steps.h"

namespace orvane::setup {

class CIvoraUninstallDlg : public Dialog {
  public:
    explicit CIvoraUninstallDlg(WORD language);
    ~CIvoraUninstallDlg() override;

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    void Work(HWND dialog, HWND bar);
    void SetWorking(bool working);
    std::wstring Caption() const;

    WORD language_;
    SequenceState state_;
    SequenceResult result_;  // set by the worker before it reports the end
    bool working_ = false;
    std::thread worker_;
};

class CIvoraUninstallApp {
  public:
    int InitInstance();
};

// Starts the system's command interpreter, hidden, to delete this program's file once it has
// exited.
void DeleteOwnFileAfterExit();

}  // namespace orvane::setup
