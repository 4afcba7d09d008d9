#include "stacking/win/stack_worker.h"

#include <objbase.h>

#include <new>
#include <optional>
#include <system_error>

#include "media/win/picture_rows_io.h"
#include "platform/wide.h"
#include "stacking/win/clip_frames.h"

namespace orvane {

using stacking::BgrView;
using stacking::StackStatus;

StackWorker::~StackWorker() {
    Cancel();
    if (thread_.joinable()) thread_.join();
}

bool StackWorker::Start(const stacking::StackSources& sources) {
    if (thread_.joinable()) return false;
    // The library's thread and copies report failure by exceptions; here they are an answer.
    try {
        sources_ = sources;
        cancel_.store(false);
        done_.store(false);
        progress_.store(0);
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

StackResult StackWorker::Finish() {
    if (thread_.joinable()) thread_.join();
    return std::move(result_);
}

void StackWorker::Cancel() {
    cancel_.store(true);
    stacker_.RequestCancel();
}

bool StackWorker::Cancelled() {
    if (!cancel_.load()) return false;
    result_.failure = StackFailure::kCancelled;
    return true;
}

void StackWorker::SetProgress(double part) {
    const double whole = (static_cast<double>(step_) + part) / static_cast<double>(steps_);
    progress_.store(static_cast<int>(1000 * (whole < 0 ? 0 : whole > 1 ? 1 : whole)));
}

void StackWorker::Run() {
    result_ = StackResult{};
    begun_ = false;
    stacker_.SetProgress(
        [this](const stacking::StackProgress& p) { SetProgress(static_cast<double>(p.part)); });
    try {
        if (sources_.kind == stacking::SourceKind::kClip) {
            StackClip();
        } else {
            StackPictures();
        }
        if (result_.failure == StackFailure::kNone && !Cancelled()) {
            result_.used = stacker_.FramesUsed();
            switch (stacker_.Finish(&result_.picture)) {
                case StackStatus::kOk:
                    break;
                case StackStatus::kCancelled:
                    result_.failure = StackFailure::kCancelled;
                    break;
                default:  // kTooFewFrames: the others did not match the first
                    result_.failure = StackFailure::kNotAligned;
                    break;
            }
        }
    } catch (const std::bad_alloc&) {
        result_.failure = StackFailure::kOutOfMemory;
    }
    if (result_.failure != StackFailure::kNone) {
        result_.picture.Release();
        // A stack left open ends without being collapsed, and its memory goes.
        stacker_.RequestCancel();
        stacking::BgrImage none;
        stacker_.Finish(&none);
    }
    progress_.store(1000);
    done_.store(true);
}

bool StackWorker::Add(const BgrView& frame) {
    if (!begun_) {
        const StackStatus begun = stacker_.Begin(frame.width, frame.height);
        if (begun != StackStatus::kOk) {
            result_.failure = StackFailure::kOutOfMemory;  // kBadSize: too large to stack
            return false;
        }
        begun_ = true;
        width_ = frame.width;
        height_ = frame.height;
    }
    if (Cancelled()) return false;
    ++result_.offered;
    switch (stacker_.Add(frame)) {
        case StackStatus::kOk:
        case StackStatus::kNotAligned:  // left out; the others may still match
            return true;
        case StackStatus::kCancelled:
            result_.failure = StackFailure::kCancelled;
            return false;
        default:
            result_.failure = StackFailure::kOutOfMemory;
            return false;
    }
}

void StackWorker::StackPictures() {
    steps_ = sources_.pictures.size();
    for (step_ = 0; step_ < steps_; ++step_) {
        if (Cancelled()) return;
        SetProgress(0);
        const std::u16string& path = sources_.pictures[step_];
        std::optional<PixelRows> rows = DecodePictureRows(ToWide(path));
        if (!rows) {
            result_.failure = StackFailure::kPictureUnreadable;
            result_.file = path;
            return;
        }
        if (begun_ && (rows->width != width_ || rows->height != height_)) {
            result_.failure = StackFailure::kSizeMismatch;
            result_.file = path;
            return;
        }
        const BgrView view{rows->bytes.data(), rows->width, rows->height,
                           static_cast<ptrdiff_t>(rows->width) * 3};
        if (!Add(view)) return;
    }
}

void StackWorker::StackClip() {
    // The platform's AVI library runs on COM; this thread enters an apartment of its own.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        ClipFrames clip;
        result_.file = sources_.clip;
        if (!clip.Open(ToWide(sources_.clip))) {
            result_.failure = StackFailure::kClipUnreadable;
        } else {
            const std::vector<int32_t> positions =
                stacking::ClipFramePositions(clip.First(), clip.Count());
            steps_ = positions.empty() ? 1 : positions.size();
            int read = 0;
            for (step_ = 0; step_ < positions.size(); ++step_) {
                if (Cancelled()) break;
                SetProgress(0);
                BgrView frame;
                bool repeated = false;
                if (!clip.Read(positions[step_], &frame, &repeated) || repeated) continue;
                ++read;
                if (!Add(frame)) break;
            }
            if (result_.failure == StackFailure::kNone && read < 2) {
                result_.failure = StackFailure::kClipTooShort;
            }
        }
    }
    if (SUCCEEDED(com)) CoUninitialize();
}

}  // namespace orvane
