#pragma once
// The modeless notice shown while no camera is found; dismissing it disarms it.
#include "platform/dialog.h"

namespace orvane {

class NotFoundBox : public Dialog {
  public:
    NotFoundBox();
    bool Armed() const { return armed_; }
    void Arm() { armed_ = true; }
    void ShowCentered(HWND over);
    void Hide();

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override { Dismiss(); }
    void OnCancel() override { Dismiss(); }

  private:
    void Dismiss();
    bool armed_ = false;
};

}  // namespace orvane
