// Figures of the program's focus stacking under Wine: the worker the main window's Stack focus
// runs (decoding its sources one at a time and adding them to the stacker on a thread of its
// own), timed on the rendered series of the native benchmark written as BMP files, and on a clip
// of the virtual camera's focus sweep written as an uncompressed YUY2 AVI; beside it, in the
// same run, the portable stacker alone on the frames in memory. Prints measurements; not a test.
//   stack_figures pictures [WxHxN]   (default 1280x960x10, the frames shifted as by a hand)
//   stack_figures clip [WxHxN]       (default 640x480x30: N frames of one sweep)
#include <windows.h>
#include <vfw.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "media/stamp/pixel_rows.h"
#include "platform/gdiplus_session.h"
#include "stacking/focus_stacker.h"
#include "stacking/win/stack_worker.h"
#include "tests/stacking/focus_series.h"
#include "tests/stacking/truth_compare.h"
#include "tools/virtualcam/focus_feed.h"

namespace {

using namespace orvane;
using namespace orvane::stacking;
using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

double CpuMs() {
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

std::wstring TempFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"orvane-stack-figures";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

bool WriteBmp(const std::wstring& path, const BgrImage& image) {
    PixelRows rows;
    rows.width = image.Width();
    rows.height = image.Height();
    rows.topDown = true;
    rows.bytes.assign(image.Data(), image.Data() + image.Bytes());
    const std::vector<uint8_t> file = WriteBmp24(rows);
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(h, file.data(), static_cast<DWORD>(file.size()), &written, nullptr);
    CloseHandle(h);
    return written == file.size();
}

// An uncompressed YUY2 clip of the frames at 15 frames a second.
bool WriteYuy2Clip(const std::wstring& path, int width, int height,
                   const std::vector<std::vector<uint8_t>>& frames) {
    DeleteFileW(path.c_str());
    AVIFileInit();
    PAVIFILE file = nullptr;
    PAVISTREAM stream = nullptr;
    bool ok = AVIFileOpenW(&file, path.c_str(), OF_CREATE | OF_WRITE, nullptr) == 0;
    if (ok) {
        AVISTREAMINFOW info{};
        info.fccType = streamtypeVIDEO;
        info.fccHandler = mmioFOURCC('Y', 'U', 'Y', '2');
        info.dwScale = 1;
        info.dwRate = 15;
        info.dwSuggestedBufferSize = static_cast<DWORD>(width * height * 2);
        SetRect(&info.rcFrame, 0, 0, width, height);
        ok = AVIFileCreateStreamW(file, &stream, &info) == 0;
    }
    if (ok) {
        BITMAPINFOHEADER format{sizeof format,
                                width,
                                height,
                                1,
                                16,
                                mmioFOURCC('Y', 'U', 'Y', '2'),
                                static_cast<DWORD>(width * height * 2),
                                0,
                                0,
                                0,
                                0};
        ok = AVIStreamSetFormat(stream, 0, &format, sizeof format) == 0;
    }
    for (size_t i = 0; ok && i < frames.size(); ++i) {
        ok = AVIStreamWrite(stream, static_cast<LONG>(i), 1, const_cast<uint8_t*>(frames[i].data()),
                            static_cast<LONG>(frames[i].size()), AVIIF_KEYFRAME, nullptr,
                            nullptr) == 0;
    }
    if (stream) AVIStreamRelease(stream);
    if (file) AVIFileRelease(file);
    AVIFileExit();
    return ok;
}

struct Run {
    double wallMs = 0, cpuMs = 0;
    StackResult result;
};

// The program's worker over the sources, as Stack focus runs it.
Run RunWorker(const StackSources& sources) {
    Run run;
    StackWorker worker;
    const double cpu = CpuMs();
    const auto start = Clock::now();
    if (!worker.Start(sources)) return run;
    while (!worker.Done()) Sleep(1);
    run.result = worker.Finish();
    run.wallMs = Ms(start);
    run.cpuMs = CpuMs() - cpu;
    return run;
}

// The portable stacker alone on frames in memory.
Run RunStacker(const std::vector<BgrImage>& frames, BgrImage* out) {
    Run run;
    FocusStacker stacker;
    const double cpu = CpuMs();
    const auto start = Clock::now();
    if (stacker.Begin(frames[0].Width(), frames[0].Height()) != StackStatus::kOk) return run;
    for (const BgrImage& f : frames) stacker.Add(f.View());
    stacker.Finish(out);
    run.wallMs = Ms(start);
    run.cpuMs = CpuMs() - cpu;
    return run;
}

bool ParseSize(int argc, wchar_t** argv, int* w, int* h, int* n) {
    return argc <= 2 ||
           (std::swscanf(argv[2], L"%dx%dx%d", w, h, n) == 3 && *w > 0 && *h > 0 && *n > 1);
}

int Pictures(int width, int height, int count) {
    testing::SeriesPlan plan;
    plan.width = width;
    plan.height = height;
    plan.frames = count;
    plan.shift = 8.0;
    plan.scaleSpan = 0.01;
    testing::Series series;
    const auto rendering = Clock::now();
    if (!testing::MakeSeries(plan, &series)) return 1;
    std::printf("rendered %d frames of %dx%d in %.0f ms\n", count, width, height, Ms(rendering));
    const std::wstring folder = TempFolder();
    StackSources sources;
    sources.kind = SourceKind::kPictures;
    for (int k = 0; k < count; ++k) {
        wchar_t name[32];
        std::swprintf(name, 32, L"\\TX%07d.BMP", k + 1);
        sources.pictures.push_back(std::u16string(folder.begin(), folder.end()) +
                                   std::u16string(name, name + std::wcslen(name)));
        if (!WriteBmp(std::wstring(folder) + name, series.frames[static_cast<size_t>(k)])) return 1;
    }
    double best = 0;
    for (const BgrImage& f : series.frames) best = std::max(best, testing::Psnr(f, series.truth));
    BgrImage inMemory;
    const Run alone = RunStacker(series.frames, &inMemory);
    const Run worker = RunWorker(sources);
    if (worker.result.failure != StackFailure::kNone) {
        std::printf("the worker failed (%d)\n", static_cast<int>(worker.result.failure));
        return 1;
    }
    std::printf("best frame %.2f dB\n", best);
    std::printf("stacker alone, frames in memory: %.0f ms wall, %.0f ms CPU, %.2f dB\n",
                alone.wallMs, alone.cpuMs, testing::Psnr(inMemory, series.truth));
    std::printf("Stack focus worker, BMP files:   %.0f ms wall, %.0f ms CPU, %.2f dB, %d of %d\n",
                worker.wallMs, worker.cpuMs, testing::Psnr(worker.result.picture, series.truth),
                worker.result.used, worker.result.offered);
    for (const std::u16string& p : sources.pictures)
        DeleteFileW(std::wstring(p.begin(), p.end()).c_str());
    return 0;
}

int Clip(int width, int height, int count) {
    const vcam::FocusSweep sweep = vcam::CameraSweep(2.0);
    std::vector<std::vector<uint8_t>> yuy2;
    std::vector<BgrImage> frames;
    const auto rendering = Clock::now();
    for (int k = 0; k < count; ++k) {
        yuy2.emplace_back(static_cast<size_t>(width) * height * 2);
        if (!vcam::RenderSweepYuy2(width, height, sweep, 2.0 * k / count, 0, yuy2.back().data()))
            return 1;
        frames.emplace_back();
        if (!testing::DecodeYuy2(yuy2.back().data(), width, height, &frames.back())) return 1;
    }
    std::printf("rendered %d frames of %dx%d in %.0f ms\n", count, width, height, Ms(rendering));
    const std::wstring path = TempFolder() + L"\\TX0000001.AVI";
    if (!WriteYuy2Clip(path, width, height, yuy2)) return 1;
    BgrImage truth;
    if (!testing::CameraTruth(width, height, &truth)) return 1;
    double sharpest = 0;
    for (const BgrImage& f : frames)
        sharpest = std::max(sharpest, testing::CompareAligned(truth, f.View()).psnr);
    BgrImage inMemory;
    const Run alone = RunStacker(frames, &inMemory);
    StackSources sources;
    sources.kind = SourceKind::kClip;
    sources.clip = std::u16string(path.begin(), path.end());
    const Run worker = RunWorker(sources);
    DeleteFileW(path.c_str());
    if (worker.result.failure != StackFailure::kNone) {
        std::printf("the worker failed (%d)\n", static_cast<int>(worker.result.failure));
        return 1;
    }
    std::printf("sharpest frame %.2f dB (aligned onto the truth)\n", sharpest);
    std::printf("stacker alone, frames in memory: %.0f ms wall, %.0f ms CPU, %.2f dB\n",
                alone.wallMs, alone.cpuMs, testing::CompareAligned(truth, inMemory.View()).psnr);
    std::printf("Stack focus worker, YUY2 clip:   %.0f ms wall, %.0f ms CPU, %.2f dB, %d of %d\n",
                worker.wallMs, worker.cpuMs,
                testing::CompareAligned(truth, worker.result.picture.View()).psnr,
                worker.result.used, worker.result.offered);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const GdiplusSession gdiplus;
    const bool clip = argc > 1 && std::wcscmp(argv[1], L"clip") == 0;
    int width = clip ? 640 : 1280, height = clip ? 480 : 960, count = clip ? 30 : 10;
    if (!ParseSize(argc, argv, &width, &height, &count) || width % 2 != 0) {
        std::printf("stack_figures pictures|clip [WxHxN]\n");
        return 2;
    }
    return clip ? Clip(width, height, count) : Pictures(width, height, count);
}
