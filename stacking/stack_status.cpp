#include "stacking/stack_status.h"

namespace orvane::stacking {

const char* StackStatusText(StackStatus status) {
    switch (status) {
        case StackStatus::kOk:
            return "done";
        case StackStatus::kNotAligned:
            return "the frame does not match the first one and was left out";
        case StackStatus::kBadSize:
            return "the picture size is not supported";
        case StackStatus::kSizeMismatch:
            return "the pictures differ in size";
        case StackStatus::kTooFewFrames:
            return "at least two matching pictures are needed";
        case StackStatus::kOutOfMemory:
            return "not enough memory for pictures of this size";
        case StackStatus::kCancelled:
            return "cancelled";
        case StackStatus::kNotStarted:
            return "no stack was begun";
    }
    return "unknown result";
}

}  // namespace orvane::stacking
