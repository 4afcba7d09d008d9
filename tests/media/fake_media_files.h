#pragma once
// An in-memory folder tree for the media tests. Paths compare without regard to case, as on
// the platform, so "Info", "info" and "INFO" name one folder.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "media/media_files.h"
#include "media/text.h"

namespace orvane::test {

class FakeMediaFiles : public MediaFiles {
  public:
    struct File {
        std::vector<uint8_t> bytes;
        LocalTime written{};
    };

    void AddFolder(const std::u16string& path) { folders_.insert(Key(path)); }
    void AddFile(const std::u16string& path, std::vector<uint8_t> bytes = {},
                 LocalTime written = {}) {
        files_[Key(path)] = {std::move(bytes), written};
        names_[Key(path)] = path;
    }
    void MakeUnreadable(const std::u16string& folder) { unreadable_.insert(Key(folder)); }
    void MakeReadOnly(const std::u16string& folder) { readOnly_.insert(Key(folder)); }
    const File* Find(const std::u16string& path) const {
        auto it = files_.find(Key(path));
        return it == files_.end() ? nullptr : &it->second;
    }
    size_t FileCount() const { return files_.size(); }
    int writes = 0;

    bool ReadPrefix(const std::u16string& path, size_t maxBytes,
                    std::vector<uint8_t>& bytes) override {
        const File* f = Find(path);
        if (f == nullptr) return false;
        bytes.assign(f->bytes.begin(), f->bytes.begin() + std::min(maxBytes, f->bytes.size()));
        return true;
    }
    bool WriteWhole(const std::u16string& path, const uint8_t* data, size_t size) override {
        if (folders_.count(Parent(Key(path))) == 0 || readOnly_.count(Parent(Key(path)))) {
            return false;
        }
        ++writes;
        AddFile(path, std::vector<uint8_t>(data, data + size));
        return true;
    }
    bool Exists(const std::u16string& path) override {
        return files_.count(Key(path)) != 0 || folders_.count(Key(path)) != 0;
    }
    bool LastWriteLocalTime(const std::u16string& path, LocalTime& time) override {
        const File* f = Find(path);
        if (f == nullptr) return false;
        time = f->written;
        return true;
    }
    bool ListFolder(const std::u16string& folder, std::u16string_view pattern,
                    const EntryVisitor& visit) override {
        std::u16string key = Key(folder);
        while (!key.empty() && key.back() == u'\\') key.pop_back();
        if (folders_.count(key) == 0 || unreadable_.count(key) != 0) return false;
        const bool aviOnly = UpperCase(pattern) == u"*.AVI";
        auto list = [&](const std::u16string& entry, const std::u16string& spelled) {
            if (Parent(entry) != key) return;
            const std::u16string name = spelled.substr(spelled.rfind(u'\\') + 1);
            if (aviOnly &&
                (name.size() < 4 || UpperCase(name.substr(name.size() - 4)) != u".AVI")) {
                return;
            }
            visit(name);
        };
        for (const auto& [entry, spelled] : names_) list(entry, spelled);
        return true;
    }

  private:
    static std::u16string Key(const std::u16string& path) { return UpperCase(path); }
    static std::u16string Parent(const std::u16string& key) {
        const size_t at = key.rfind(u'\\');
        return at == std::u16string::npos ? std::u16string() : key.substr(0, at);
    }

    std::map<std::u16string, File> files_;
    std::map<std::u16string, std::u16string> names_;
    std::set<std::u16string> folders_;
    std::set<std::u16string> unreadable_;
    std::set<std::u16string> readOnly_;
};

class FakeClock : public MediaClock {
  public:
    int64_t ticks = 0;
    LocalTime now{2026, 12, 3, 9, 11, 40, 5, 250};
    int64_t UtcFileTime() override { return ticks; }
    LocalTime LocalNow() override { return now; }
};

}  // namespace orvane::test
