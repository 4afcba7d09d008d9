// The conversion every result shares agrees with the editor's labels of the same picture.
#include "results/calibration.h"

#include <cmath>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

#include "editor/geometry/measure_sketch.h"
#include "editor/rules/magnification.h"

namespace orvane::results {
namespace {

// The label a fixed line of the given pixel length shows in the editor.
std::string EditorLineLabel(const Conversion& c, int32_t pixels) {
    editor::MeasureState s;
    s.kind = editor::MeasureKind::kLine;
    s.conversion = c;
    s.points = {{10, 20}, {10 + pixels, 20}};
    s.pointCount = 2;
    s.cursor = {400, 300};
    s.fontHeight = -16;
    for (const editor::DrawOp& op : editor::SketchMeasure(s).ops) {
        if (const auto* label = std::get_if<editor::Label>(&op)) return label->text;
    }
    return {};
}

TEST(Calibration, ThePhotoOfTheMomentMeasuresLikeTheLivePicture) {
    // The live picture of a 0x62C0 camera at 640 x 480 with a still size of 1280 x 960 and the
    // capture magnification 48.5; a photo taken now records the same camera, still size and
    // magnification, and the editor opens it at 640 x 480.
    const uint32_t device = 0x0C4562C0;
    const uint32_t still = (1280u << 16) | 960u;
    const Conversion live = LiveConversion(device, still, 640, 480, 48.5, Unit::kMicrometre);
    EXPECT_DOUBLE_EQ(live.pixelFactor, 0.38093);
    EXPECT_DOUBLE_EQ(live.scale, 2.0);
    MediaInfoRecord photo;
    photo.magnification = 48.5;
    photo.stillSize = still;
    photo.deviceCode = device;
    photo.pictureSize = (640u << 16) | 480u;
    const Conversion opened = PictureConversion(photo, 640, 480, Unit::kMicrometre);
    EXPECT_EQ(opened.pixelFactor, live.pixelFactor);
    EXPECT_EQ(opened.scale, live.scale);
    EXPECT_EQ(opened.magnification, live.magnification);
    // A 100-pixel line: 100 * 0.38093 * 2 / 48.5 mm = 1570.845 um, in the label and here.
    EXPECT_EQ(EditorLineLabel(opened, 100), "1570.845 um");
    EXPECT_EQ(editor::FormatValue(100 * LengthPerPixel(live)), "1570.845");
    EXPECT_EQ(editor::ShownLength(100, live), editor::ShownLength(100, opened));
}

TEST(Calibration, PicturesUseTheMagnificationTheEditorUses) {
    MediaInfoRecord r;
    r.magnification = 40;
    r.adjustedMagnification = 71;  // calibrated: used
    r.stillSize = (2560u << 16) | 1920u;
    Conversion c = PictureConversion(r, 1280, 960, Unit::kMillimetre);
    EXPECT_EQ(c.magnification, 71);
    EXPECT_EQ(c.scale, 2);
    EXPECT_EQ(c.pixelFactor, 0.355);  // unknown camera
    r.adjustedMagnification = 1.0;    // not above 1: the recorded value
    EXPECT_EQ(PictureConversion(r, 1280, 960, Unit::kMillimetre).magnification, 40);
    // No still size recorded (a picture without side file): scale 1.
    r.stillSize = 0;
    EXPECT_EQ(PictureConversion(r, 1280, 960, Unit::kMillimetre).scale, 1);
}

TEST(Calibration, SampledCopiesAndResolution) {
    const Conversion c{0.355, 1.0, 50.0, Unit::kMillimetre};
    // 1 pixel = 0.0071 mm: 1408.45... pixels per cm.
    ASSERT_TRUE(PixelsPerCentimetre(c).has_value());
    EXPECT_DOUBLE_EQ(*PixelsPerCentimetre(c), 10 / 0.0071);
    // A 320-wide copy of a 1600-wide picture: each pixel covers 5.
    const Conversion copy = SampledConversion(c, 5.0);
    EXPECT_DOUBLE_EQ(LengthPerPixel(copy), 5 * 0.0071);
    EXPECT_DOUBLE_EQ(*PixelsPerCentimetre(copy), 10 / 0.0355);
    // The unit does not change the resolution.
    EXPECT_EQ(*PixelsPerCentimetre({0.355, 1.0, 50.0, Unit::kMil}), *PixelsPerCentimetre(c));
    for (double m : {0.0, -2.0, std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN()}) {
        const Conversion none{0.355, 1.0, m, Unit::kMillimetre};
        EXPECT_FALSE(PixelsPerCentimetre(none).has_value()) << m;
        EXPECT_TRUE(std::isnan(LengthPerPixel(none))) << m;
    }
    EXPECT_FALSE(PixelsPerCentimetre({0.0, 1.0, 50.0, Unit::kMillimetre}).has_value());
}

}  // namespace
}  // namespace orvane::results
