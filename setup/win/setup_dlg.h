#pragma once
// The setup wizard: a frame with Back, Next, Finish and Cancel over a page area that shows the
// operation page (when an installation is registered), the folder page and the progress page.
#include <windows.h>

#include <memory>
#include <thread>
#include <vector>

#include "platform/dialog.h"
#include "setup/logic/install_steps.h"
#include "setup/logic/wizard_rules.h"

namespace orvane::setup {

// Progress value in wParam, sent to the progress page; completion, sent to the frame; the
// report of a failed run, posted to the frame once the worker has been answered.
constexpr UINT WM_SETUP_PROGRESS = WM_APP + 1;
constexpr UINT WM_SETUP_DONE = WM_APP + 2;
constexpr UINT WM_SETUP_REPORT = WM_APP + 3;

// What the pages share with the frame.
struct WizardData {
    WORD language = kLangEnglish;
    Mode mode = Mode::Install;
    SequenceState state;    // installPath and previousInstall
    SequenceResult result;  // of the last run, set by the worker before WM_SETUP_DONE
    std::wstring Text(UINT message) const;
};

// A page: one modeless child dialog in the frame's page area.
class WizardPage : public Dialog {
  public:
    WizardPage(UINT templateId, WizardData& data) : Dialog(templateId), data_(data) {}

  protected:
    WizardData& data_;
};

class CIvoraSetupOp : public WizardPage {
  public:
    explicit CIvoraSetupOp(WizardData& data) : WizardPage(131, data) {}

  protected:
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
};

class CIvoraSetupLa : public WizardPage {
  public:
    explicit CIvoraSetupLa(WizardData& data) : WizardPage(132, data) {}

  protected:
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

  private:
    void Browse();
};

class CIvoraSetupIn : public WizardPage {
  public:
    explicit CIvoraSetupIn(WizardData& data) : WizardPage(134, data) {}

  protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

// "Are you sure you want to exit?"; IDOK for Yes.
class CIvoraSetupEx : public Dialog {
  public:
    explicit CIvoraSetupEx(const WizardData& data) : Dialog(135), data_(data) {}

  protected:
    BOOL OnInitDialog() override;

  private:
    const WizardData& data_;
};

class CIvoraSetupDlg : public Dialog {
  public:
    explicit CIvoraSetupDlg(WORD language);
    ~CIvoraSetupDlg() override;

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override { CloseRequest(); }
    void OnCancel() override { CloseRequest(); }
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    struct PageRecord {
        int number;
        std::unique_ptr<WizardPage> page;
    };
    void AddPage(std::unique_ptr<WizardPage> page, const RECT& area);
    void ShowPage(int n);
    void Next();
    void Back();
    void CloseRequest();
    void StartWorker();
    void Work(HWND frame, HWND progressPage);
    void EnableClose(bool enable);
    bool TakeFolder();
    void ShowFailure(const std::wstring& text);

    WizardData data_;
    std::vector<PageRecord> pages_;
    int currentPage_ = 1;
    bool working_ = false;
    std::thread worker_;
};

class CIvoraSetupApp {
  public:
    int InitInstance();
};

}  // namespace orvane::setup
