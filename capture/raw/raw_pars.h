#pragma once
// The software image processor for the camera's raw still frames: black level, white balance,
// gamma, demosaicing, colour matrix, chroma rotation, sharpening, tone curve and the conversion
// to 24-bit colour. Portable; the camera-side parameter reading lives in raw_camera.h.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace orvane {

constexpr int kGammaPointCount = 24;
constexpr int kTonePointCount = 18;

// Largest frame accepted by the conversion (pixels); keeps every size computation in range.
constexpr int64_t kMaxRawPixels = int64_t{1} << 28;

// Input positions of the gamma and tone control points (the last one lies past the table).
extern const int kGammaPointInputs[kGammaPointCount];
extern const int kTonePointInputs[kTonePointCount];
extern const uint8_t kDefaultGammaPoints[kGammaPointCount];
extern const uint8_t kDefaultTonePoints[kTonePointCount];

// A point as stored: trunc(255 * pow(p / 255, exponent)).
uint8_t PowerPoint(int p, double exponent);

class CRawPars {
  public:
    CRawPars();
    virtual ~CRawPars();

    // Defaults of the processor (the camera's own start-up values), points through the power rule.
    void SetDefaults();
    void BuildGammaTable();
    void BuildToneTable();

    // Builds both tables and runs all stages on a W x H Bayer frame (B G / G R, rows top to
    // bottom, rawLen bytes available). Returns a new W x H x 3 buffer (blue, green, red), or null
    // when the frame is missing, too short, of an impossible size, or memory runs out. With colour
    // processing the buffer's first row is the picture's bottom row; without it the demosaiced
    // rows stay in frame order. The raw frame itself is not modified.
    std::unique_ptr<uint8_t[]> Process(int w, int h, const uint8_t* raw, size_t rawLen);

    // Worker threads used by Process: 0 = as many as the machine has, else the given number.
    void SetThreads(int n) { threads_ = n < 0 ? 0 : n; }

    // Parameters, in the order of the processor's data model. Gains and offsets may hold any
    // value (they are clamped); the integer stages are exact for register-sized values and
    // for |matrix| <= 16384, |cH|, |cI|, |cG|, |cF| <= 4096 and |ss| <= 2^20.
    int width = 0;
    int height = 0;
    int gR = 128, gG = 128, gB = 128;  // white-balance gains, 128 = x1.0
    int oR = 0, oG = 0, oB = 64;       // black-level offsets, biased by 64
    int gammaEnable = 1;
    double gammaExponent = 1.0;
    uint8_t gammaPoints[kGammaPointCount] = {};
    uint8_t gammaTable[256] = {};
    int colorEnable = 1;
    int toneEnable = 1;
    double toneExponent = 1.0;
    uint8_t tonePoints[kTonePointCount] = {};
    uint8_t toneTable[256] = {};
    int chromaRotEnable = 1;
    int cH = 64, cI = 64, cG = 0, cF = 64;  // 64 = 1.0
    int br = 64;                            // brightness (signed)
    int ct = 32;                            // contrast, 32 = 1.0
    int pv = 160;                           // contrast pivot
    int sharpEnable = 1;
    int ss = 64;     // sharpening strength; the gain is ss / 32 as an integer
    uint8_t st = 6;  // sharpening threshold (coring)
    int cm = 0;      // chroma mode: 0 normal, 1 grey, 2 no V, 3 no U
    int mYB = 9, mYG = 39, mYR = 22;
    int mUR = -20, mUG = -40, mUB = 52;
    int mVR = 74, mVG = -67, mVB = 3;

  private:
    int threads_ = 0;
};

// The chroma mode actually used: the all-zero chroma matrix forces grey; unknown modes act as 0.
int EffectiveChromaMode(const CRawPars& p);

}  // namespace orvane
