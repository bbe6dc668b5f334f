#include "play_clock.h"

#include <gtest/gtest.h>

namespace {

TEST(PlayClock, HearsNothingBeforeTheFirstBuffer) {
    PlayClock clock(44100.0, 0.0);
    EXPECT_EQ(clock.Heard(10.0), 0.0);
    EXPECT_EQ(clock.Heard(20.0), 0.0);
}

TEST(PlayClock, RunsOnWithWallTimeBetweenBuffersAndNeverPastWhatWasHanded) {
    PlayClock clock(1000.0, 0.0);
    clock.Handed(1.0, 100, 100);
    EXPECT_NEAR(clock.Heard(1.0), 0.0, 1e-6);
    EXPECT_NEAR(clock.Heard(1.05), 50.0, 1e-6);
    EXPECT_NEAR(clock.Heard(1.5), 100.0, 1e-6);  // the device was not fed again: it stops there
    clock.Handed(1.6, 100, 100);
    EXPECT_NEAR(clock.Heard(1.65), 150.0, 1e-6);
}

TEST(PlayClock, NeverGoesBackWhenABufferArrivesLate) {
    PlayClock clock(1000.0, 0.0);
    clock.Handed(0.0, 100, 100);
    const double before = clock.Heard(0.09);
    // The next buffer's callback stamps an earlier anchor than the clock has reached.
    clock.Handed(0.095, 100, 100);
    EXPECT_GE(clock.Heard(0.095), before);
    EXPECT_GE(clock.Heard(0.096), clock.Heard(0.095));
}

TEST(PlayClock, CountsTheDeviceQueueAsNotYetHeard) {
    PlayClock clock(1000.0, 100.0);
    clock.Handed(0.0, 100, 100);
    EXPECT_NEAR(clock.Heard(0.05), 0.0, 1e-6);
    clock.Handed(0.1, 100, 100);
    EXPECT_NEAR(clock.Heard(0.1), 0.0, 1e-6);
    EXPECT_NEAR(clock.Heard(0.15), 50.0, 1e-6);
    EXPECT_NEAR(clock.Heard(0.3), 100.0, 1e-6);
}

TEST(PlayClock, StopsAtTheEndOfTheMusicInAPartBuffer) {
    PlayClock clock(1000.0, 0.0);
    clock.Handed(0.0, 30, 100);
    EXPECT_NEAR(clock.Heard(0.2), 30.0, 1e-6);
    clock.Handed(0.1, 0, 100);
    EXPECT_NEAR(clock.Heard(0.3), 30.0, 1e-6);
}

TEST(PlayClock, RestartsFromAFrame) {
    PlayClock clock(1000.0, 0.0);
    clock.Handed(0.0, 100, 100);
    clock.Heard(0.1);
    clock.Restart(500.0, 500.0, 0.15);
    EXPECT_NEAR(clock.Heard(0.2), 500.0, 1e-6);
    clock.Handed(0.3, 100, 100);
    EXPECT_NEAR(clock.Heard(0.35), 550.0, 1e-6);
    EXPECT_NEAR(clock.HandedFrames(), 600.0, 1e-6);
}

TEST(PlayClock, WithoutAnOutputRunsOnFromTheLastBufferWithoutLimitAndNeverBack) {
    PlayClock clock(1000.0, 0.0);
    clock.Handed(1.0, 100, 100);
    EXPECT_NEAR(clock.Heard(1.08), 80.0, 1e-6);
    // The device went silent at 1.1 s; it was noticed at 1.4 s, by which time
    // the clock stood at the end of what was handed.
    EXPECT_NEAR(clock.Heard(1.4), 100.0, 1e-6);
    clock.FreeRun(1.4);
    EXPECT_TRUE(clock.FreeRunning());
    EXPECT_NEAR(clock.Heard(1.4), 400.0, 1e-6) << "as if it had gone on playing";
    EXPECT_NEAR(clock.Heard(3.4), 2400.0, 1e-6);
    // A new output starts a little behind: the clock waits for it rather than go back.
    EXPECT_NEAR(clock.Heard(3.5), 2500.0, 1e-6);
    clock.Report(3.5, 2450.0);
    EXPECT_FALSE(clock.FreeRunning());
    EXPECT_NEAR(clock.Heard(3.5), 2500.0, 1e-6);
    EXPECT_NEAR(clock.Heard(3.52), 2500.0, 1e-6);
    EXPECT_NEAR(clock.Heard(3.6), 2550.0, 1e-6);
}

TEST(PlayClock, WithoutAnyOutputRunsFromItsRestart) {
    PlayClock clock(1000.0, 0.0);
    clock.FreeRun(0.0);
    clock.Restart(500.0, 500.0, 2.0);
    EXPECT_NEAR(clock.Heard(2.0), 500.0, 1e-6);
    EXPECT_NEAR(clock.Heard(2.5), 1000.0, 1e-6);
}

TEST(PlayClock, AReportStandsForItsFrameAndRunsOnAtMostAShortWhile) {
    PlayClock clock(1000.0, 0.0);
    clock.Report(1.0, 300.0);
    EXPECT_NEAR(clock.Heard(1.0), 300.0, 1e-6);
    EXPECT_NEAR(clock.Heard(1.05), 350.0, 1e-6);
    EXPECT_NEAR(clock.Heard(5.0), 400.0, 1e-6) << "a tenth of a second beyond the last report";
}

}  // namespace
