#include "tests/stacking/truth_compare.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <new>
#include <vector>

#include "media/bmp_layout.h"
#include "media/frame_decode.h"
#include "stacking/focus_stacker.h"
#include "stacking/resample.h"
#include "tools/virtualcam/focus_feed.h"

namespace orvane::stacking::testing {

bool DecodeYuy2(const uint8_t* yuy2, int32_t width, int32_t height, BgrImage* out) {
    BmpInfoHeader format;
    format.width = width;
    format.height = height;
    format.planes = 1;
    format.bitCount = 16;
    format.compression = kFourCcYuy2;
    std::vector<uint8_t> dib;
    const size_t bytes = static_cast<size_t>(width) * height * 2;
    if (!DecodeRawFrame(format, yuy2, bytes, dib) || !out->Allocate(width, height)) return false;
    const uint64_t stride = DibStride(width, 24);
    for (int32_t y = 0; y < height; ++y) {
        // The decoded bitmap runs bottom-up.
        const uint8_t* row = dib.data() + BmpInfoHeader::kSize + stride * (height - 1 - y);
        std::copy(row, row + out->Stride(), out->Row(y));
    }
    return true;
}

bool CameraTruth(int32_t width, int32_t height, BgrImage* out) {
    BgrImage bgr;
    const vcam::FocusScene scene(width, height, vcam::kFocusSceneSeed);
    if (!bgr.Allocate(width, height) ||
        !scene.RenderTruth(bgr.Data(), static_cast<ptrdiff_t>(bgr.Stride()))) {
        return false;
    }
    std::vector<uint8_t> yuy2(static_cast<size_t>(width) * height * 2);
    vcam::BgrToYuy2(bgr.Data(), static_cast<ptrdiff_t>(bgr.Stride()), width, height, 0,
                    yuy2.data());
    return DecodeYuy2(yuy2.data(), width, height, out);
}

AlignedComparison CompareAligned(const BgrImage& truth, const BgrView& picture, int margin) {
    AlignedComparison result;
    const int32_t w = truth.Width(), h = truth.Height();
    if (picture.width != w || picture.height != h) return result;
    FocusStacker stacker;
    Registration placed;
    if (stacker.Begin(w, h) != StackStatus::kOk || stacker.Add(truth.View()) != StackStatus::kOk ||
        stacker.Add(picture, &placed) != StackStatus::kOk || !placed.found) {
        return result;
    }
    result.placed = placed.alignment;
    BufferLedger ledger(std::numeric_limits<size_t>::max());
    AxisTable cols, rows;
    FloatPlane warped;
    std::vector<float> rowTemp(static_cast<size_t>(w));
    if (!cols.Allocate(w, &ledger) || !rows.Allocate(h, &ledger) ||
        !warped.Allocate(w, h, &ledger)) {
        return result;
    }
    const Alignment& a = placed.alignment;
    cols.Set(w, a.scale, (w - 1) * 0.5, a.dx);
    rows.Set(h, a.scale, (h - 1) * 0.5, a.dy);
    const int32_t x0 = std::max(cols.ValidFirst(), margin),
                  x1 = std::min(cols.ValidLast(), w - margin);
    const int32_t y0 = std::max(rows.ValidFirst(), margin),
                  y1 = std::min(rows.ValidLast(), h - margin);
    if (x1 <= x0 || y1 <= y0) return result;
    double sum = 0;
    for (int c = 0; c < 3; ++c) {
        WarpChannel(picture, c, cols, rows, &warped, rowTemp.data());
        for (int32_t y = y0; y < y1; ++y) {
            const float* got = warped.Row(y);
            const uint8_t* want = truth.Row(y);
            for (int32_t x = x0; x < x1; ++x) {
                const double d = std::clamp(got[x], 0.0f, 255.0f) - want[3 * x + c];
                sum += d * d;
            }
        }
    }
    result.pixels = static_cast<int64_t>(x1 - x0) * (y1 - y0);
    const double mse = sum / (3.0 * static_cast<double>(result.pixels));
    result.psnr = mse > 0 ? 10 * std::log10(255.0 * 255.0 / mse) : 99.0;
    result.aligned = true;
    return result;
}

}  // namespace orvane::stacking::testing
