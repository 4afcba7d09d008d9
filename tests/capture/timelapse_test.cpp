#include <gtest/gtest.h>

#include <vector>

#include "capture/timelapse/timelapse_clock.h"
#include "capture/timelapse/timelapse_schedule.h"

namespace orvane {
namespace {

constexpr int64_t kSecond = 10'000'000;  // in 100-ns units
constexpr int64_t kStart = 130'000'000'000'000'000;

struct Event {
    int second;
    TickAction action;
    bool operator==(const Event&) const = default;
};

// Ticks once a second from kStart until the series finishes (or 200 ticks), with a recorder
// that records from the tick after a start and needs two ticks to close a clip.
std::vector<Event> RunSeries(TimeLapseValues values, int64_t startTime) {
    std::vector<Event> events;
    int64_t last = startTime;
    RecorderState recorder = RecorderState::kIdle;
    int closing = 0;
    for (int s = 0; s < 200; ++s) {
        if (recorder == RecorderState::kChanging && --closing == 0) recorder = RecorderState::kIdle;
        const TickAction action = TimeLapseTick(values, last, kStart + s * kSecond, recorder);
        if (action == TickAction::kStartClip) recorder = RecorderState::kRecording;
        if (action == TickAction::kEndClip) {
            recorder = RecorderState::kChanging;
            closing = 2;
        }
        if (action != TickAction::kWait) events.push_back({s, action});
        if (action == TickAction::kFinish) break;
    }
    return events;
}

TEST(TimeLapseSchedule, PhotosFromTheStartTimeEveryIntervalThenFinish) {
    TimeLapseValues values;
    values.total = 3;
    values.interval = 10;
    const std::vector<Event> now = {{0, TickAction::kPhoto},
                                    {10, TickAction::kPhoto},
                                    {20, TickAction::kPhoto},
                                    {21, TickAction::kFinish}};
    EXPECT_EQ(RunSeries(values, kStart), now);
    // A start time 5.5 s ahead: nothing until the first tick at or after it.
    const std::vector<Event> later = {{6, TickAction::kPhoto},
                                      {16, TickAction::kPhoto},
                                      {26, TickAction::kPhoto},
                                      {27, TickAction::kFinish}};
    EXPECT_EQ(RunSeries(values, kStart + 55 * kSecond / 10), later);

    values.total = 0;
    EXPECT_EQ(RunSeries(values, kStart), (std::vector<Event>{{0, TickAction::kFinish}}));
}

TEST(TimeLapseSchedule, ClipsLastTheVideoTimeAndTheNextStartsAnIntervalAfterTheLastEnded) {
    TimeLapseValues values;
    values.mode = TimeLapseMode::kVideo;
    values.interval = 30;
    values.videoTime = 10;
    values.total = 2;
    const std::vector<Event> expected = {{0, TickAction::kStartClip},
                                         {10, TickAction::kEndClip},
                                         {40, TickAction::kStartClip},
                                         {50, TickAction::kEndClip},
                                         {51, TickAction::kFinish}};
    EXPECT_EQ(RunSeries(values, kStart), expected);
}

TEST(TimeLapseSchedule, AClipBeingStartedOrClosedIsNeitherEndedNorCountedAgain) {
    TimeLapseValues values;
    values.mode = TimeLapseMode::kVideo;
    values.captured = 1;
    int64_t last = kStart;
    EXPECT_EQ(TimeLapseTick(values, last, kStart + 100 * kSecond, RecorderState::kChanging),
              TickAction::kWait);
    EXPECT_EQ(values.captured, 1u);
    EXPECT_EQ(last, kStart);
}

TEST(TimeLapseSchedule, LongIntervalsDoNotWrapAt32Bits) {
    TimeLapseValues values;
    values.interval = 4'294'968;  // x 1000 is 704 modulo 2^32
    values.videoTime = 4'294'968;
    values.captured = 1;
    values.total = 5;
    int64_t last = kStart;
    EXPECT_EQ(TimeLapseTick(values, last, kStart + kSecond, RecorderState::kIdle),
              TickAction::kWait);
    const int64_t fiftyDays = 4'294'968LL * kSecond;
    EXPECT_EQ(TimeLapseTick(values, last, kStart + fiftyDays, RecorderState::kIdle),
              TickAction::kPhoto);
    values.mode = TimeLapseMode::kVideo;
    EXPECT_EQ(TimeLapseTick(values, last, last + kSecond, RecorderState::kRecording),
              TickAction::kWait);
    EXPECT_EQ(TimeLapseTick(values, last, last + fiftyDays, RecorderState::kRecording),
              TickAction::kEndClip);
}

TEST(TimeLapseValues, FieldsTakeUnsignedDecimalsOnly) {
    uint32_t value = 77;
    EXPECT_TRUE(ParseUnsignedField(u" 12 ", value));
    EXPECT_EQ(value, 12u);
    EXPECT_TRUE(ParseUnsignedField(u"4294967295", value));
    EXPECT_EQ(value, 4294967295u);
    for (const char16_t* refused : {u"", u"  ", u"-1", u"+1", u"1a", u"1 2", u"4294967296"}) {
        value = 77;
        EXPECT_FALSE(ParseUnsignedField(refused, value)) << "refused";
        EXPECT_EQ(value, 77u) << "the value is not taken";
    }
}

TEST(TimeLapseClock, RunsFasterOnlyWhenASpeedIsNamed) {
    EXPECT_EQ(ParseTimeLapseSpeed(u""), 1u);
    EXPECT_EQ(ParseTimeLapseSpeed(u"0"), 1u);
    EXPECT_EQ(ParseTimeLapseSpeed(u"fast"), 1u);
    EXPECT_EQ(ParseTimeLapseSpeed(u"101"), 1u);
    EXPECT_EQ(ParseTimeLapseSpeed(u"5"), 5u);

    const TimeLapseClock normal(kStart, 1);
    EXPECT_EQ(normal.Now(kStart + 3 * kSecond), kStart + 3 * kSecond);
    EXPECT_EQ(normal.PeriodMs(1000), 1000u);
    const TimeLapseClock fast(kStart, 5);
    EXPECT_EQ(fast.Now(kStart + 3 * kSecond), kStart + 15 * kSecond);
    EXPECT_EQ(fast.PeriodMs(1000), 200u);
    EXPECT_EQ(TimeLapseClock(kStart, 100).PeriodMs(50), 1u);
}

}  // namespace
}  // namespace orvane
