#pragma once
// The time-lapse dialog: photo or video mode, start time, interval, clip length and number of
// photos or clips. It starts and stops the series by posting WM_TIMELAPSE_NOTIFY to its owner,
// whose timer runs the schedule; it stays open until its window is closed.
#include <cstdint>

#include "capture/timelapse/timelapse_values.h"
#include "platform/dialog.h"

namespace orvane {

class CMutilSegmentPhotoVideoDlg : public Dialog {
  public:
    CMutilSegmentPhotoVideoDlg();

    // Kept for the whole run, so a reopened dialog shows what was set before.
    TimeLapseValues values;
    int64_t startTime = 0;  // local time (100-ns count) the picker held at Start

    // Shows the values in the fields; the series calls it after each photo or clip.
    void ShowValues();
    // Closes the window, as its close box would.
    void Close();

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override;      // Start, also the Enter key
    void OnCancel() override;  // Stop, also the Escape key
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    void OnRadio(UINT id);
    // Stops the series and, when the mode changes (or always when full), enables the fields
    // of the mode and starts over from the present with nothing captured.
    void ApplyMode(TimeLapseMode mode, bool full);
    // Takes the numbers from the fields; at the first one that is no unsigned number it says
    // so, leaves that value as it was and answers false.
    bool ReadValues();
    void KeepPickerCurrent();
    void SetPickerToPresent();
    void Notify(WPARAM action);
};

}  // namespace orvane
