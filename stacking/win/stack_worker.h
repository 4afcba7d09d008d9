#pragma once
// The focus stacking of one command on a thread of its own: it decodes the sources one at a
// time and adds each to the stacker, so only the stack and one frame are held. The window
// polls its progress and end; Cancel stops it at the next step.
#include <atomic>
#include <string>
#include <thread>

#include "stacking/command/stack_sources.h"
#include "stacking/focus_stacker.h"
#include "stacking/stack_image.h"

namespace orvane {

enum class StackFailure {
    kNone,
    kCancelled,
    kPictureUnreadable,  // file: the picture that could not be read or decoded
    kSizeMismatch,       // file: the first picture whose size differs from the first's
    kClipUnreadable,     // file: the clip
    kClipTooShort,       // file: the clip, with fewer than two frames that could be decoded
    kNotAligned,         // fewer than two frames matched the first
    kOutOfMemory,        // also pictures too large for the stacker
};

struct StackResult {
    StackFailure failure = StackFailure::kNone;
    std::u16string file;
    stacking::BgrImage picture;  // the stacked picture, when there is no failure
    int used = 0;                // frames in the picture
    int offered = 0;             // frames read
};

class StackWorker {
  public:
    StackWorker() = default;
    ~StackWorker();  // cancels a run in progress and waits for its end
    StackWorker(const StackWorker&) = delete;
    StackWorker& operator=(const StackWorker&) = delete;

    // Starts the stack of the sources on a new thread; false when no thread could be had.
    bool Start(const stacking::StackSources& sources);
    void Cancel();
    bool Done() const { return done_.load(); }
    // 0..1000, how far the run has got.
    int Progress() const { return progress_.load(); }
    // Waits for the run's end and hands over its result.
    StackResult Finish();

  private:
    void Run();
    void StackPictures();
    void StackClip();
    // Adds one frame (the first begins the stack); false when the run ends with it.
    bool Add(const stacking::BgrView& frame);
    bool Cancelled();
    void SetProgress(double part);

    stacking::StackSources sources_;
    stacking::FocusStacker stacker_;
    bool begun_ = false;
    int32_t width_ = 0;
    int32_t height_ = 0;
    size_t step_ = 0;  // the source being read and added
    size_t steps_ = 1;
    StackResult result_;
    std::thread thread_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> done_{false};
    std::atomic<int> progress_{0};
};

}  // namespace orvane
