#include "app/rules/folder_rules.h"

#include <algorithm>

namespace orvane {

std::u16string_view HistorySlot(const HistoryBuffer& history, size_t slot) {
    if (slot >= kHistorySlots) return {};
    const char16_t* begin = history.data() + slot * kPathUnits;
    const char16_t* end = std::find(begin, begin + kPathUnits, u'\0');
    return std::u16string_view(begin, static_cast<size_t>(end - begin));
}

std::vector<std::u16string> HistoryEntries(const HistoryBuffer& history) {
    std::vector<std::u16string> entries;
    for (size_t slot = 0; slot < kHistorySlots; ++slot) {
        const std::u16string_view text = HistorySlot(history, slot);
        if (!text.empty()) entries.emplace_back(text);
    }
    return entries;
}

bool PushHistory(HistoryBuffer& history, std::u16string_view folder) {
    if (folder.size() >= kPathUnits) return false;
    std::copy_backward(history.begin(), history.end() - kPathUnits, history.end());
    std::fill(history.begin(), history.begin() + kPathUnits, u'\0');
    std::copy(folder.begin(), folder.end(), history.begin());
    return true;
}

}  // namespace orvane
