#pragma once
// The media library's file and clock services over the platform's kernel calls.
#include "media/media_files.h"

namespace orvane {

class WinMediaFiles : public MediaFiles {
  public:
    bool ReadPrefix(const std::u16string& path, size_t maxBytes,
                    std::vector<uint8_t>& bytes) override;
    bool WriteWhole(const std::u16string& path, const uint8_t* data, size_t size) override;
    bool Exists(const std::u16string& path) override;
    bool LastWriteLocalTime(const std::u16string& path, LocalTime& time) override;
    bool ListFolder(const std::u16string& folder, std::u16string_view pattern,
                    const EntryVisitor& visit) override;
};

class WinMediaClock : public MediaClock {
  public:
    int64_t UtcFileTime() override;
    LocalTime LocalNow() override;
};

}  // namespace orvane
