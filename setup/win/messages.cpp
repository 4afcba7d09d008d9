#include "setup/win/messages.h"

#include "platform/wide.h"
#include "setup/logic/wizard_rules.h"

namespace orvane::setup {

namespace {

constexpr size_t kTextUnits = 79;

bool FindInBlock(WORD language, UINT id, std::wstring& text, size_t maxUnits) {
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
    if (text.size() > maxUnits) text.resize(maxUnits);
    return true;
}

}  // namespace

WORD UserResourceLanguage() {
    return ResourceLanguageFor(GetUserDefaultUILanguage());
}

std::wstring MessageIn(WORD language, UINT id) {
    std::wstring text;
    if (FindInBlock(language, id, text, kTextUnits) ||
        FindInBlock(kLangEnglish, id, text, kTextUnits)) {
        return text;
    }
    return {};
}

std::wstring FullMessageIn(WORD language, UINT id) {
    std::wstring text;
    const size_t all = std::wstring().max_size();
    if (FindInBlock(language, id, text, all) || FindInBlock(kLangEnglish, id, text, all)) {
        return text;
    }
    return {};
}

std::wstring FailureText(WORD language, const SequenceResult& result) {
    const FailureReport report = ReportOf(result);
    std::wstring text = FullMessageIn(language, report.reason);
    if (report.namesFile) text += L"\n" + ToWide(result.file);
    text += L"\n\n" + FullMessageIn(language, report.outcome);
    return text;
}

}  // namespace orvane::setup
