#include "editor/rules/canvas_rules.h"

#include <cmath>

namespace orvane::editor {
namespace {

int32_t TruncToInt(float v) {
    if (!(v > -2147483520.0f)) return v != v ? 0 : INT32_MIN;
    if (v >= 2147483520.0f) return INT32_MAX;
    return static_cast<int32_t>(v);
}

}  // namespace

CanvasFit FitCanvas(int32_t frameWidth, int32_t frameHeight, int32_t imageWidth,
                    int32_t imageHeight) {
    CanvasFit fit;
    if (imageWidth <= 0 || imageHeight <= 0 || frameWidth <= 0 || frameHeight <= 0) {
        fit.width = frameWidth > 0 ? frameWidth : 0;
        fit.height = frameHeight > 0 ? frameHeight : 0;
        return fit;
    }
    const float th = static_cast<float>(frameHeight) / static_cast<float>(imageHeight);
    const float tw = static_cast<float>(frameWidth) / static_cast<float>(imageWidth);
    const float t = th < tw ? th : tw;
    fit.scale = t;
    fit.width = TruncToInt(static_cast<float>(imageWidth) * t);
    fit.height = TruncToInt(static_cast<float>(imageHeight) * t);
    if (fit.width > frameWidth) fit.width = frameWidth;
    if (fit.height > frameHeight) fit.height = frameHeight;
    fit.left = (frameWidth - fit.width) / 2;
    fit.top = (frameHeight - fit.height) / 2;
    return fit;
}

PicturePoint MapToPicture(int32_t x, int32_t y, int32_t imageWidth, int32_t imageHeight,
                          int32_t canvasWidth, int32_t canvasHeight) {
    if (canvasWidth <= 0 || canvasHeight <= 0) return {x, y};
    const float sx = static_cast<float>(imageWidth) / static_cast<float>(canvasWidth);
    const float sy = static_cast<float>(imageHeight) / static_cast<float>(canvasHeight);
    return {TruncToInt(static_cast<float>(x) * sx), TruncToInt(static_cast<float>(y) * sy)};
}

bool OnCanvas(int32_t x, int32_t y, int32_t canvasWidth, int32_t canvasHeight) {
    return x <= canvasWidth && y <= canvasHeight;
}

CanvasCursor CursorOfTool(int32_t tool) {
    if (tool == kFreehandTool) return CanvasCursor::kPencil;
    if ((tool >= 32799 && tool <= 32807) || (tool >= 32809 && tool <= 32812) ||
        tool == kCalibrationTool || (tool >= 32874 && tool <= 32876) || tool == kTextTool) {
        return CanvasCursor::kCross;
    }
    return CanvasCursor::kArrow;
}

void CanvasState::Loaded() {
    modifiedCount_ = 0;
    toolState_ = 0;
}

bool CanvasState::SetTool(int32_t tool, bool objectInProgress) {
    if (objectInProgress) ++modifiedCount_;
    tool_ = tool;
    toolState_ = 0;
    return objectInProgress;
}

bool CanvasState::Cancel() {
    if (toolState_ != 0) {
        toolState_ = 0;
    } else {
        tool_ = 0;
    }
    return tool_ == 0 && toolState_ == 0;
}

void CanvasState::Undone() {
    toolState_ = 0;
    --modifiedCount_;
}

void CanvasState::Redone() {
    toolState_ = 0;
    ++modifiedCount_;
}

}  // namespace orvane::editor
