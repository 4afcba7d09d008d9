// A specimen with depth for focus series: a stained, textured sample on a tilted, curved
// surface (depth 0 at its nearest point, 1 at its farthest) beside a strip of bare slide, seen
// through optics whose blur grows with the distance from the focal plane. Each frame can move
// and change scale a little, as a hand on the focus knob makes it; the all-in-focus truth of
// the same view is rendered by the same code. Portable: no Windows header, no exceptions.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vcam {

struct FocusShot {
    double focus = 0.5;  // the focal plane's depth
    double dx = 0.0;     // where the scene's centre lands, pixels right of the frame's centre
    double dy = 0.0;     // and below it
    double scale = 1.0;  // magnification against the truth's view
    double noise = 0.0;  // standard deviation of the sensor noise, grey levels
    uint32_t noiseSeed = 1;
};

class FocusScene {
  public:
    // A scene viewed in frames of width x height; seed chooses the specimen.
    FocusScene(int width, int height, uint32_t seed = 1);

    // Blur (Gaussian sigma, pixels) at the largest distance from the focal plane, 1; the
    // optics' own blur of about 0.7 pixel comes on top everywhere.
    void SetDefocus(double sigmaAtFullDepth) { defocus_ = sigmaAtFullDepth; }
    double Defocus() const { return defocus_; }

    // 24-bit blue, green, red rows (top first, row y at bgr + y * stride). False when the
    // frame's size is not positive or the working memory cannot be had.
    bool RenderFrame(const FocusShot& shot, uint8_t* bgr, ptrdiff_t stride) const;
    // Everything in focus, no noise, in the view of geometry (its focus and noise unused).
    bool RenderTruth(uint8_t* bgr, ptrdiff_t stride, const FocusShot& geometry = {}) const;

    // Depth 0..1 of the specimen at scene point (x, y), pixels from the truth's centre.
    double DepthAt(double x, double y) const;
    // True where the frame pixel (x, y) of the truth's view shows bare slide (no detail).
    bool BareSlideAt(double x, double y) const;

    int Width() const { return width_; }
    int Height() const { return height_; }

  private:
    bool Render(const FocusShot& shot, bool truth, uint8_t* bgr, ptrdiff_t stride) const;
    // The colour of scene point (x, y); edge is SlideEdge(y).
    void Colour(double x, double y, double edge, float* bgr) const;
    // Where the tissue ends and bare slide begins in the scene's row y.
    double SlideEdge(double y) const;

    int width_;
    int height_;
    uint32_t seed_;
    double defocus_ = 5.0;
    double depthLow_ = 0.0;
    double depthSpan_ = 1.0;
};

// A clip swept through focus in `seconds`: the focal plane runs from depth 0 to 1, the view
// drifts by up to `shift` pixels on smooth, hand-like paths and its scale changes by
// `scaleSpan` over the sweep (focusing moves the lens).
struct FocusSweep {
    double seconds = 5.0;
    double shift = 3.0;
    double scaleSpan = 0.01;
    double noise = 1.5;
    uint32_t seed = 1;
};
FocusShot SweepShot(const FocusSweep& sweep, double atSeconds);

}  // namespace vcam
