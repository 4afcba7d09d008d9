#pragma once
// Pictures and capture names the Wine tests put into the folders before starting the program.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
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

inline bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return written == bytes.size();
}

}  // namespace orvane::test
