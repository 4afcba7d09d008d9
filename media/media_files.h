#pragma once
// The file and clock services the media library needs; the Win32 side implements them with
// the platform's calls, tests with an in-memory folder tree.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// A calendar time in the platform's SYSTEMTIME field order.
struct LocalTime {
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t dayOfWeek = 0;
    uint16_t day = 0;
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint16_t milliseconds = 0;

    bool operator==(const LocalTime&) const = default;
};

class MediaFiles {
  public:
    virtual ~MediaFiles() = default;
    // Reads up to maxBytes from the start of the file; false when it cannot be opened.
    virtual bool ReadPrefix(const std::u16string& path, size_t maxBytes,
                            std::vector<uint8_t>& bytes) = 0;
    // Creates or truncates the file and writes the bytes; false when it cannot be opened or
    // not all bytes were written.
    virtual bool WriteWhole(const std::u16string& path, const uint8_t* data, size_t size) = 0;
    // True when a file or folder of that path exists, whatever its attributes.
    virtual bool Exists(const std::u16string& path) = 0;
    // The last-write time of the file converted to local time.
    virtual bool LastWriteLocalTime(const std::u16string& path, LocalTime& time) = 0;
    // Visits the bare name of every file of the folder that matches the pattern ("*.*" or
    // "*.avi"), in any order; folders are no files and are left out. False when the folder
    // cannot be enumerated.
    using EntryVisitor = std::function<void(std::u16string_view name)>;
    virtual bool ListFolder(const std::u16string& folder, std::u16string_view pattern,
                            const EntryVisitor& visit) = 0;
};

class MediaClock {
  public:
    virtual ~MediaClock() = default;
    // UTC in 100-ns ticks since 1601-01-01.
    virtual int64_t UtcFileTime() = 0;
    virtual LocalTime LocalNow() = 0;
};

}  // namespace orvane
