#pragma once
// Pictures and capture names the Wine tests put into the folders before starting the program.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace orvane::test {

// "TX0000007.BMP" for n = 7.
inline std::wstring CaptureFileName(int n) {
    wchar_t name[16];
    swprintf(name, 16, L"TX%07d.BMP", n);
    return name;
}

// A bottom-up 24-bit BMP of one colour, rows padded to 4 bytes.
inline std::vector<uint8_t> SolidBmp(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    const int stride = (width * 3 + 3) & ~3;
    std::vector<uint8_t> bytes(54 + static_cast<size_t>(stride) * height, 0);
    const uint32_t fileSize = static_cast<uint32_t>(bytes.size()), offset = 54, info = 40;
    const uint16_t planes = 1, bits = 24;
    bytes[0] = 'B';
    bytes[1] = 'M';
    memcpy(&bytes[2], &fileSize, 4);
    memcpy(&bytes[10], &offset, 4);
    memcpy(&bytes[14], &info, 4);
    memcpy(&bytes[18], &width, 4);
    memcpy(&bytes[22], &height, 4);
    memcpy(&bytes[26], &planes, 2);
    memcpy(&bytes[28], &bits, 2);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &bytes[54 + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 3];
            p[0] = b;
            p[1] = g;
            p[2] = r;
        }
    }
    return bytes;
}

// A baseline JPEG of side x side mid-grey pixels (side a multiple of 8), written by hand: every
// 8 x 8 block is a DC difference of 0 and an end of block, two bits with one-code Huffman
// tables, so a 10000 x 10000 picture takes under 400 KB.
inline std::vector<uint8_t> GreyJpeg(int side) {
    std::vector<uint8_t> j{0xFF, 0xD8};
    auto add = [&](std::initializer_list<uint8_t> bytes) { j.insert(j.end(), bytes); };
    add({0xFF, 0xDB, 0, 67, 0});  // quantisation table 0: all ones
    j.insert(j.end(), 64, 1);
    const uint8_t hi = static_cast<uint8_t>(side >> 8), lo = static_cast<uint8_t>(side & 0xFF);
    add({0xFF, 0xC0, 0, 11, 8, hi, lo, hi, lo, 1, 1, 0x11, 0});  // one grey component
    for (uint8_t table : {uint8_t{0x00}, uint8_t{0x10}}) {        // DC and AC table 0
        add({0xFF, 0xC4, 0, 20, table, 1});
        j.insert(j.end(), 15, 0);
        add({0});  // the one code: DC category 0, or AC end of block
    }
    add({0xFF, 0xDA, 0, 8, 1, 1, 0x00, 0, 63, 0});
    const size_t blocks = static_cast<size_t>(side / 8) * static_cast<size_t>(side / 8);
    j.insert(j.end(), (blocks * 2 + 7) / 8, 0);
    add({0xFF, 0xD9});
    return j;
}

inline bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return written == bytes.size();
}

}  // namespace orvane::test
