#pragma once
// The two magnification dialogs: entering a magnification, and calibrating one from a measured
// standard.
#include <windows.h>

#include <string>

#include "platform/dialog.h"

namespace orvane {

// Template 246: a magnification 1.00..9999.99; other values keep the dialog open.
class CSetMagnification : public Dialog {
  public:
    explicit CSetMagnification(double start);
    double value;

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};

// Template 258: the actual size of the standard gives the adjusted magnification as typed.
class CAdjustMagnificationDlg : public Dialog {
  public:
    CAdjustMagnificationDlg();
    double actual = 0.0;
    int32_t unit = 0;
    double measured = 0.0;
    double reference = 0.0;
    double adjusted = 0.0;
    int32_t useAdjusted = 1;

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

  private:
    void Recompute();
};

}  // namespace orvane
