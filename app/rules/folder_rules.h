#pragma once
// The folder histories of the saving-folder chooser: ten slots of one path each, the most
// recent first.
#include <string>
#include <vector>

#include "app/rules/settings_records.h"

namespace orvane {

// The text of history slot (0..9), empty for an empty slot.
std::u16string_view HistorySlot(const HistoryBuffer& history, size_t slot);

// The non-empty slots in slot order, as the drop-down list shows them.
std::vector<std::u16string> HistoryEntries(const HistoryBuffer& history);

// Moves slots 0..8 down by one (slot 9 falls out) and puts folder into slot 0, whether or not
// it stands in the history already. False, with the history unchanged, for a folder that does
// not fit a slot.
bool PushHistory(HistoryBuffer& history, std::u16string_view folder);

}  // namespace orvane
