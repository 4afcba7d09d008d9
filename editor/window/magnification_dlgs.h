#pragma once
// The two magnification dialogs: entering a magnification, and calibrating one from a measured
// standard. Their texts come from the caller, in the editor's language.
#include <windows.h>

#include <array>
#include <string>

#include "platform/dialog.h"

namespace orvane {

// Template 246: a magnification 1.00..9999.99; other values keep the dialog open.
class CSetMagnification : public Dialog {
  public:
    explicit CSetMagnification(double start);
    double value;
    std::wstring title, prompt, hint, okText, cancelText;
    // The box shown when the entry is no number, and its caption.
    std::wstring notANumber, notANumberCaption;

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
    std::wstring title;
    std::array<std::wstring, 4> unitLabels;  // mm, µm, mil, inch
    std::wstring actualLabel, adjustedLabel, checkLabel, okText;

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

  private:
    void Recompute();
};

}  // namespace orvane
