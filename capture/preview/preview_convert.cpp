#include "capture/preview/preview_convert.h"

#include <cstring>

#include "capture/preview/preview_rows.h"

namespace orvane {

namespace {

constexpr int kMaxSide = 16384;

bool FitsPicture(const BgrxPicture& to) {
    return to.bits && to.width > 0 && to.height > 0 && to.width <= kMaxSide &&
           to.height <= kMaxSide && to.stride >= static_cast<ptrdiff_t>(to.width) * 4;
}

// Destination row of the picture for source row r of a top-down frame.
uint8_t* RowFor(const BgrxPicture& to, int r) {
    const int row = to.topDown ? r : to.height - 1 - r;
    return to.bits + to.stride * row;
}

}  // namespace

size_t Yuy2FrameBytes(int width, int height) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || width % 2 != 0)
        return 0;
    return static_cast<size_t>(width) * 2 * static_cast<size_t>(height);
}

bool Yuy2ToBgrx(const uint8_t* yuy2, size_t length, const BgrxPicture& to) {
    return preview::Yuy2ToBgrxWith(preview::BestYuy2Row(), yuy2, length, to);
}

bool preview::Yuy2ToBgrxWith(Yuy2RowFn row, const uint8_t* yuy2, size_t length,
                             const BgrxPicture& to) {
    const size_t needed = Yuy2FrameBytes(to.width, to.height);
    if (!yuy2 || needed == 0 || length < needed || !FitsPicture(to)) return false;
    const size_t inStride = static_cast<size_t>(to.width) * 2;
    for (int r = 0; r < to.height; ++r) row(yuy2 + inStride * r, to.width, RowFor(to, r));
    return true;
}

bool CopyTopDownBgrx(const uint8_t* rows, size_t length, const BgrxPicture& to) {
    if (!rows || !FitsPicture(to)) return false;
    const size_t rowBytes = static_cast<size_t>(to.width) * 4;
    if (length / rowBytes < static_cast<size_t>(to.height)) return false;
    for (int r = 0; r < to.height; ++r) std::memcpy(RowFor(to, r), rows + rowBytes * r, rowBytes);
    return true;
}

}  // namespace orvane
