#pragma once
// "Stack focus" of the main window: the pictures or the clip selected in the strip are stacked
// on a worker thread behind a progress box, and the result becomes a new capture picture with
// its side file, shown in the strip at once. The main window owns one and dispatches the
// command and the menus' preparation to it; the sources are only read.
#include <windows.h>

#include <cstdint>
#include <string>

#include "media/media_browser.h"
#include "media/media_files.h"
#include "media/win/strip_cells.h"
#include "stacking/command/stack_sources.h"
#include "stacking/win/stack_worker.h"

namespace orvane {

// What the command reads of the main window when it runs.
struct StackEnvironment {
    std::u16string pictureFolder;
    std::u16string videoFolder;
    std::u16string thumbFolder;
    double magnification = 0.0;  // set now: a clip's side file stands in for none
    uint32_t deviceCode = 0;     // of the camera open now, 0 without one
};

class FocusStackCommand {
  public:
    FocusStackCommand(StripCells& strip, MediaBrowser& media, MediaFiles& files, MediaClock& clock)
        : strip_(strip), media_(media), files_(files), clock_(clock) {}

    // Enables the command in a popup holding it when the selection can be stacked, greys it
    // otherwise.
    void PrepareMenu(HMENU popup, std::u16string_view thumbFolder) const;
    // The same for a cell's context menu, opened by a right click (flags) on cell whose
    // selection change is still on its way: the command is judged by the selection it leads to.
    void PrepareContextMenu(HMENU popup, HWND cell, uint32_t flags,
                            std::u16string_view thumbFolder) const;

    // Stacks the selection; says why when it cannot, and stores nothing then or on Cancel.
    void Run(HWND owner, const StackEnvironment& environment);

  private:
    void Store(HWND owner, const StackEnvironment& environment,
               const stacking::StackSources& sources, const StackResult& result);

    StripCells& strip_;
    MediaBrowser& media_;
    MediaFiles& files_;
    MediaClock& clock_;
};

// The selection's paths in order.
std::vector<std::u16string> SelectedPaths(const StripSelection& selection);

}  // namespace orvane
