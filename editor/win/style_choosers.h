#pragma once
// The line style and line width choosers: a column of radio buttons, each beside a picture of
// the line it stands for, and OK.
#include <string>

#include "platform/dialog.h"

namespace orvane {

// Shared by both choosers: `selection` is the 0-based index of the checked button, in and out.
// An index out of range opens the chooser with no button checked; OK then answers the first.
class CLineChooser : public Dialog {
  public:
    int32_t selection = 0;
    std::wstring title;
    std::wstring okText;

  protected:
    CLineChooser(UINT templateId, int buttonCount) : Dialog(templateId), count_(buttonCount) {}
    BOOL OnInitDialog() override;
    void OnOK() override;

  private:
    int count_;
};

// Template 235: buttons 533..537 for dash styles 0..4.
class CLineStyle : public CLineChooser {
  public:
    CLineStyle();
};

// Template 236: buttons 533..541 for widths 1..9 (selection = width - 1).
class CLineWidth : public CLineChooser {
  public:
    CLineWidth();
};

}  // namespace orvane
