#include "platform/accelerators.h"

#include <vector>

namespace orvane {

UniqueAccelerators AcceleratorsWithout(HACCEL table, bool (*leaves)(uint32_t command)) {
    if (!table) return {};
    const int count = CopyAcceleratorTableW(table, nullptr, 0);
    if (count <= 0) return {};
    std::vector<ACCEL> entries(static_cast<size_t>(count));
    const int copied = CopyAcceleratorTableW(table, entries.data(), count);
    std::vector<ACCEL> kept;
    for (int i = 0; i < copied; ++i) {
        if (!leaves(entries[static_cast<size_t>(i)].cmd))
            kept.push_back(entries[static_cast<size_t>(i)]);
    }
    if (kept.empty()) return {};
    return UniqueAccelerators(CreateAcceleratorTableW(kept.data(), static_cast<int>(kept.size())));
}

}  // namespace orvane
