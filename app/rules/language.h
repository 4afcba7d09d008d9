#pragma once
// Language codes and the string-table base they select.
#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

// String id of message n is StringBase(language) + 1000 + n. Codes outside 501..513 act as 503.
uint32_t StringBase(uint32_t language);
constexpr uint32_t MessageId(uint32_t stringBase, int n) {
    return stringBase + 1000 + static_cast<uint32_t>(n);
}

}  // namespace orvane

#include <array>

namespace orvane {

constexpr int kLanguageCount = 13;

struct LabelRect {
    int left, top, right, bottom;
    bool operator==(const LabelRect&) const = default;
};

// The 80 x 16 label beside a language's radio button (both in the same coordinates).
LabelRect LanguageLabelRect(int radioTop, int radioRight, int radioBottom);

// The language code whose label holds the point strictly inside, testing codes 501..513 in
// order; 0 when none does. Hidden entries count: their labels keep their places.
uint32_t LanguageAtPoint(const std::array<LabelRect, kLanguageCount>& labels, int x, int y);

// The code the language dialog starts with: the preset when valid, else 501.
uint32_t LanguageDialogPreset(uint32_t language);

}  // namespace orvane

namespace orvane {

// What a language code selects besides its string base.
struct LanguageInfo {
    uint32_t code;
    const char16_t* bitmapSuffix;  // of the menu-button pictures
    int mainMenu;
    int contextMenu;
    int editorMenu;
    const char16_t* manual;  // the PDF manual's file name
    bool shownInChooser;
};

// Codes outside 501..513 select English.
const LanguageInfo& LanguageInfoFor(uint32_t language);

// The resource name of a menu button's picture: text, language suffix and state letter
// (U, D or F), upper case, e.g. "BTNMENUFILEGEU".
std::u16string MenuButtonBitmapName(std::u16string_view buttonText, uint32_t language,
                                    char16_t state);

}  // namespace orvane
