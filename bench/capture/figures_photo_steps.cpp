// Where the time of a raw photo goes, step by step, in this process: the camera drawing its
// mosaic, the raw conversion, the scaling to the option's size, the encoding and the file, and
// the main window's copy of the handed-over file; beside them, same run, the way the scaled
// save worked before: the platform's HALFTONE stretch and its encoder (GDI+).
#include <windows.h>

#include <objidl.h>  // before gdiplus.h: the lean windows.h leaves out what it needs
#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/capture/figures.h"
#include "bench/capture/graph_host.h"
#include "capture/raw/raw_camera.h"
#include "capture/still/still_files.h"
#include "media/area_scale.h"
#include "platform/gdiplus_session.h"
#include "platform/handles.h"
#include "platform/image_codecs.h"
#include "tools/virtualcam/registers.h"
#include "tools/virtualcam/scene.h"

namespace orvane::bench {

namespace {

// The virtual camera's registers, as the program reads them through the camera.
class SceneRegisters : public RawRegisterSource {
  public:
    bool ReadRegister(uint16_t address, uint8_t* value) override {
        *value = file_.Read(address);
        return true;
    }
    bool ReadBrightness(int* value) override {
        *value = 0;
        return true;
    }

  private:
    vcam::RegisterFile file_;
};

struct StepCase {
    int rawWidth, rawHeight, width, height;
    bool jpeg;
    const char* what;
};

template <typename Step>
double MedianMs(int runs, Step step) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = Seconds();
        if (!step()) return -1;
        times.push_back((Seconds() - start) * 1e3);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The scaled save's stretch as it was: HALFTONE StretchDIBits into a DIB section.
bool HalftoneStretch(const uint8_t* bottomUp, int width, int height, int targetWidth,
                     int targetHeight) {
    BITMAPINFO source{};
    source.bmiHeader.biSize = sizeof source.bmiHeader;
    source.bmiHeader.biWidth = width;
    source.bmiHeader.biHeight = height;
    source.bmiHeader.biPlanes = 1;
    source.bmiHeader.biBitCount = 24;
    BITMAPINFO target = source;
    target.bmiHeader.biWidth = targetWidth;
    target.bmiHeader.biHeight = targetHeight;
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    void* bits = nullptr;
    UniqueBitmap picture(CreateDIBSection(dc.Get(), &target, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc || !picture || !bits) return false;
    const HGDIOBJ old = SelectObject(dc.Get(), picture.Get());
    SetStretchBltMode(dc.Get(), HALFTONE);
    SetBrushOrgEx(dc.Get(), 0, 0, nullptr);
    const int lines = StretchDIBits(dc.Get(), 0, 0, targetWidth, targetHeight, 0, 0, width, height,
                                    bottomUp, &source, DIB_RGB_COLORS, SRCCOPY);
    GdiFlush();
    SelectObject(dc.Get(), old);
    return lines != 0 && lines != static_cast<int>(GDI_ERROR);
}

// The encoder alone: a picture of the target size handed to GDI+ and saved.
bool Encode(const uint8_t* bottomUp, int width, int height, const std::wstring& path) {
    CLSID encoder{};
    if (!ImageEncoderForPath(path.c_str(), &encoder)) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    Gdiplus::Bitmap image(&info, const_cast<uint8_t*>(bottomUp));
    return image.GetLastStatus() == Gdiplus::Ok &&
           image.Save(path.c_str(), &encoder, nullptr) == Gdiplus::Ok;
}

}  // namespace

int PhotoStepFigures(int runs) {
    const StepCase cases[] = {
        {2560, 1920, 2048, 1536, false, "6353 option 2, 2560 x 1920 -> 2048 x 1536 BMP"},
        {2560, 1920, 2560, 1920, false, "6353 option 3, 2560 x 1920 -> 2560 x 1920 BMP"},
        {3488, 2616, 2048, 1536, true, "6355 option 2, 3488 x 2616 -> 2048 x 1536 JPEG"},
        {3488, 2616, 2560, 1920, true, "6355 option 3, 3488 x 2616 -> 2560 x 1920 JPEG"},
        {3488, 2616, 3488, 2616, true, "6355 option 4, 3488 x 2616 -> 3488 x 2616 JPEG"},
    };
    std::printf(
        "steps of a raw photo, medians of %d runs (ms): camera mosaic | conversion || before: "
        "HALFTONE stretch | platform encoder (GDI+) || now: own scaling | own encoder and file | "
        "scaled save || main window's copy\n",
        runs);
    const GdiplusSession gdiplus;
    const std::wstring saved = TempFilePath(L"OrvaneSteps-saved");
    const std::wstring copy = TempFilePath(L"OrvaneSteps-copy");
    int faults = 0;
    for (const StepCase& c : cases) {
        const std::wstring ext = c.jpeg ? L".jpg" : L".bmp";
        std::vector<uint8_t> mosaic(static_cast<size_t>(c.rawWidth) * c.rawHeight);
        const double camera = MedianMs(runs, [&] {
            vcam::RenderMosaic(mosaic.data(), c.rawWidth, c.rawHeight, 0, c.rawHeight, 4.25, 0);
            return true;
        });
        SceneRegisters registers;
        CRawPars_HW pars;
        pars.SetSource(&registers);
        std::unique_ptr<uint8_t[]> picture;
        const double conversion = MedianMs(runs, [&] {
            picture = pars.ConvertRaw(c.rawWidth, c.rawHeight, mosaic.data(), mosaic.size());
            return picture != nullptr;
        });
        if (!picture) {
            std::printf("%s: the conversion failed\n", c.what);
            ++faults;
            continue;
        }
        const bool resized = c.width != c.rawWidth || c.height != c.rawHeight;
        const double halftone =
            resized ? MedianMs(runs,
                               [&] {
                                   return HalftoneStretch(picture.get(), c.rawWidth, c.rawHeight,
                                                          c.width, c.height);
                               })
                    : 0.0;
        // The scaled picture, by the program's own scaling.
        const auto stride = static_cast<ptrdiff_t>(c.rawWidth) * 3;
        const auto targetStride = static_cast<ptrdiff_t>(c.width) * 3;
        std::vector<uint8_t> target(static_cast<size_t>(targetStride) * c.height);
        const double scaling =
            resized
                ? MedianMs(runs,
                           [&] {
                               return HalftoneScale({picture.get() + (c.rawHeight - 1) * stride,
                                                     c.rawWidth, c.rawHeight, -stride, 3},
                                                    {target.data() + (c.height - 1) * targetStride,
                                                     c.width, c.height, -targetStride, 3});
                           })
                : 0.0;
        if (!resized) std::copy_n(picture.get(), target.size(), target.data());
        const double platform = MedianMs(runs, [&] {
            return Encode(target.data(), c.width, c.height, saved + L"-gdiplus" + ext);
        });
        const double encoder = MedianMs(runs, [&] {
            return ScaleAndSave(target.data(), c.width, c.height, c.width, c.height, saved + ext);
        });
        const double save = MedianMs(runs, [&] {
            return ScaleAndSave(picture.get(), c.rawWidth, c.rawHeight, c.width, c.height,
                                saved + ext);
        });
        const double copying = MedianMs(runs, [&] {
            DeleteFileW((copy + ext).c_str());
            return CopyFileW((saved + ext).c_str(), (copy + ext).c_str(), TRUE) != FALSE;
        });
        std::printf("%s: %.0f | %.0f || %.0f | %.0f || %.0f | %.0f | %.0f || %.0f\n", c.what,
                    camera, conversion, halftone, platform, scaling, encoder, save, copying);
        if (halftone < 0 || scaling < 0 || platform < 0 || encoder < 0 || save < 0 || copying < 0)
            ++faults;
        for (const std::wstring& f : {saved + ext, saved + L"-gdiplus" + ext, copy + ext})
            DeleteFileW(f.c_str());
    }
    return faults == 0 ? 0 : 1;
}

}  // namespace orvane::bench
