#include "results/win/results_settings.h"

#include <string>

#include "editor/rules/window_rules.h"
#include "platform/reg_key.h"

namespace orvane::results {
namespace {

constexpr wchar_t kKey[] = L"Software\\Orvane\\Results";

// Reads without creating: a run that changes nothing leaves no key behind.
bool ReadFlag(HKEY key, const wchar_t* name) {
    DWORD value = 0, size = sizeof value, type = 0;
    return RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
               ERROR_SUCCESS &&
           type == REG_DWORD && size == sizeof value && value != 0;
}

}  // namespace

ResultsSettings ReadResultsSettings() {
    ResultsSettings s;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return s;
    s.showLiveBar = ReadFlag(key, L"ShowScaleBar");
    s.stampBar = ReadFlag(key, L"StampScaleBar");
    RegCloseKey(key);
    return s;
}

void WriteResultsSettings(const ResultsSettings& s) {
    RegKey key;
    if (!key.Create(HKEY_CURRENT_USER, kKey)) return;
    key.SetDword(L"ShowScaleBar", s.showLiveBar ? 1 : 0);
    key.SetDword(L"StampScaleBar", s.stampBar ? 1 : 0);
}

editor::Unit StoredMeasureUnit() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Orvane", 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return editor::Unit::kMillimetre;
    }
    std::string bytes(512, '\0');
    DWORD size = static_cast<DWORD>(bytes.size()), type = 0;
    const bool read =
        RegQueryValueExW(key, L"Properties", nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()),
                         &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (!read) return editor::Unit::kMillimetre;
    bytes.resize(size);
    const editor::EditorProperties p = editor::EditorProperties::FromBytes(
        reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    return static_cast<editor::Unit>(p.unit);
}

}  // namespace orvane::results
