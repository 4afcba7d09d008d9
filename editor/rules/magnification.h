#pragma once
// Where the three numbers of a measurement come from when a picture is opened, and the rules of
// the magnification and calibration dialogs.
#include <cstdint>
#include <string>
#include <string_view>

namespace orvane::editor {

// Millimetres covered by one reference pixel at magnification 1, by the device code of the
// picture's record (USB vendor id << 16 | product id); unknown devices and pictures without a
// side file take 0.355.
constexpr double kDefaultPixelFactor = 0.355;
double PixelFactorOf(uint32_t deviceCode);

// Reference pixels per picture pixel: min(W / imageWidth, H / imageHeight) with W, H packed in
// stillSize as (W << 16) | H; equal ratios keep the width ratio. A picture without area, or a
// record without a size, counts as 1.
double PictureScale(uint32_t stillSize, int32_t imageWidth, int32_t imageHeight);

// The picture's magnifications while it is open.
struct Magnifications {
    double picture = 0.0;
    double adjusted = 0.0;  // 0 = never calibrated
    bool useAdjusted = false;
    double active = 0.0;  // the magnification box and the dialogs' starting value
};

// As read from a picture's record: the calibrated value is used when it is above 1.
Magnifications OpenedMagnifications(double pictureMagnification, double adjustedMagnification);

// "%.2f" of the adjusted value when above 1, else of the picture value when above 1, else
// kNoMagnification; also makes the shown value the active one.
std::string MagnificationBoxText(Magnifications& m);

inline constexpr std::string_view kNoMagnification = "------------------------------";

// The magnification a new measurement divides by; the calibration line takes 50 when the value
// is not above 1.
double MeasureMagnification(const Magnifications& m, bool calibrationLine);

// Choosing a Measure tool: the adjusted value when set, else the picture value.
void RecomputeActive(Magnifications& m);

// Set picture magnification with OK value x; returns the box text ("%0.1f" above 1, else
// empty).
std::string SetPictureMagnification(Magnifications& m, double x);
// Reset picture magnification; returns the box text (the hyphens).
std::string ResetPictureMagnification(Magnifications& m);

// The set-magnification dialog: the starting text of its box, and whether OK closes it.
inline constexpr double kMinMagnification = 1.0;
inline constexpr double kMaxMagnification = 9999.99;
std::string MagnificationEntryText(double start);
bool AcceptsMagnification(double x);
// The box text read as a number the way the dialog's number binding does: surrounding blanks
// allowed, anything else after the number refuses it. False for text that is no number.
bool ParseMagnificationEntry(std::string_view text, double& value);

// A double carried by a window message: low 32 bits in wParam, high 32 bits in lParam.
struct DoubleHalves {
    uint32_t low = 0;
    uint32_t high = 0;
};
DoubleHalves SplitDouble(double v);
double JoinDouble(uint32_t low, uint32_t high);

// Calibration: the reference magnification g (the active value when above 1, else 50) and the
// measured value v / g handed to the dialog.
double CalibrationReference(double active);

// The adjusted magnification for an actual dimension typed in unit 0..3 (mm, µm, mil, inch):
// measured / a, then x1000 (µm), /0.0254 (mil) or /25.4 (inch). Text that is no number reads
// as 0.
double AdjustedFromActual(double measured, std::string_view actualText, int32_t unit);
// A value the calibration may store: finite and above 0. An actual dimension of 0 or nonsense
// would otherwise make every later measurement read 0.
bool IsUsableAdjusted(double adjusted);
// The dialog's adjusted box: "%.2f", or the hyphens for a value it cannot store.
std::string AdjustedText(double adjusted);

}  // namespace orvane::editor
