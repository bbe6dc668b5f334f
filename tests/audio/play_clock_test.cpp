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
    clock.Restart(500.0);
    EXPECT_NEAR(clock.Heard(0.2), 500.0, 1e-6);
    clock.Handed(0.3, 100, 100);
    EXPECT_NEAR(clock.Heard(0.35), 550.0, 1e-6);
    EXPECT_NEAR(clock.HandedFrames(), 600.0, 1e-6);
}

}  // namespace
