#include "app/frame_timer.h"
#include "shell_fixture.h"

namespace {

TEST_F(ShellTest, ElapsedStartsNearZeroAndCountsSecondsWithoutGoingBack) {
    Script.frequency = 1000;
    Script.counter = 5000;
    Script.counterStep = 0;
    FrameTimer timer;
    // Only the rounding of the start time to single precision remains.
    EXPECT_NEAR(timer.Elapsed(), 0.0f, 1e-5f);
    const float start = timer.StartTime();
    float last = 0.0f;
    for (int i = 1; i <= 50; ++i) {
        Script.counter += 16;  // 16 ms a frame
        const float now = timer.Elapsed();
        EXPECT_GE(now, last);
        last = now;
    }
    EXPECT_NEAR(last, 0.8f, 1e-4f);
    EXPECT_EQ(timer.StartTime(), start);
    EXPECT_EQ(timer.LastElapsed(), last);
}

TEST_F(ShellTest, NowIsTheCounterTimesTheTickLengthInDoublePrecision) {
    Script.frequency = 3;
    Script.counter = 7;
    FrameTimer timer;
    Script.counter = 3000000007;
    const double expected = 3000000007.0 * static_cast<double>(1.0f / 3.0f);
    EXPECT_EQ(timer.Now(), expected);
    EXPECT_EQ(timer.SecondsPerTick(), static_cast<float>(1.0 / 3.0));
}

TEST_F(ShellTest, ACounterWithoutAFrequencyReadsZero) {
    Script.frequency = 0;
    Script.counter = 123456;
    FrameTimer timer;
    Script.counter = 999999;
    EXPECT_EQ(timer.Elapsed(), 0.0f);
    EXPECT_EQ(timer.Now(), 0.0);
}

TEST_F(ShellTest, TheGlobalTimerWasSetUpBeforeTheTestsRan) {
    // Static initialisation read the frequency of the scripted counter then.
    EXPECT_GT(GlobalFrameTimer.SecondsPerTick(), 0.0f);
}

}  // namespace
