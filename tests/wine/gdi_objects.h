#pragma once
// What the test process holds, counted the ways that answer under Wine 8: live GDI objects and
// committed memory.
#include <windows.h>

#include <cstdint>

namespace orvane::test {

// Live GDI objects of the process. Wine 8's GetGuiResources reads 0; its GDI finds an object
// by the table index alone, so there every index is tried.
inline int LiveGdiObjects() {
    if (DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
        return static_cast<int>(counted);
    int live = 0;
    for (uintptr_t index = 1; index < 0x10000; ++index)
        live += GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0;
    return live;
}

// Committed bytes of the address space: Wine reports no private usage in the process counters.
inline double CommittedBytes() {
    double total = 0;
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    auto at = static_cast<const char*>(system.lpMinimumApplicationAddress);
    MEMORY_BASIC_INFORMATION region{};
    while (at < system.lpMaximumApplicationAddress &&
           VirtualQuery(at, &region, sizeof region) == sizeof region) {
        if (region.State == MEM_COMMIT) total += static_cast<double>(region.RegionSize);
        at = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
    }
    return total;
}

}  // namespace orvane::test
