#include "bench/capture/process_counters.h"

#include <psapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/handles.h"

namespace orvane::bench {

namespace {

// CreateFile and the snapshot functions fail with INVALID_HANDLE_VALUE rather than null.
UniqueHandle Owned(HANDLE handle) {
    return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

uint64_t CommittedPrivateBytes() {
    uint64_t total = 0;
    MEMORY_BASIC_INFORMATION info{};
    for (const BYTE* at = nullptr;
         VirtualQuery(at, &info, sizeof(info)) == sizeof(info) && info.RegionSize != 0;
         at = static_cast<const BYTE*>(info.BaseAddress) + info.RegionSize) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
    }
    return total;
}

std::string ReadWholeFile(const std::wstring& path) {
    const UniqueHandle file = Owned(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                nullptr, OPEN_EXISTING, 0, nullptr));
    std::string text;
    if (!file) return text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file.Get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        text.append(buffer, got);
    }
    return text;
}

// Under Wine the Windows process is a Linux process whose /proc folder is reachable through the
// drive that maps the root folder. /proc/self would name the Wine server, which opens files for
// its clients, so the folder is found by the process name Wine gives: the program's file name
// (cut to 15 characters). Empty when that is not exactly one process.
std::wstring UnixProcessFolder() {
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring base(module);
    base = base.substr(base.find_last_of(L"\\/") + 1);
    const std::string name(base.begin(), base.begin() + std::min<size_t>(base.size(), 15));
    WIN32_FIND_DATAW entry{};
    HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &entry);
    if (search == INVALID_HANDLE_VALUE) return {};
    std::wstring found;
    int matches = 0;
    do {
        if (entry.cFileName[0] < L'0' || entry.cFileName[0] > L'9') continue;
        const std::wstring folder = std::wstring(L"Z:\\proc\\") + entry.cFileName;
        if (ReadWholeFile(folder + L"\\comm") == name + "\n") {
            found = folder;
            ++matches;
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return matches == 1 ? found : std::wstring();
}

int64_t StatusField(const std::string& status, const char* field) {
    const size_t at = status.find(field);
    if (at == std::string::npos) return -1;
    return std::strtoll(status.c_str() + at + std::strlen(field), nullptr, 10);
}

// The system handle table (information class 16), one row per handle of every process.
struct HandleRow {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    PVOID object;
    ACCESS_MASK access;
};

template <typename Function>
Function NtdllEntry(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

// This process's handle values from the system handle table; false when it cannot be read.
bool ReadOwnHandles(std::vector<HANDLE>& handles) {
    using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    const auto query = NtdllEntry<Query>("NtQuerySystemInformation");
    if (!query) return false;
    constexpr ULONG kSystemHandleInformation = 16;
    constexpr LONG kLengthMismatch = static_cast<LONG>(0xC0000004);
    std::vector<BYTE> buffer(1 << 16);
    LONG status = kLengthMismatch;
    for (int attempt = 0; attempt < 8 && status == kLengthMismatch; ++attempt) {
        ULONG needed = 0;
        status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                       &needed);
        if (status == kLengthMismatch) buffer.resize(std::max<size_t>(needed, buffer.size() * 2));
    }
    if (status < 0) return false;
    ULONG count = 0;
    std::memcpy(&count, buffer.data(), sizeof(count));
    const size_t first = sizeof(ULONG_PTR);  // the count is padded to pointer size
    if (first + static_cast<size_t>(count) * sizeof(HandleRow) > buffer.size()) return false;
    const DWORD self = GetCurrentProcessId();
    handles.clear();
    for (ULONG i = 0; i < count; ++i) {
        HandleRow row;
        std::memcpy(&row, buffer.data() + first + i * sizeof(HandleRow), sizeof(row));
        if (row.ownerPid == self) handles.push_back(reinterpret_cast<HANDLE>(row.value));
    }
    return true;
}

}  // namespace

std::vector<HANDLE> OwnHandles() {
    std::vector<HANDLE> handles;
    ReadOwnHandles(handles);
    return handles;
}

std::wstring HandleTypeName(HANDLE handle) {
    using Query = LONG(WINAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
    const auto query = NtdllEntry<Query>("NtQueryObject");
    constexpr ULONG kObjectTypeInformation = 2;
    // The answer starts with the type's name as a counted string pointing into the same buffer.
    alignas(8) BYTE buffer[1024] = {};
    ULONG needed = 0;
    if (!query || query(handle, kObjectTypeInformation, buffer, sizeof(buffer), &needed) < 0) {
        return L"?";
    }
    USHORT bytes = 0;
    const wchar_t* text = nullptr;
    std::memcpy(&bytes, buffer, sizeof(bytes));
    std::memcpy(&text, buffer + sizeof(ULONG_PTR), sizeof(text));
    return text ? std::wstring(text, bytes / sizeof(wchar_t)) : L"?";
}

ProcessCounters ReadProcessCounters() {
    ProcessCounters c;
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof(memory);
    if (GetProcessMemoryInfo(GetCurrentProcess(),
                             reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory))) {
        c.privateUsage = memory.PrivateUsage;
        c.workingSet = memory.WorkingSetSize;
    }
    c.committedPrivate = CommittedPrivateBytes();
    static const std::wstring unixFolder = UnixProcessFolder();
    if (!unixFolder.empty()) {
        const std::string status = ReadWholeFile(unixFolder + L"\\status");
        c.unixAnonKb = StatusField(status, "RssAnon:");
        c.unixThreads = static_cast<int>(StatusField(status, "Threads:"));
    }
    GetProcessHandleCount(GetCurrentProcess(), &c.handles);
    std::vector<HANDLE> handles;
    if (ReadOwnHandles(handles)) c.tableHandles = static_cast<int64_t>(handles.size());
    c.gdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    c.userObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    return c;
}

}  // namespace orvane::bench
