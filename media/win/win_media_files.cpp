#include "media/win/win_media_files.h"

#include "media/win/disk_case.h"

#include <windows.h>

#include "media/text.h"
#include "media/win/win_wide.h"

namespace orvane {

namespace {
std::wstring OnDisk(const std::u16string& path) {
    return DiskCasePath(std::wstring(Wide(path)));
}
}  // namespace

namespace {
class FileHandle {
  public:
    explicit FileHandle(HANDLE h) : h_(h) {}
    ~FileHandle() {
        if (ok()) CloseHandle(h_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }

  private:
    HANDLE h_;
};

LocalTime FromSystemTime(const SYSTEMTIME& st) {
    return {st.wYear, st.wMonth,  st.wDayOfWeek, st.wDay,
            st.wHour, st.wMinute, st.wSecond,    st.wMilliseconds};
}

bool TooLong(const std::u16string& path) {
    return path.empty() || path.size() > kMaxPathChars;
}
}  // namespace

bool WinMediaFiles::ReadPrefix(const std::u16string& path, size_t maxBytes,
                               std::vector<uint8_t>& bytes) {
    bytes.clear();
    if (TooLong(path)) return false;
    FileHandle file(CreateFileW(OnDisk(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) return false;
    bytes.resize(maxBytes);
    size_t got = 0;
    while (got < maxBytes) {
        const DWORD want = static_cast<DWORD>(std::min<size_t>(maxBytes - got, 1u << 20));
        DWORD read = 0;
        if (!ReadFile(file.get(), bytes.data() + got, want, &read, nullptr) || read == 0) break;
        got += read;
    }
    bytes.resize(got);
    return true;
}

bool WinMediaFiles::WriteWhole(const std::u16string& path, const uint8_t* data, size_t size) {
    if (TooLong(path)) return false;
    FileHandle file(CreateFileW(OnDisk(path).c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) return false;
    size_t done = 0;
    while (done < size) {
        const DWORD want = static_cast<DWORD>(std::min<size_t>(size - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file.get(), data + done, want, &written, nullptr) || written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

bool WinMediaFiles::Exists(const std::u16string& path) {
    if (TooLong(path)) return false;
    return GetFileAttributesW(OnDisk(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WinMediaFiles::LastWriteLocalTime(const std::u16string& path, LocalTime& time) {
    if (TooLong(path)) return false;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(OnDisk(path).c_str(), GetFileExInfoStandard, &data)) return false;
    FILETIME local;
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local)) return false;
    if (!FileTimeToSystemTime(&local, &st)) return false;
    time = FromSystemTime(st);
    return true;
}

bool WinMediaFiles::ListFolder(const std::u16string& folder, std::u16string_view pattern,
                               const EntryVisitor& visit) {
    const std::u16string query = JoinPath(folder, pattern);
    if (TooLong(query) || folder.empty()) return false;
    WIN32_FIND_DATAW found;
    // No short names and large batches: the scan of a big folder costs far less.
    HANDLE find = FindFirstFileExW(Wide(query), FindExInfoBasic, &found, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        // A folder named like a capture ("TX000000A.JPG") is no capture.
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        visit(std::u16string_view(reinterpret_cast<const char16_t*>(found.cFileName)));
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return true;
}

int64_t WinMediaClock::UtcFileTime() {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    return static_cast<int64_t>((static_cast<uint64_t>(ft.dwHighDateTime) << 32) |
                                ft.dwLowDateTime);
}

LocalTime WinMediaClock::LocalNow() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return FromSystemTime(st);
}

}  // namespace orvane
