#include "capture/raw/raw_register_file.h"

#include <cctype>
#include <vector>

namespace orvane {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsSpace(line[i])) ++i;
        size_t start = i;
        while (i < line.size() && !IsSpace(line[i])) ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

// Hex number with an optional 0x prefix, at most max.
bool ParseHex(std::string_view s, uint32_t max, uint32_t* out) {
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s.remove_prefix(2);
    if (s.empty() || s.size() > 8) return false;
    uint32_t v = 0;
    for (char c : s) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        v = v * 16 + static_cast<uint32_t>(d);
    }
    if (v > max) return false;
    *out = v;
    return true;
}

bool ParseDecimal(std::string_view s, int* out) {
    bool neg = false;
    if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
        neg = s[0] == '-';
        s.remove_prefix(1);
    }
    if (s.empty() || s.size() > 9) return false;
    int v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    *out = neg ? -v : v;
    return true;
}

}  // namespace

bool RawRegisterFile::Parse(std::string_view text, std::string* error) {
    regs_.clear();
    brightness_.reset();
    int lineNo = 0;
    while (!text.empty()) {
        size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
        ++lineNo;
        auto f = Fields(line);
        if (f.empty() || f[0][0] == '#') continue;
        bool ok = false;
        if (f.size() == 2 && f[0] == "brightness") {
            int b;
            ok = ParseDecimal(f[1], &b);
            if (ok) brightness_ = b;
        } else if (f.size() == 2) {
            uint32_t a, v;
            ok = ParseHex(f[0], 0xFFFF, &a) && ParseHex(f[1], 0xFF, &v);
            if (ok) regs_[static_cast<uint16_t>(a)] = static_cast<uint8_t>(v);
        }
        if (!ok) {
            if (error)
                *error = "line " + std::to_string(lineNo) +
                         ": expected 'ADDRESS VALUE' "
                         "in hex or 'brightness N'";
            return false;
        }
    }
    return true;
}

bool RawRegisterFile::ReadRegister(uint16_t address, uint8_t* value) {
    auto it = regs_.find(address);
    if (it == regs_.end()) return false;
    *value = it->second;
    return true;
}

bool RawRegisterFile::ReadBrightness(int* value) {
    if (!brightness_) return false;
    *value = *brightness_;
    return true;
}

}  // namespace orvane
