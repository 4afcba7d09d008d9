#include "capture/raw/raw_bmp.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace orvane {

namespace {

void Put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
    Put16(p, v & 0xFFFF);
    Put16(p + 2, v >> 16);
}

}  // namespace

bool BmpHeader(int w, int h, uint8_t out[kBmpHeaderBytes]) {
    if (w <= 0 || h <= 0) return false;
    uint64_t stride = (static_cast<uint64_t>(w) * 3 + 3) & ~uint64_t{3};
    uint64_t image = stride * static_cast<uint64_t>(h);
    if (image + kBmpHeaderBytes > 0xFFFFFFFFu) return false;
    std::memset(out, 0, kBmpHeaderBytes);
    out[0] = 'B';
    out[1] = 'M';
    Put32(out + 2, static_cast<uint32_t>(image + kBmpHeaderBytes));
    Put32(out + 10, kBmpHeaderBytes);
    Put32(out + 14, 40);
    Put32(out + 18, static_cast<uint32_t>(w));
    Put32(out + 22, static_cast<uint32_t>(h));
    Put16(out + 26, 1);
    Put16(out + 28, 24);
    Put32(out + 34, static_cast<uint32_t>(image));
    Put32(out + 38, 2835);  // 72 dpi
    Put32(out + 42, 2835);
    return true;
}

bool WriteBmp24(const char* path, int w, int h, const uint8_t* bgr) {
    uint8_t header[kBmpHeaderBytes];
    if (bgr == nullptr || !BmpHeader(w, h, header)) return false;
    std::FILE* f = std::fopen(path, "wb");
    if (f == nullptr) return false;
    size_t rowBytes = static_cast<size_t>(w) * 3;
    size_t stride = (rowBytes + 3) & ~size_t{3};
    bool ok = std::fwrite(header, 1, kBmpHeaderBytes, f) == kBmpHeaderBytes;
    const uint8_t pad[3] = {0, 0, 0};
    for (int r = 0; ok && r < h; ++r) {
        ok = std::fwrite(bgr + static_cast<size_t>(r) * rowBytes, 1, rowBytes, f) == rowBytes;
        if (ok && stride > rowBytes)
            ok = std::fwrite(pad, 1, stride - rowBytes, f) == stride - rowBytes;
    }
    if (std::fclose(f) != 0) ok = false;
    if (!ok) std::remove(path);
    return ok;
}

}  // namespace orvane
