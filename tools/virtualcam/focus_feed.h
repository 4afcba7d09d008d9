// The camera's focus sweep: with the configuration value FocusSweepMs the capture pin shows
// the focus scene instead of the micrometer, its focal plane running from the specimen's
// nearest depth to its farthest in that time and again (a saw tooth), with the hand-like drift
// and scale change of SweepShot. Rendering a frame takes longer than a frame period at the
// larger sizes, so a thread of the feed renders frame after frame (at most ten a second) for
// the latest stream time asked for and the stream takes the latest finished one, repeating it
// until the next is done.
// Portable (standard library only), so tests render the very same scene and its truth.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "tools/virtualcam/focus_scene.h"

namespace vcam {

// The specimen the camera shows: FocusScene(width, height, kFocusSceneSeed) with a defocus of
// kFocusSceneDefocus pixels at the largest distance from the focal plane, and the sweep's
// drift, scale change and noise.
constexpr uint32_t kFocusSceneSeed = 1;
constexpr double kFocusSceneDefocus = 8.0;
FocusSweep CameraSweep(double seconds);
// The shot at stream time t: the sweep repeats every sweep.seconds.
FocusShot CameraSweepShot(const FocusSweep& sweep, double t);

// 24-bit blue, green, red rows to YUY2 (stride width * 2; width even) by the inverse of the
// program's own YUY2 decoding (B = Y' + 2U', G = Y' - U'/2 - V', R = Y' + 2V', Y' = Y - 16,
// U' = U - 128, V' = V - 128), chroma averaged over each pair; brightness shifts the luma.
void BgrToYuy2(const uint8_t* bgr, ptrdiff_t stride, int width, int height, int brightness,
               uint8_t* yuy2);

// One YUY2 frame of the sweep at time t, rendered now; false when it cannot be rendered.
bool RenderSweepYuy2(int width, int height, const FocusSweep& sweep, double t, int brightness,
                     uint8_t* yuy2);

class FocusFeed {
  public:
    // Frames of width x height (width even) for a sweep of `seconds`.
    FocusFeed(int width, int height, double seconds);
    ~FocusFeed();
    FocusFeed(const FocusFeed&) = delete;
    FocusFeed& operator=(const FocusFeed&) = delete;

    // The latest finished frame into yuy2 (width * height * 2 bytes) and a request for one at
    // stream time t; the first call renders its frame at once. False when nothing could be
    // rendered.
    bool Frame(double t, int brightness, uint8_t* yuy2);
    // Frames rendered so far (not counting repeats).
    int Rendered() const;

  private:
    void Run();

    const int width_;
    const int height_;
    const FocusSweep sweep_;
    const size_t bytes_;
    mutable std::mutex lock_;
    std::condition_variable wake_;
    std::unique_ptr<uint8_t[]> latest_;  // YUY2 without brightness; null until the first is done
    std::unique_ptr<uint8_t[]> spare_;   // the render thread's
    double wanted_ = -1.0;               // stream time of the next frame to render, < 0 for none
    bool quit_ = false;
    int rendered_ = 0;  // -1: the first frame could not be rendered
    std::thread thread_;
};

}  // namespace vcam
