// orvane-raw W H in.raw out.bmp [registers.txt]
// Converts a raw Bayer frame (one byte per sensor pixel, rows top to bottom, B G / G R) with
// the camera's processing into a 24-bit BMP. registers.txt stands in for the camera's register
// file; without it the processor's defaults are used.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "capture/raw/raw_bmp.h"
#include "capture/raw/raw_camera.h"
#include "capture/raw/raw_register_file.h"

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "orvane-raw: %s\n", message.c_str());
    return 1;
}

bool ParseSize(const char* s, int* out) {
    if (s == nullptr || *s == '\0' || std::strlen(s) > 7) return false;
    int v = 0;
    for (const char* p = s; *p; ++p) {
        if (*p < '0' || *p > '9') return false;
        v = v * 10 + (*p - '0');
    }
    if (v <= 0) return false;
    *out = v;
    return true;
}

// Reads the whole file; expected, when not negative, is the exact size it must have.
bool ReadFile(const char* path, long long expected, std::unique_ptr<uint8_t[]>* data, size_t* size,
              std::string* error) {
    std::FILE* f = std::fopen(path, "rb");
    if (f == nullptr) {
        *error = std::string("cannot open ") + path;
        return false;
    }
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    long len = ok ? std::ftell(f) : -1;
    ok = ok && len >= 0 && std::fseek(f, 0, SEEK_SET) == 0;
    if (!ok) {
        std::fclose(f);
        *error = std::string("cannot read ") + path;
        return false;
    }
    if (expected >= 0 && len != expected) {
        std::fclose(f);
        *error = std::string(path) + " holds " + std::to_string(len) + " bytes, expected " +
                 std::to_string(expected);
        return false;
    }
    data->reset(new (std::nothrow) uint8_t[static_cast<size_t>(len) + 1]);
    if (!*data) {
        std::fclose(f);
        *error = "out of memory";
        return false;
    }
    size_t got = std::fread(data->get(), 1, static_cast<size_t>(len), f);
    std::fclose(f);
    if (got != static_cast<size_t>(len)) {
        *error = std::string("cannot read ") + path;
        return false;
    }
    *size = got;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5 && argc != 6) return Fail("usage: orvane-raw W H in.raw out.bmp [registers.txt]");
    int w = 0, h = 0;
    if (!ParseSize(argv[1], &w) || !ParseSize(argv[2], &h))
        return Fail("width and height must be positive whole numbers");
    long long pixels = static_cast<long long>(w) * h;
    if (pixels > orvane::kMaxRawPixels) return Fail("frame too large");

    std::string error;
    std::unique_ptr<uint8_t[]> raw;
    size_t rawSize = 0;
    if (!ReadFile(argv[3], pixels, &raw, &rawSize, &error)) return Fail(error);

    orvane::CRawPars_HW pars;
    // ORVANE_RAW_THREADS=n limits the worker threads (for timing runs).
    if (const char* t = std::getenv("ORVANE_RAW_THREADS")) {
        int n = 0;
        if (ParseSize(t, &n)) pars.SetThreads(n);
    }
    orvane::RawRegisterFile regs;
    if (argc == 6) {
        std::unique_ptr<uint8_t[]> text;
        size_t textSize = 0;
        if (!ReadFile(argv[5], -1, &text, &textSize, &error)) return Fail(error);
        if (!regs.Parse(std::string_view(reinterpret_cast<const char*>(text.get()), textSize),
                        &error))
            return Fail(std::string(argv[5]) + ": " + error);
        pars.SetSource(&regs);
    }

    auto start = std::chrono::steady_clock::now();
    std::unique_ptr<uint8_t[]> out = pars.ConvertRaw(w, h, raw.get(), rawSize);
    auto stop = std::chrono::steady_clock::now();
    if (!out) return Fail("conversion failed (out of memory)");
    if (!orvane::WriteBmp24(argv[4], w, h, out.get()))
        return Fail(std::string("cannot write ") + argv[4]);
    double ms = std::chrono::duration<double, std::milli>(stop - start).count();
    std::printf("converted %dx%d in %.1f ms\n", w, h, ms);
    return 0;
}
