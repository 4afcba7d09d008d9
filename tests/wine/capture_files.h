#pragma once
// The files the program stores, as the tests find and read them.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace orvane::test {

// Full paths of the files in folder that match pattern (e.g. L"TX*.AVI").
inline std::vector<std::wstring> CaptureFiles(const std::wstring& folder, const wchar_t* pattern) {
    std::vector<std::wstring> found;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\" + pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return found;
    do {
        found.push_back(folder + L"\\" + data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return found;
}

// The whole file; false when it cannot be read.
inline bool ReadWholeFile(const std::wstring& path, std::vector<uint8_t>* bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart < (1LL << 30);
    if (ok) {
        bytes->resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ok = ReadFile(file, bytes->data(), static_cast<DWORD>(bytes->size()), &read, nullptr) &&
             read == bytes->size();
    }
    CloseHandle(file);
    return ok;
}

// Width and height of a BMP (from its header) or a JPEG (from its frame header).
inline bool PictureSize(const std::wstring& path, int* width, int* height) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::vector<uint8_t> bytes(1 << 16);
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    if (read >= 26 && bytes[0] == 'B' && bytes[1] == 'M') {
        int32_t w = 0, h = 0;
        memcpy(&w, &bytes[18], 4);
        memcpy(&h, &bytes[22], 4);
        *width = w;
        *height = h < 0 ? -h : h;
        return true;
    }
    for (size_t i = 2; i + 9 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && (bytes[i + 1] == 0xC0 || bytes[i + 1] == 0xC2)) {
            *height = bytes[i + 5] << 8 | bytes[i + 6];
            *width = bytes[i + 7] << 8 | bytes[i + 8];
            return true;
        }
    }
    return false;
}

}  // namespace orvane::test
