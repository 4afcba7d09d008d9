#pragma once
// What a process holds, read the ways Windows offers and the ways that still answer under Wine.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace orvane::bench {

struct ProcessCounters {
    uint64_t privateUsage = 0;      // PROCESS_MEMORY_COUNTERS_EX::PrivateUsage
    uint64_t workingSet = 0;        // PROCESS_MEMORY_COUNTERS_EX::WorkingSetSize
    uint64_t committedPrivate = 0;  // committed private pages, summed over VirtualQuery
    int64_t unixAnonKb = -1;        // RssAnon of the hosting Linux process; -1 off Wine
    DWORD handles = 0;              // GetProcessHandleCount
    int64_t tableHandles = -1;      // this process's rows of the system handle table; -1: none
    DWORD gdiObjects = 0;           // GetGuiResources
    DWORD userObjects = 0;
    int unixThreads = -1;  // threads of the hosting Linux process; -1 off Wine
};

ProcessCounters ReadProcessCounters();
// This process's handles as the system handle table lists them (empty when it cannot be read),
// and the kind of object one of them stands for ("Event", "Thread", ...).
std::vector<HANDLE> OwnHandles();
std::wstring HandleTypeName(HANDLE handle);

}  // namespace orvane::bench
