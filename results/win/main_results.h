#pragma once
// What the main window does with calibrated results: the live picture's scale bar (its menu
// item and setting), and the scale bar and TIFF form of "Save as" copies. The main window owns
// one and dispatches to it.
#include <windows.h>

#include "media/media_info.h"
#include "media/win/stamped_save.h"
#include "results/win/live_scale_bar.h"
#include "results/win/results_settings.h"

namespace orvane::results {

class MainWindowResults {
  public:
    MainWindowResults();
    bool Create(HWND owner);

    // The Setting menu's "Scale bar": on or off, stored at once.
    void ToggleLiveBar();
    bool LiveBarOn() const { return settings_.showLiveBar; }
    // Shows, moves or hides the live bar for the live picture as it is now.
    void FollowLive(const LiveBarInputs& inputs);
    const LiveScaleBar& LiveBar() const { return bar_; }

    // The stamp choice of "Save as" copies.
    bool StampBar() const { return settings_.stampBar; }
    void SetStampBar(bool on);

    // Gives a "Save as" request the scale bar stamp (when chosen) and the calibrated TIFF form
    // for a ".TIF" target, both by the picture's record.
    void PrepareSave(StampedSaveRequest& request, const MediaInfoRecord& record) const;

  private:
    ResultsSettings settings_;
    LiveScaleBar bar_;
};

// ".TIF" or ".TIFF" at the end, any case.
bool IsTiffPath(const std::wstring& path);

// The rows written as an uncompressed TIFF that carries the copy's calibration; false when the
// file cannot be written in full.
bool WriteCalibratedTiff(const std::wstring& path, const PixelRows& rows, const Conversion& copy);

}  // namespace orvane::results
