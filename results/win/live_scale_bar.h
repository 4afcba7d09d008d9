#pragma once
// The scale bar over the live picture's bottom-right corner: a small popup of its own, like the
// crossing cursor, that never takes a click or the focus. Its length follows the magnification
// field, the camera and resolution, and the live picture's size on screen.
#include <windows.h>

#include <optional>

#include "platform/handles.h"
#include "results/scale_bar.h"

namespace orvane::results {

struct LiveBarInputs {
    HWND live = nullptr;      // the live picture's window; none: no bar
    uint32_t deviceCode = 0;  // of the camera in use
    uint32_t stillSize = 0;   // its still size, as photos record it
    int32_t frameWidth = 0;   // the live picture's own pixel size
    int32_t frameHeight = 0;
    double magnification = 0;  // the magnification field's value
    Unit unit = Unit::kMillimetre;
};

class LiveScaleBar {
  public:
    LiveScaleBar() = default;
    LiveScaleBar(const LiveScaleBar&) = delete;
    LiveScaleBar& operator=(const LiveScaleBar&) = delete;

    // The popup, owned by the main window (hidden until Follow shows it).
    bool Create(HWND owner);
    // Shows the bar for these inputs, or hides it (no live picture, no usable magnification).
    void Follow(const LiveBarInputs& inputs);
    void Hide();
    HWND Hwnd() const { return window_.Get(); }
    // The bar shown, in live-picture pixels, and its label; none while hidden.
    const std::optional<ScaleBar>& Shown() const { return shown_; }

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();

    UniqueWindow window_;
    std::optional<ScaleBar> shown_;
    ScaleBarLayout layout_{};
    int32_t shownPixels_ = 0;
    LOGFONTW font_{};
};

}  // namespace orvane::results
