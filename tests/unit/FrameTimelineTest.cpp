#include <gtest/gtest.h>

#include <cstdlib>

#include "record/FrameTimeline.h"
#include "TestRandom.h"

namespace {
// Grabs every frame when it is due, each different from the last, for one minute.
void RecordOnTime(CFrameTimeline& timeline, DWORD start, int framesPerSecond)
{
    for (int frame = 0; frame < 60 * framesPerSecond; ++frame)
        timeline.Taken(timeline.NextDue(), false);
    EXPECT_EQ(60000u, timeline.NextDue() - start);
    timeline.End(start + 60000);
}

TEST(FrameTimeline, OnTimeFramesStayOnTheGridForAMinute)
{
    for (int framesPerSecond : {10, 15}) {
        SCOPED_TRACE(framesPerSecond);
        const DWORD start = 5000;
        CFrameTimeline timeline(framesPerSecond, start);
        RecordOnTime(timeline, start, framesPerSecond);
        ASSERT_EQ(60u * framesPerSecond, timeline.Frames().size());
        DWORD durationSum = 0;
        int delaySum = 0;
        for (const SFrameTime& frame : timeline.Frames()) {
            durationSum += frame.durationMs;
            delaySum += frame.delayCs;
            EXPECT_NEAR(100.0 / framesPerSecond, frame.delayCs, 0.99);
        }
        EXPECT_EQ(60000u, durationSum);
        EXPECT_EQ(6000, delaySum);
    }
}

TEST(FrameTimeline, LateFramesLastUntilTheNextGrabOnTheGrid)
{
    CFrameTimeline timeline(10, 1000);
    timeline.Taken(1000, false);
    EXPECT_EQ(1100u, timeline.NextDue());
    timeline.Taken(1250, false);
    EXPECT_EQ(1300u, timeline.NextDue()) << "the missed slots are skipped";
    timeline.Taken(1300, false);
    timeline.Taken(1490, false);
    EXPECT_EQ(1600u, timeline.NextDue()) << "a slot too close for a GIF delay is skipped too";
    timeline.Taken(1600, false);
    timeline.Taken(1670, false);
    EXPECT_EQ(1800u, timeline.NextDue()) << "an early grab stands for the slot it was due at";
    timeline.End(1800);
    const DWORD starts[] = {0, 250, 300, 490, 600, 670};
    const DWORD durations[] = {250, 50, 190, 110, 70, 130};
    const int delays[] = {25, 5, 19, 11, 7, 13};
    ASSERT_EQ(6u, timeline.Frames().size());
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(starts[i], timeline.Frames()[i].startMs) << i;
        EXPECT_EQ(durations[i], timeline.Frames()[i].durationMs) << i;
        EXPECT_EQ(delays[i], timeline.Frames()[i].delayCs) << i;
    }
}

TEST(FrameTimeline, IdenticalFramesLengthenTheOneBefore)
{
    CFrameTimeline timeline(10, 0);
    timeline.Taken(0, true);  // the first frame has nothing to be the same as
    timeline.Taken(100, true);
    timeline.Taken(200, true);
    EXPECT_EQ(300u, timeline.NextDue());
    timeline.Taken(300, false);
    timeline.End(305);
    ASSERT_EQ(2u, timeline.Frames().size());
    EXPECT_EQ(300u, timeline.Frames()[0].durationMs);
    EXPECT_EQ(30, timeline.Frames()[0].delayCs);
    EXPECT_EQ(5u, timeline.Frames()[1].durationMs);
    EXPECT_EQ(CFrameTimeline::kMinDelayCs, timeline.Frames()[1].delayCs);
}

TEST(FrameTimeline, TickCountWrapsAroundDuringTheRecording)
{
    const DWORD start = 0xFFFFFF00u;
    CFrameTimeline timeline(15, start);
    RecordOnTime(timeline, start, 15);
    ASSERT_EQ(900u, timeline.Frames().size());
    for (const SFrameTime& frame : timeline.Frames())
        ASSERT_TRUE(frame.durationMs == 66 || frame.durationMs == 67) << frame.startMs;
}

// Grabs late by up to 60 ms, a third of them the same as before: at every frame the delays
// add up to the true time within a hundredth of a second, and none is below the GIF minimum.
TEST(FrameTimeline, DelaysAddUpToTheTrueTimeAtEveryFrame)
{
    for (int framesPerSecond : {20, 30}) {
        SCOPED_TRACE(framesPerSecond);
        CTestRandom random(framesPerSecond);
        CFrameTimeline timeline(framesPerSecond, 70000);
        for (int grab = 0; grab < 600; ++grab)
            timeline.Taken(timeline.NextDue() + random.Next(60), random.Next(3) == 0);
        timeline.End(timeline.NextDue());
        int delaySum = 0;
        for (const SFrameTime& frame : timeline.Frames()) {
            delaySum += frame.delayCs;
            const int trueEndMs = static_cast<int>(frame.startMs + frame.durationMs - timeline.Frames()[0].startMs);
            ASSERT_LE(std::abs(delaySum * 10 - trueEndMs), 10) << frame.startMs;
            ASSERT_GE(frame.delayCs, CFrameTimeline::kMinDelayCs) << frame.startMs;
        }
    }
}
}  // namespace

TEST(FrameTimeline, APauseIsLeftOutAndTheFrameBeforeItEndsThere)
{
    CFrameTimeline timeline(10, 1000);
    timeline.Taken(1000, false);
    timeline.Taken(1100, false);
    timeline.Pause(1150);
    EXPECT_EQ(150u, timeline.RecordedMs(4000)) << "the clock stands still while paused";
    timeline.Resume(3150);
    EXPECT_EQ(3150u, timeline.NextDue()) << "a frame is due as soon as it goes on";
    timeline.Taken(3150, false);
    EXPECT_EQ(3250u, timeline.NextDue());
    timeline.Pause(3200);
    timeline.Resume(3300);
    timeline.Taken(3300, true);
    timeline.End(3400);
    ASSERT_EQ(3u, timeline.Frames().size());
    EXPECT_EQ(50u, timeline.Frames()[1].durationMs);
    EXPECT_EQ(150u, timeline.Frames()[2].startMs);
    EXPECT_EQ(150u, timeline.Frames()[2].durationMs) << "the same screen after a pause lengthens the frame";
    EXPECT_EQ(30, timeline.Frames()[0].delayCs + timeline.Frames()[1].delayCs + timeline.Frames()[2].delayCs);
}

TEST(FrameTimeline, ANewRateTakesItsFirstFrameOnePeriodAfterTheLastGrab)
{
    CFrameTimeline timeline(10, 0);
    timeline.SetRate(5);
    EXPECT_EQ(0u, timeline.NextDue()) << "before any frame the first is due at the start";
    timeline.Taken(0, false);
    timeline.Taken(200, false);
    timeline.SetRate(10);
    EXPECT_EQ(300u, timeline.NextDue());
    timeline.Taken(300, false);
    timeline.SetRate(30);
    EXPECT_EQ(333u, timeline.NextDue());
    timeline.Taken(333, false);
    EXPECT_EQ(366u, timeline.NextDue());
    timeline.Taken(366, false);
    EXPECT_EQ(400u, timeline.NextDue()) << "the new grid counts from its own start, without drift";
}
