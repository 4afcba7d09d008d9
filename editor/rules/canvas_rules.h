#pragma once
// The canvas's fit into its frame, its window-to-picture mapping, its cursors and the
// bookkeeping of its tool, gesture and modified count.
#include <cstdint>

namespace orvane::editor {

struct CanvasFit {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    float scale = 1.0f;  // window pixels per picture pixel
};

// The largest picture-shaped rectangle centred in a frame of fw x fh: t = min(fh / ih, fw / iw)
// in single precision, size trunc(iw * t) x trunc(ih * t). A picture without area keeps the
// whole frame at scale 1.
CanvasFit FitCanvas(int32_t frameWidth, int32_t frameHeight, int32_t imageWidth,
                    int32_t imageHeight);

struct PicturePoint {
    int32_t x = 0;
    int32_t y = 0;
};

// Window (x, y) to picture (trunc(x * sx), trunc(y * sy)), sx = iw / cw and sy = ih / ch each
// in single precision. A canvas without area maps 1:1.
PicturePoint MapToPicture(int32_t x, int32_t y, int32_t imageWidth, int32_t imageHeight,
                          int32_t canvasWidth, int32_t canvasHeight);

// Whether a press at window (x, y) lies on the canvas (presses right of or below it are
// ignored).
bool OnCanvas(int32_t x, int32_t y, int32_t canvasWidth, int32_t canvasHeight);

enum class CanvasCursor { kArrow, kCross, kPencil };
CanvasCursor CursorOfTool(int32_t tool);

inline constexpr int32_t kTextTool = 33200;
inline constexpr int32_t kFreehandTool = 32805;
inline constexpr int32_t kCalibrationTool = 32814;

// Tool, gesture state and modified count of the canvas, without the pictures.
class CanvasState {
  public:
    int32_t tool() const { return tool_; }
    int32_t toolState() const { return toolState_; }
    int32_t modifiedCount() const { return modifiedCount_; }
    bool modified() const { return modifiedCount_ != 0; }

    // A picture was loaded: nothing modified, no gesture.
    void Loaded();
    // The picture was saved: it no longer counts as modified.
    void Saved() { modifiedCount_ = 0; }
    // An object was committed to the history (or redone).
    void Committed() { ++modifiedCount_; }
    // SetTool: an object in progress is committed first (true returned), then the tool is
    // taken with no gesture.
    bool SetTool(int32_t tool, bool objectInProgress);
    // Cancel: a gesture in progress is dropped, else the tool is cleared. True when afterwards
    // neither a tool nor a gesture is left (the window then clears its check marks).
    bool Cancel();
    void SetGesture(int32_t state) { toolState_ = state; }
    // Undo and redo of a history step that existed.
    void Undone();
    void Redone();

  private:
    int32_t tool_ = 0;
    int32_t toolState_ = 0;
    int32_t modifiedCount_ = 0;
};

}  // namespace orvane::editor
