#include "tools/virtualcam/focus_feed.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <new>

namespace vcam {

namespace {
// At most ten frames a second are rendered: enough for a sweep, and the rest of the machine
// keeps some of its time.
constexpr auto kRenderInterval = std::chrono::milliseconds(100);

uint8_t Clamp(double v) {
    return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}
}  // namespace

FocusSweep CameraSweep(double seconds) {
    FocusSweep sweep;
    sweep.seconds = seconds > 0 ? seconds : 1.0;
    sweep.shift = 3.0;
    sweep.scaleSpan = 0.01;
    sweep.noise = 1.5;
    sweep.seed = kFocusSceneSeed;
    return sweep;
}

FocusShot CameraSweepShot(const FocusSweep& sweep, double t) {
    const double period = sweep.seconds > 0 ? sweep.seconds : 1.0;
    const double within = t > 0 ? std::fmod(t, period) : 0.0;
    FocusShot shot = SweepShot(sweep, within);
    // The noise differs from frame to frame, not only within one sweep.
    shot.noiseSeed ^= static_cast<uint32_t>(std::lround(t * 1000)) * 0x9E3779B9u;
    return shot;
}

void BgrToYuy2(const uint8_t* bgr, ptrdiff_t stride, int width, int height, int brightness,
               uint8_t* yuy2) {
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = bgr + stride * y;
        uint8_t* out = yuy2 + static_cast<size_t>(y) * width * 2;
        for (int x = 0; x + 1 < width; x += 2, in += 6, out += 4) {
            double luma[2], u = 0, v = 0;
            for (int k = 0; k < 2; ++k) {
                const double b = in[3 * k], g = in[3 * k + 1], r = in[3 * k + 2];
                luma[k] = (b + 4 * g + 2 * r) / 7;
                u += (b - luma[k]) / 4;  // half of the pair's mean (B - Y') / 2
                v += (r - luma[k]) / 4;
            }
            out[0] = Clamp(luma[0] + 16 + brightness);
            out[1] = Clamp(u + 128);
            out[2] = Clamp(luma[1] + 16 + brightness);
            out[3] = Clamp(v + 128);
        }
    }
}

bool RenderSweepYuy2(int width, int height, const FocusSweep& sweep, double t, int brightness,
                     uint8_t* yuy2) {
    if (width <= 0 || height <= 0 || width % 2 != 0) return false;
    std::unique_ptr<uint8_t[]> bgr(new (std::nothrow)
                                       uint8_t[static_cast<size_t>(width) * height * 3]);
    if (!bgr) return false;
    FocusScene scene(width, height, kFocusSceneSeed);
    scene.SetDefocus(kFocusSceneDefocus);
    if (!scene.RenderFrame(CameraSweepShot(sweep, t), bgr.get(), static_cast<ptrdiff_t>(width) * 3))
        return false;
    BgrToYuy2(bgr.get(), static_cast<ptrdiff_t>(width) * 3, width, height, brightness, yuy2);
    return true;
}

FocusFeed::FocusFeed(int width, int height, double seconds)
    : width_(width),
      height_(height),
      sweep_(CameraSweep(seconds)),
      bytes_(static_cast<size_t>(width > 0 ? width : 0) * (height > 0 ? height : 0) * 2),
      thread_([this] { Run(); }) {}

FocusFeed::~FocusFeed() {
    {
        std::lock_guard<std::mutex> lk(lock_);
        quit_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

int FocusFeed::Rendered() const {
    std::lock_guard<std::mutex> lk(lock_);
    return rendered_;
}

bool FocusFeed::Frame(double t, int brightness, uint8_t* yuy2) {
    std::unique_lock<std::mutex> lk(lock_);
    wanted_ = t;
    wake_.notify_all();
    // The very first frame is waited for; later ones repeat the latest until the next is done.
    wake_.wait(lk, [this] { return latest_ || quit_ || rendered_ < 0; });
    if (!latest_) return false;
    std::memcpy(yuy2, latest_.get(), bytes_);
    lk.unlock();
    if (brightness != 0) {
        for (size_t i = 0; i < bytes_; i += 2) yuy2[i] = Clamp(yuy2[i] + brightness);
    }
    return true;
}

void FocusFeed::Run() {
    std::unique_lock<std::mutex> lk(lock_);
    while (!quit_) {
        if (wanted_ < 0) {
            wake_.wait(lk);
            continue;
        }
        const double t = wanted_;
        wanted_ = -1.0;
        const auto started = std::chrono::steady_clock::now();
        lk.unlock();
        if (!spare_) spare_.reset(new (std::nothrow) uint8_t[bytes_ > 0 ? bytes_ : 1]);
        const bool ok = spare_ && RenderSweepYuy2(width_, height_, sweep_, t, 0, spare_.get());
        lk.lock();
        if (ok) {
            latest_.swap(spare_);
            ++rendered_;
        } else if (!latest_) {
            rendered_ = -1;  // nothing can be rendered: the stream is told so, not kept waiting
        }
        wake_.notify_all();
        // A frame of the small sizes renders faster than the stream needs new ones.
        wake_.wait_until(lk, started + kRenderInterval, [this] { return quit_; });
    }
}

}  // namespace vcam
