#pragma once
// Rules of the editor window: the title line, the stored drawing properties, the names and
// sampling of Save As, and the language tables.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::editor {

// The picture path, as "......" + its last 70 characters when longer than 80, then
// "   --   " + the note when there is one.
std::u16string TitleLine(std::u16string_view path, std::u16string_view note);

// A font description laid out as the platform's 92-byte wide-character font record.
struct FontRecord {
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
};
static_assert(sizeof(FontRecord) == 92);
static_assert(offsetof(FontRecord, italic) == 20);
static_assert(offsetof(FontRecord, faceName) == 28);

// Arial, height -24, weight 20, pitch and family 0x20.
FontRecord DefaultEditorFont();

// The drawing and measuring settings stored as the registry value "Properties".
struct EditorProperties {
    uint32_t drawColor = 0;
    int32_t drawWidth = 1;
    int32_t drawStyle = 0;
    uint32_t textColor = 0;
    FontRecord textFont = DefaultEditorFont();
    uint32_t measureColor = 0;
    int32_t measureWidth = 1;
    int32_t measureStyle = 0;
    uint32_t measureTextColor = 0;
    FontRecord measureFont = DefaultEditorFont();
    int32_t unit = 0;

    static constexpr size_t kSize = 220;
    using Bytes = std::array<uint8_t, kSize>;
    Bytes ToBytes() const;
    // Reads a stored value over the defaults. A value of another size is ignored (defaults);
    // widths outside 1..9, styles outside 0..4 and units outside 0..3 keep their defaults, and
    // a face name without terminator is cut to 31 characters.
    static EditorProperties FromBytes(const uint8_t* bytes, size_t size);
};
static_assert(offsetof(EditorProperties, drawColor) == 0);
static_assert(offsetof(EditorProperties, drawWidth) == 4);
static_assert(offsetof(EditorProperties, drawStyle) == 8);
static_assert(offsetof(EditorProperties, textColor) == 12);
static_assert(offsetof(EditorProperties, textFont) == 16);
static_assert(offsetof(EditorProperties, measureColor) == 108);
static_assert(offsetof(EditorProperties, measureWidth) == 112);
static_assert(offsetof(EditorProperties, measureStyle) == 116);
static_assert(offsetof(EditorProperties, measureTextColor) == 120);
static_assert(offsetof(EditorProperties, measureFont) == 124);
static_assert(offsetof(EditorProperties, unit) == 216);
static_assert(sizeof(EditorProperties) == EditorProperties::kSize);

// The name Save As writes: a name without extension gets ".BMP", ".JPG" or ".TIF" by the
// filter (filter 2 = JPEG, 3 = TIFF); a name not ending in .BMP, .JPG, .TIF or .TIFF (any
// case) gets ".BMP" appended.
std::u16string SaveAsName(std::u16string_view typed, int32_t filterIndex);
bool IsJpegName(std::u16string_view name);
bool IsTiffName(std::u16string_view name);

// Output pixel (x, y) takes picture pixel (trunc(x * r), trunc(y * r)) with
// r = min(pw / ow, ph / oh) in single precision.
float SampleFactor(int32_t pictureWidth, int32_t pictureHeight, int32_t outWidth,
                   int32_t outHeight);
int32_t SampleIndex(int32_t outIndex, float factor);

// Thread locale and editor menu template of a language id (501..513); others: 0 and English.
uint32_t LocaleOfLanguage(int32_t language);
int32_t EditorMenuOfLanguage(int32_t language);

// Menu command -> image index in bitmap 162, or -1.
int32_t EditorMenuImage(uint32_t command);

// The note as the side file's 260-unit field holds it: cut to 259 units, a surrogate pair never
// split.
std::u16string NoteThatFits(std::u16string note);

}  // namespace orvane::editor
