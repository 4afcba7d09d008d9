// orvane-stack OUT.bmp IN1 IN2 ...
// Focus stacking of a picture series: every input is aligned to the first and the series is
// fused into OUT, a 24-bit BMP sharp wherever any input was. Inputs are 24- or 32-bit BMP
// files (further decoders join the reader list). A bad input ends the run with one error
// line, exit code 1 and no OUT.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "stacking/files/frame_files.h"
#include "stacking/focus_stacker.h"

namespace {

using orvane::stacking::StackStatus;

int Fail(const std::string& message) {
    std::fprintf(stderr, "orvane-stack: %s\n", message.c_str());
    return 1;
}

bool EndsWithBmp(const char* path) {
    const size_t n = std::strlen(path);
    if (n < 5) return false;
    const char* e = path + n - 4;
    return e[0] == '.' && (e[1] == 'b' || e[1] == 'B') && (e[2] == 'm' || e[2] == 'M') &&
           (e[3] == 'p' || e[3] == 'P');
}

std::string SizeText(int32_t w, int32_t h) {
    return std::to_string(w) + "x" + std::to_string(h);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return Fail("usage: orvane-stack OUT.bmp IN1 IN2 ... (two or more inputs)");
    const char* out = argv[1];
    if (!EndsWithBmp(out)) return Fail(std::string(out) + ": the output must be a .bmp file");

    const orvane::stacking::BmpFrameReader bmp;
    const orvane::stacking::FrameReader* const readers[] = {&bmp};

    orvane::stacking::FocusStacker stacker;
    const auto start = std::chrono::steady_clock::now();
    int32_t width = 0, height = 0;
    const int inputs = argc - 2;
    for (int i = 2; i < argc; ++i) {
        const char* path = argv[i];
        orvane::stacking::BgrImage frame;
        std::string error;
        if (!orvane::stacking::ReadFrameFile(path, readers, std::size(readers), &frame, &error))
            return Fail(std::string(path) + ": " + error);
        if (i == 2) {
            width = frame.Width();
            height = frame.Height();
            const StackStatus begun = stacker.Begin(width, height);
            if (begun != StackStatus::kOk)
                return Fail(std::string(path) + ": " + SizeText(width, height) + ", " +
                            orvane::stacking::StackStatusText(begun));
        }
        const StackStatus added = stacker.Add(frame.View());
        if (added == StackStatus::kSizeMismatch)
            return Fail(std::string(path) + ": " + SizeText(frame.Width(), frame.Height()) +
                        ", the first picture is " + SizeText(width, height));
        if (added == StackStatus::kNotAligned) {
            std::fprintf(stderr, "orvane-stack: %s: does not match the first picture, left out\n",
                         path);
        } else if (added != StackStatus::kOk) {
            return Fail(std::string(path) + ": " + orvane::stacking::StackStatusText(added));
        }
    }
    const int used = stacker.FramesUsed();
    orvane::stacking::BgrImage picture;
    const StackStatus finished = stacker.Finish(&picture);
    if (finished != StackStatus::kOk) return Fail(orvane::stacking::StackStatusText(finished));
    const auto stop = std::chrono::steady_clock::now();
    std::string error;
    if (!orvane::stacking::WriteBmpFile(out, picture, &error))
        return Fail(std::string(out) + ": " + error);
    const double ms = std::chrono::duration<double, std::milli>(stop - start).count();
    std::printf("stacked %d of %d pictures of %s in %.1f ms\n", used, inputs,
                SizeText(width, height).c_str(), ms);
    return 0;
}
