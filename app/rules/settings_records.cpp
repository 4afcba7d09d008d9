#include "app/rules/settings_records.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace orvane {

namespace {
void PutInt32(uint8_t* out, int32_t value) {
    const uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(v >> (8 * i));
}

int32_t GetInt32(const uint8_t* in) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(in[i]) << (8 * i);
    return static_cast<int32_t>(v);
}
}  // namespace

std::u16string_view PathText(const PathBuffer& buffer) {
    const auto end = std::find(buffer.begin(), buffer.end(), u'\0');
    return std::u16string_view(buffer.data(), static_cast<size_t>(end - buffer.begin()));
}

bool SetPathText(PathBuffer& buffer, std::u16string_view text) {
    if (text.size() >= buffer.size()) return false;
    buffer.fill(u'\0');
    std::copy(text.begin(), text.end(), buffer.begin());
    return true;
}

LogFontRecord::Bytes LogFontRecord::ToBytes() const {
    Bytes out{};
    PutInt32(&out[0], height);
    PutInt32(&out[4], width);
    PutInt32(&out[8], escapement);
    PutInt32(&out[12], orientation);
    PutInt32(&out[16], weight);
    out[20] = italic;
    out[21] = underline;
    out[22] = strikeOut;
    out[23] = charSet;
    out[24] = outPrecision;
    out[25] = clipPrecision;
    out[26] = quality;
    out[27] = pitchAndFamily;
    for (size_t i = 0; i < faceName.size(); ++i) {
        out[kFaceNameOffset + 2 * i] = static_cast<uint8_t>(faceName[i] & 0xFF);
        out[kFaceNameOffset + 2 * i + 1] = static_cast<uint8_t>(faceName[i] >> 8);
    }
    return out;
}

bool LogFontRecord::FromBytes(const uint8_t* in, size_t size) {
    if (size != kSize) return false;
    LogFontRecord r;
    r.height = GetInt32(&in[0]);
    r.width = GetInt32(&in[4]);
    r.escapement = GetInt32(&in[8]);
    r.orientation = GetInt32(&in[12]);
    r.weight = GetInt32(&in[16]);
    r.italic = in[20];
    r.underline = in[21];
    r.strikeOut = in[22];
    r.charSet = in[23];
    r.outPrecision = in[24];
    r.clipPrecision = in[25];
    r.quality = in[26];
    r.pitchAndFamily = in[27];
    bool terminated = false;
    for (size_t i = 0; i < r.faceName.size(); ++i) {
        r.faceName[i] = static_cast<char16_t>(in[kFaceNameOffset + 2 * i] |
                                              (in[kFaceNameOffset + 2 * i + 1] << 8));
        terminated = terminated || r.faceName[i] == u'\0';
    }
    if (!terminated) return false;
    *this = r;
    return true;
}

LogFontRecord DefaultStampFont() {
    LogFontRecord font;
    font.height = -21;
    font.weight = 700;
    font.outPrecision = 3;
    font.clipPrecision = 2;
    font.quality = 1;
    font.pitchAndFamily = 0x12;
    const std::u16string_view face = u"Times New Roman";
    std::copy(face.begin(), face.end(), font.faceName.begin());
    return font;
}

std::array<uint8_t, kMagnificationBytes> DoubleToBytes(double value) {
    const uint64_t bits = std::bit_cast<uint64_t>(value);
    std::array<uint8_t, kMagnificationBytes> out{};
    for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<uint8_t>(bits >> (8 * i));
    return out;
}

double DoubleFromBytes(const uint8_t* in) {
    uint64_t bits = 0;
    for (size_t i = 0; i < kMagnificationBytes; ++i)
        bits |= static_cast<uint64_t>(in[i]) << (8 * i);
    return std::bit_cast<double>(bits);
}

}  // namespace orvane
