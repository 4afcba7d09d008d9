#include "results/win/main_results.h"

#include <cwctype>

#include "results/calibrated_tiff.h"
#include "results/tiff_writer.h"
#include "results/win/rows_scale_bar.h"

namespace orvane::results {

MainWindowResults::MainWindowResults() : settings_(ReadResultsSettings()) {}

bool MainWindowResults::Create(HWND owner) {
    return bar_.Create(owner);
}

void MainWindowResults::ToggleLiveBar() {
    settings_.showLiveBar = !settings_.showLiveBar;
    WriteResultsSettings(settings_);
    if (!settings_.showLiveBar) bar_.Hide();
}

void MainWindowResults::FollowLive(const LiveBarInputs& inputs) {
    if (!settings_.showLiveBar) {
        bar_.Hide();
        return;
    }
    bar_.Follow(inputs);
}

void MainWindowResults::SetStampBar(bool on) {
    if (settings_.stampBar == on) return;
    settings_.stampBar = on;
    WriteResultsSettings(settings_);
}

bool IsTiffPath(const std::wstring& path) {
    auto endsWith = [&](const wchar_t* ext) {
        const size_t n = std::wcslen(ext);
        if (path.size() < n) return false;
        for (size_t i = 0; i < n; ++i) {
            if (std::towupper(path[path.size() - n + i]) != ext[i]) return false;
        }
        return true;
    };
    return endsWith(L".TIF") || endsWith(L".TIFF");
}

bool WriteCalibratedTiff(const std::wstring& path, const PixelRows& rows, const Conversion& copy) {
    const std::vector<uint8_t> file = WriteTiff24(rows, CalibratedTiffFields(copy, "Orvane"));
    if (file.empty()) return false;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    size_t done = 0;
    bool ok = true;
    while (ok && done < file.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(file.size() - done, 1u << 30));
        DWORD written = 0;
        ok = WriteFile(h, file.data() + done, chunk, &written, nullptr) && written == chunk;
        done += written;
    }
    CloseHandle(h);
    return ok;
}

void MainWindowResults::PrepareSave(StampedSaveRequest& request,
                                    const MediaInfoRecord& record) const {
    const Unit unit = StoredMeasureUnit();
    // The copy's calibration: the picture's, each copy pixel covering ratio picture pixels.
    auto copyConversion = [record, unit](int32_t width, int32_t height, double ratio) {
        return SampledConversion(PictureConversion(record, width, height, unit), ratio);
    };
    if (settings_.stampBar) {
        request.decorate = [copyConversion, font = request.font, colour = request.colour](
                               PixelRows& out, int32_t width, int32_t height, double ratio,
                               const std::vector<StampText>& stamps) {
            if (const auto bar =
                    StampedBarFor(copyConversion(width, height, ratio), out, font, stamps)) {
                PrintScaleBar(out, *bar, font, colour);
            }
        };
    }
    if (IsTiffPath(request.target)) {
        request.write = [copyConversion](const std::wstring& target, const PixelRows& out,
                                         int32_t width, int32_t height, double ratio) {
            return WriteCalibratedTiff(target, out, copyConversion(width, height, ratio));
        };
    }
}

}  // namespace orvane::results
