#pragma once
// The uninstaller's one dialog: Uninstall runs the removal on a worker thread and ends the
// dialog with IDOK when it has finished; Cancel, Esc and the close box end it with IDCANCEL.
#include <windows.h>

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

    SequenceState state_;
    bool working_ = false;
    std::thread worker_;
};

class CIvoraUninstallApp {
  public:
    int InitInstance();
};

// Starts a hidden command interpreter that deletes this program's file once it has exited.
void DeleteOwnFileAfterExit();

}  // namespace orvane::setup
