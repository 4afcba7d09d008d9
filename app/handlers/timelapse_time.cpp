#include "app/handlers/timelapse_time.h"

#include <string>

#include "capture/timelapse/timelapse_clock.h"

namespace orvane {

namespace {

int64_t LocalNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    int64_t count = 0;
    SystemTimeToCount(now, count);
    return count;
}

const TimeLapseClock& Clock() {
    static const TimeLapseClock clock = [] {
        wchar_t text[16] = {};
        const DWORD length = GetEnvironmentVariableW(L"ORVANE_TIMELAPSE_SPEED", text, 16);
        std::u16string value;
        if (length > 0 && length < 16) value.assign(text, text + length);
        return TimeLapseClock(LocalNow(), ParseTimeLapseSpeed(value));
    }();
    return clock;
}

}  // namespace

int64_t SeriesNow() {
    return Clock().Now(LocalNow());
}

UINT SeriesPeriodMs(UINT periodMs) {
    return Clock().PeriodMs(periodMs);
}

bool SystemTimeToCount(const SYSTEMTIME& time, int64_t& count) {
    FILETIME file{};
    if (!SystemTimeToFileTime(&time, &file)) return false;
    count = static_cast<int64_t>((static_cast<uint64_t>(file.dwHighDateTime) << 32) |
                                 file.dwLowDateTime);
    return true;
}

bool CountToSystemTime(int64_t count, SYSTEMTIME& time) {
    const uint64_t bits = static_cast<uint64_t>(count);
    const FILETIME file{static_cast<DWORD>(bits), static_cast<DWORD>(bits >> 32)};
    return FileTimeToSystemTime(&file, &time) != FALSE;
}

}  // namespace orvane
