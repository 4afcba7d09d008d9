#pragma once
// The windows that float over the live picture: the crossing cursor and the date and time.
#include "platform/dialog.h"

namespace orvane {

// Clicks never activate an overlay, and it has no taskbar entry.
void MakeNonActivating(HWND window);

// A one-pixel magenta cross through the middle of the live picture: a popup shaped to the two
// lines, so the video underneath shows everywhere else.
class CCross : public Dialog {
  public:
    CCross();
    // Shapes the window to a horizontal and a vertical band of thickness t through its middle.
    void SetCrossShape(int thickness);

  protected:
    void OnOK() override {}
    void OnCancel() override {}
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

// The local date and time, written every second once the first second has passed.
class CTextDlg : public Dialog {
  public:
    CTextDlg();
    bool noClock = false;

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

}  // namespace orvane
