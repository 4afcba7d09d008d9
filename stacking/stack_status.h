#pragma once
// What a step of the focus stacker answers.
namespace orvane::stacking {

enum class StackStatus {
    kOk,
    kNotAligned,    // the frame did not match the reference and was left out
    kBadSize,       // width or height not positive, or beyond kMaxSide / kMaxPixels
    kSizeMismatch,  // the frame's size differs from the one Begin was given
    kTooFewFrames,  // Finish with fewer than two frames in the picture
    kOutOfMemory,   // the working buffers could not be had (or pass the memory limit)
    kCancelled,     // RequestCancel was called; the stack is dropped
    kNotStarted,    // Add or Finish without a Begin (or after Finish or a cancel)
};

// A short English sentence for the command line and logs.
const char* StackStatusText(StackStatus status);

}  // namespace orvane::stacking
