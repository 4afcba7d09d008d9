#pragma once
// The time of time-lapse series in this run: local times as 100-ns counts, read through the
// series clock (faster than the local clock only when ORVANE_TIMELAPSE_SPEED names a speed).
#include <windows.h>

#include <cstdint>

namespace orvane {

int64_t SeriesNow();
// A timer period of the series, shortened with the clock's speed.
UINT SeriesPeriodMs(UINT periodMs);
bool SystemTimeToCount(const SYSTEMTIME& time, int64_t& count);
bool CountToSystemTime(int64_t count, SYSTEMTIME& time);

}  // namespace orvane
