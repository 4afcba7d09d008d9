#include "setup/win/messages.h"

#include "setup/logic/wizard_rules.h"

namespace orvane::setup {

namespace {

constexpr size_t kTextUnits = 79;

bool FindInBlock(WORD language, UINT id, std::wstring& text) {
    HMODULE self = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceExW(self, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
    HGLOBAL loaded = found ? LoadResource(self, found) : nullptr;
    const auto* p = static_cast<const WORD*>(loaded ? LockResource(loaded) : nullptr);
    if (!p) return false;
    const DWORD size = SizeofResource(self, found) / sizeof(WORD);
    DWORD at = 0;
    // A block holds 16 counted strings; step over those before ours.
    for (UINT k = 0; k < id % 16; ++k) {
        if (at >= size) return false;
        at += 1 + p[at];
    }
    if (at >= size || p[at] == 0 || at + 1 + p[at] > size) return false;
    text.assign(reinterpret_cast<const wchar_t*>(p + at + 1), p[at]);
    if (text.size() > kTextUnits) text.resize(kTextUnits);
    return true;
}

}  // namespace

WORD UserResourceLanguage() {
    return ResourceLanguageFor(GetUserDefaultUILanguage());
}

std::wstring MessageIn(WORD language, UINT id) {
    std::wstring text;
    if (FindInBlock(language, id, text) || FindInBlock(kLangEnglish, id, text)) return text;
    return {};
}

}  // namespace orvane::setup
