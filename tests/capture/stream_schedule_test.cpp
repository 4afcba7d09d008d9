#include <gtest/gtest.h>

#include "capture/stream_schedule.h"

namespace orvane {
namespace {

constexpr int64_t kDelay = 25'000'000;

TEST(StreamSchedule, BlockedRecordingAndStoppedStreams) {
    StreamSchedule s;
    EXPECT_TRUE(s.Flows(0)) << "a new stream flows";

    s.StartAt(StreamSchedule::kNever, 0);  // cancel the start
    s.StopAt(std::nullopt, 0);             // stop now
    EXPECT_FALSE(s.Flows(0));
    EXPECT_FALSE(s.Flows(INT64_MAX - 1)) << "blocked means never, however late";

    s.StartAt(kDelay, 7);
    s.StopAt(StreamSchedule::kNever, 8);  // cancel the stop
    EXPECT_FALSE(s.Flows(kDelay - 1));
    EXPECT_TRUE(s.Flows(kDelay));
    EXPECT_TRUE(s.Flows(kDelay * 1000));

    s.StopAt(kDelay * 2, 9);
    EXPECT_TRUE(s.Flows(kDelay * 2 - 1));
    EXPECT_FALSE(s.Flows(kDelay * 2)) << "the stop time itself no longer flows";

    s.StartAt(std::nullopt, 0);
    s.StopAt(StreamSchedule::kNever, 0);
    EXPECT_TRUE(s.Flows(-5)) << "start now covers samples stamped before the run";
}

TEST(StreamSchedule, StartsAndStopsAreAnnouncedOnceWithTheirCookies) {
    StreamSchedule s;
    s.StartAt(kDelay, 11);
    s.StopAt(kDelay * 2, 12);
    EXPECT_FALSE(s.Observe(kDelay - 1).started);
    auto change = s.Observe(kDelay);
    EXPECT_TRUE(change.started);
    EXPECT_EQ(change.startCookie, 11u);
    EXPECT_FALSE(change.stopped);
    EXPECT_FALSE(s.Observe(kDelay + 1).started) << "once";
    change = s.Observe(kDelay * 3);
    EXPECT_TRUE(change.stopped);
    EXPECT_EQ(change.stopCookie, 12u);
    EXPECT_FALSE(s.Observe(kDelay * 4).stopped);

    // Immediate and cancelled requests have no moment to announce.
    s.StartAt(std::nullopt, 1);
    s.StopAt(StreamSchedule::kNever, 2);
    change = s.Observe(0);
    EXPECT_FALSE(change.started || change.stopped);
}

}  // namespace
}  // namespace orvane
