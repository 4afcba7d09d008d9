#pragma once
// Byte layouts of the stored settings that are not plain DWORDs.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

constexpr size_t kPathUnits = 260;
constexpr size_t kHistorySlots = 10;

// A fixed path buffer stored whole: 260 UTF-16 units, NUL-terminated text, rest zero.
using PathBuffer = std::array<char16_t, kPathUnits>;
// Ten path slots of 260 units each.
using HistoryBuffer = std::array<char16_t, kPathUnits * kHistorySlots>;

constexpr size_t kPathBufferBytes = 520;
constexpr size_t kHistoryBufferBytes = 5200;
static_assert(sizeof(PathBuffer) == kPathBufferBytes);
static_assert(sizeof(HistoryBuffer) == kHistoryBufferBytes);

std::u16string_view PathText(const PathBuffer& buffer);
// Copies text into the buffer, zero-filled; false (buffer unchanged) when it does not fit.
bool SetPathText(PathBuffer& buffer, std::u16string_view text);

// Little-endian byte image of a fixed buffer of UTF-16 units.
template <size_t N>
std::array<uint8_t, N * 2> UnitsToBytes(const std::array<char16_t, N>& units) {
    std::array<uint8_t, N * 2> bytes{};
    for (size_t i = 0; i < N; ++i) {
        bytes[2 * i] = static_cast<uint8_t>(units[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<uint8_t>(units[i] >> 8);
    }
    return bytes;
}

// A font description in the 92-byte LOGFONTW shape (little-endian):
//   0 height, 4 width, 8 escapement, 12 orientation, 16 weight (int32 each),
//  20 italic, 21 underline, 22 strike-out, 23 character set, 24 output precision,
//  25 clip precision, 26 quality, 27 pitch and family (one byte each),
//  28 face name (32 UTF-16 units, NUL-terminated).
struct LogFontRecord {
    int32_t height = 0;
    int32_t width = 0;
    int32_t escapement = 0;
    int32_t orientation = 0;
    int32_t weight = 0;
    uint8_t italic = 0;
    uint8_t underline = 0;
    uint8_t strikeOut = 0;
    uint8_t charSet = 0;
    uint8_t outPrecision = 0;
    uint8_t clipPrecision = 0;
    uint8_t quality = 0;
    uint8_t pitchAndFamily = 0;
    std::array<char16_t, 32> faceName{};

    static constexpr size_t kSize = 92;
    static constexpr size_t kFaceNameOffset = 28;
    using Bytes = std::array<uint8_t, kSize>;

    Bytes ToBytes() const;
    // False (record unchanged) unless the face name is terminated within its 32 units.
    bool FromBytes(const uint8_t* bytes, size_t size);

    bool operator==(const LogFontRecord&) const = default;
};
static_assert(LogFontRecord::kFaceNameOffset + 32 * 2 == LogFontRecord::kSize);

// Bold 21-pixel Times New Roman, the stamp font until the user picks another.
LogFontRecord DefaultStampFont();

// The magnification value: an IEEE-754 double, 8 bytes little-endian.
constexpr size_t kMagnificationBytes = 8;
std::array<uint8_t, kMagnificationBytes> DoubleToBytes(double value);
double DoubleFromBytes(const uint8_t* bytes);

}  // namespace orvane
