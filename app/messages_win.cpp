#include <windows.h>

#include "app/rules/language.h"
#include "app/messages.h"

namespace orvane {

namespace {
unsigned g_stringBase = 0;
}  // namespace

void SetCurrentStringBase(unsigned base) {
    g_stringBase = base;
}

std::wstring MessageText(int n) {
    const wchar_t* text = nullptr;
    // With a zero buffer size the call answers a read-only pointer into the resource.
    const int length = LoadStringW(GetModuleHandleW(nullptr), MessageId(g_stringBase, n),
                                   reinterpret_cast<wchar_t*>(&text), 0);
    if (length <= 0 || text == nullptr) return {};
    return std::wstring(text, static_cast<size_t>(length));
}

}  // namespace orvane
