#pragma once
// In-memory settings key and folder services for the settings tests.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/rules/settings.h"

namespace orvane::test {

struct StoredValue {
    ValueType type;
    std::string bytes;
};

class FakeKey : public SettingsKey {
  public:
    bool Query(std::u16string_view name, ValueType& type, std::string& bytes) override {
        auto it = values.find(std::u16string(name));
        if (it == values.end()) return false;
        type = it->second.type;
        bytes = it->second.bytes;
        return true;
    }
    bool Set(std::u16string_view name, ValueType type, const void* data, size_t size) override {
        order.emplace_back(name);
        values[std::u16string(name)] = {type, std::string(static_cast<const char*>(data), size)};
        return true;
    }
    void Flush() override { flushed = true; }

    void PutDword(std::u16string_view name, uint32_t v) {
        std::string b(4, '\0');
        for (int i = 0; i < 4; ++i) b[i] = static_cast<char>(v >> (8 * i));
        values[std::u16string(name)] = {ValueType::Dword, b};
    }
    void PutString(std::u16string_view name, std::u16string_view text, size_t totalUnits) {
        std::string b(totalUnits * 2, '\0');
        for (size_t i = 0; i < text.size() && i < totalUnits; ++i) {
            b[2 * i] = static_cast<char>(text[i] & 0xFF);
            b[2 * i + 1] = static_cast<char>(text[i] >> 8);
        }
        values[std::u16string(name)] = {ValueType::String, b};
    }
    uint32_t Dword(std::u16string_view name) const {
        const std::string& b = values.at(std::u16string(name)).bytes;
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<uint32_t>(static_cast<uint8_t>(b[i])) << (8 * i);
        return v;
    }

    std::map<std::u16string, StoredValue> values;
    std::vector<std::u16string> order;
    bool flushed = false;
};

class FakeFolders : public FolderOps {
  public:
    std::u16string DocumentsFolder() override { return documents; }
    bool IsDirectory(const std::u16string& path) override { return dirs.count(path) != 0; }
    bool CreateDirectories(const std::u16string& path) override {
        if (path.rfind(u"Q:", 0) == 0) return false;  // a drive that does not exist
        dirs.insert(path);
        created.push_back(path);
        return true;
    }
    bool SetHidden(const std::u16string& path) override {
        hidden.insert(path);
        return true;
    }

    std::u16string documents = u"C:\\users\\me\\Documents";
    std::set<std::u16string> dirs;
    std::set<std::u16string> hidden;
    std::vector<std::u16string> created;
};

}  // namespace orvane::test
