#pragma once
// Focus stacking: frames of one scene taken at different focus are aligned to the first and
// fused into one picture that is sharp wherever any frame was.
//
//   FocusStacker stacker;
//   stacker.Begin(width, height);
//   for (each frame) stacker.Add(view);   // kNotAligned frames are left out, the rest kOk
//   BgrImage picture;
//   stacker.Finish(&picture);
//
// Frames are fused as they come: the stacker holds the running blend (Laplacian pyramids of
// the frames weighted by Gaussian pyramids of their focus weights, summed, with the sum of the
// weights) and the first frame's grey pyramid for the alignment, so its memory is a fixed
// multiple of one frame, allocated in Begin, whatever the number of frames. The output has the
// frames' size; where a frame does not reach after alignment the others (at least the first)
// fill in.
//
// One thread drives a stacker; RequestCancel may come from any thread.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "stacking/focus_measure.h"
#include "stacking/registration.h"
#include "stacking/stack_image.h"
#include "stacking/stack_status.h"

namespace orvane::stacking {

struct StackProgress {
    int frame = 0;      // index of the frame being added, counting every Add since Begin
    float part = 0.0f;  // how far that frame is, 0..1
};
using ProgressCallback = std::function<void(const StackProgress&)>;

class FocusStacker {
  public:
    FocusStacker();
    ~FocusStacker();
    FocusStacker(const FocusStacker&) = delete;
    FocusStacker& operator=(const FocusStacker&) = delete;

    // Bytes Begin allocates for frames of this size; 0 for a size Begin refuses as kBadSize.
    static uint64_t WorkingBytesFor(int32_t width, int32_t height);

    // Begin answers kOutOfMemory rather than hold more than this (default: no limit but the
    // heap's).
    void SetMemoryLimit(size_t bytes);
    void SetProgress(ProgressCallback callback);
    void SetFocusParams(const FocusParams& params);
    // The current Add (or the next step) answers kCancelled and the stack is dropped.
    void RequestCancel();

    // Starts a stack of frames of this size, dropping any stack in progress. kBadSize,
    // kOutOfMemory, or kOk.
    StackStatus Begin(int32_t width, int32_t height);
    // The first frame added is the reference. kOk (fused), kNotAligned (left out),
    // kSizeMismatch (left out; the stack goes on), kBadSize (a stride shorter than a row; left
    // out), kCancelled, kNotStarted. registration, when given, receives how the frame was
    // placed.
    StackStatus Add(const BgrView& frame, Registration* registration = nullptr);
    // The fused picture of the frames so far (kOk), or kTooFewFrames, kCancelled (also after
    // an Add that was cancelled), kNotStarted. The stack ends either way and its memory is
    // released.
    StackStatus Finish(BgrImage* picture);

    int FramesUsed() const { return used_; }
    int FramesLeftOut() const { return leftOut_; }
    size_t WorkingBytes() const;      // held now
    size_t PeakWorkingBytes() const;  // most held since construction

  private:
    struct State;
    void Drop();
    StackStatus DropCancelled();
    bool Cancelled() const { return cancel_.load(std::memory_order_relaxed); }
    void Report(int frame, float part) const;

    std::unique_ptr<State> state_;
    ProgressCallback progress_;
    FocusParams params_;
    size_t limit_;
    size_t peak_ = 0;
    std::atomic<bool> cancel_{false};
    bool dropped_ = false;  // the stack was cancelled since Begin
    int added_ = 0;
    int used_ = 0;
    int leftOut_ = 0;
};

}  // namespace orvane::stacking
