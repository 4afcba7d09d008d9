// Photo figures of the real program: from the Photo command (what F4 sends) to the picture in
// the picture folder with its side file, and on to the main window answering again (the strip
// shows the new picture), by photo option. Orvane.exe runs beside this program in its prefix,
// with settings and the documents folder's Orvane tree reset, as the Wine tests do.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/capture/figures.h"
#include "bench/capture/graph_host.h"
#include "bench/capture/virtual_camera.h"
#include "capture_files.h"
#include "media/companion_paths.h"
#include "orvane_process.h"
#include "platform/wide.h"
#include "registry_reader.h"

namespace orvane::bench {

namespace {

constexpr UINT kPhotoCommand = 32798;

struct AppCase {
    const wchar_t* pid;
    DWORD code;
    const char* what;
};

std::vector<std::wstring> Pictures() {
    return test::CaptureFiles(test::DocumentsFolder() + L"\\Orvane\\pictures", L"TX*.*");
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

int PhotoAppFigures(int runs) {
    const AppCase cases[] = {
        {L"6340", 0x03200258, "option 0, still 800 x 600 (BMP)"},
        {L"6353", 0x150003C0, "option 1, MJPG preview frame 1280 x 960 (BMP)"},
        {L"6353", 0x250003C0, "option 2, raw 2560 x 1920 -> 2048 x 1536 (BMP)"},
        {L"6353", 0x350003C0, "option 3, raw 2560 x 1920 -> 2560 x 1920 (BMP)"},
        {L"6355", 0x23200258, "option 2, raw halves 3488 x 2616 -> 2048 x 1536 (JPEG)"},
        {L"6355", 0x33200258, "option 3, raw halves 3488 x 2616 -> 2560 x 1920 (JPEG)"},
        {L"6355", 0x43200258, "option 4, raw halves 3488 x 2616 -> 3488 x 2616 (JPEG)"},
    };
    std::printf(
        "Photo command to picture stored / to the main window answering again (the strip"
        " showing it), in Orvane.exe, ms:\n");
    int faults = 0;
    for (const AppCase& c : cases) {
        test::ResetOrvaneState();
        const VirtualCameraModel model(c.pid);  // after the reset: it lives under the same key
        if (!model.Ok()) return 1;
        test::PutDword(L"ResolutionDisplay", c.code);
        test::OrvaneProcess program;
        HWND main = nullptr;
        if (!program.Start() || !(main = program.WaitForMainWindow()) ||
            !test::WaitForLivePicture(main)) {
            std::printf("%ls %s: the program or its camera did not start\n", c.pid, c.what);
            ++faults;
            continue;
        }
        Sleep(1000);
        std::printf("%ls %s:", c.pid, c.what);
        for (int run = 0; run < runs; ++run) {
            const std::vector<std::wstring> before = Pictures();
            const double start = Seconds();
            PostMessageW(main, WM_COMMAND, kPhotoCommand, 0);
            // Stored: the new picture's side file, which the intake writes after the copy.
            std::wstring side;
            while (Seconds() - start < 20 && side.empty()) {
                for (const std::wstring& picture : Pictures()) {
                    if (std::find(before.begin(), before.end(), picture) != before.end()) continue;
                    const std::wstring candidate = ToWide(SideFilePath(FromWide(picture)));
                    if (Exists(candidate)) side = candidate;
                }
                if (side.empty()) Sleep(1);
            }
            const double stored = Seconds();
            DWORD_PTR ignored = 0;
            SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &ignored);
            const double answering = Seconds();
            if (side.empty()) {
                std::printf(" (none)");
                ++faults;
            } else {
                std::printf(" %.0f / %.0f", (stored - start) * 1e3, (answering - start) * 1e3);
            }
            Sleep(700);
        }
        std::printf("\n");
        PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
        program.WaitForExit(15000);
    }
    test::ResetOrvaneState();
    return faults == 0 ? 0 : 1;
}

}  // namespace orvane::bench
