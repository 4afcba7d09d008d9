// Figures of the capture graph with the virtual camera, under Wine or on Windows:
//   capture_figures cycles [count]        memory, handles and GUI objects over build/teardown
//   capture_figures rate [runs] [seconds] preview frame rate at 1280 x 960 YUY2, drops
//   capture_figures first-frame [runs] [pid]  first poll tick to the first preview frame
//   capture_figures mjpg [frames]         whether the MJPG model's preview renders, and the
//                                         MJPG decoding time per 1280 x 960 frame
//   capture_figures convert [frames]      the preview converter's time per 1280 x 960 frame
//   capture_figures photo [runs]          photo request to announced picture, by photo option,
//                                         then the steps of a raw photo one by one
//   capture_figures photo-steps [runs]    the steps alone
//   capture_figures photo-app [runs]      the Photo command to the stored picture in Orvane.exe
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/capture/figures.h"
#include "platform/com_ptr.h"

namespace {

int Argument(int argc, char** argv, int index, int fallback) {
    return argc > index ? std::atoi(argv[index]) : fallback;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace orvane::bench;
    setvbuf(stdout, nullptr, _IONBF, 0);
    const orvane::ComApartment apartment;
    if (!apartment.Ok()) return 2;
    const char* what = argc > 1 ? argv[1] : "";
    if (std::strcmp(what, "cycles") == 0) return CycleFigures(Argument(argc, argv, 2, 50));
    if (std::strcmp(what, "rate") == 0) {
        return RateFigures(Argument(argc, argv, 2, 1), Argument(argc, argv, 3, 10));
    }
    if (std::strcmp(what, "first-frame") == 0) {
        const std::string pid = argc > 3 ? argv[3] : "6320";
        const std::wstring widePid(pid.begin(), pid.end());
        return FirstFrameFigures(Argument(argc, argv, 2, 5), widePid.c_str());
    }
    if (std::strcmp(what, "mjpg") == 0) return MjpgFigures(Argument(argc, argv, 2, 50));
    if (std::strcmp(what, "convert") == 0) return ConvertFigures(Argument(argc, argv, 2, 200));
    if (std::strcmp(what, "photo") == 0) return PhotoFigures(Argument(argc, argv, 2, 3));
    if (std::strcmp(what, "photo-steps") == 0) return PhotoStepFigures(Argument(argc, argv, 2, 3));
    if (std::strcmp(what, "photo-app") == 0) return PhotoAppFigures(Argument(argc, argv, 2, 3));
    std::fprintf(stderr,
                 "usage: capture_figures cycles [count] | rate [runs] [seconds] |"
                 " first-frame [runs] [pid] | mjpg [frames] | convert [frames] | photo [runs] |"
                 " photo-steps [runs] | photo-app [runs]\n");
    return 2;
}
