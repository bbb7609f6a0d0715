// The clock motions play by: the frame due at a time, at the file's rate and the chosen speed.
#include "host/app/core/playback_clock.h"

#include <gtest/gtest.h>

namespace {

using fighost::PlaybackClock;

TEST(PlaybackClockTest, TheFrameDueFollowsTheFileRateAndTheSpeed) {
    struct Case {
        double frameTime, speed;
        int startFrame;
        double seconds;  // since play began
        int first, last, due;
    };
    const Case cases[] = {
        {1.0 / 120, 1, 1, 0.0, 1, 255, 1},
        {1.0 / 120, 1, 1, 0.5, 1, 255, 61},     // 60 frames in half a second
        {1.0 / 120, 0.25, 1, 0.5, 1, 255, 16},  // a quarter as many
        {1.0 / 120, 4, 1, 0.5, 1, 255, 241},    // four times as many
        {1.0 / 120, 1, 250, 0.1, 1, 255, 7},    // round from 255 back to 1
        {0.033333, 1, 10, 1.0, 1, 149, 40},     // a 30 Hz walk
        {0, 1, 1, 1.0, 1, 149, 31},             // no frame time in the file: 30 a second
        {-5, 1, 1, 1.0, 1, 149, 31},
        {1.0 / 120, 1, 300, 0.0, 1, 149, 149},  // a start past the end starts at the last
        {1.0 / 120, 1, 1, 1e6, 1, 149, static_cast<int>(1 + 120000000LL % 149)},
        {1.0 / 120, 1, 1, 5, 1, 1, 1},  // a single frame stays
    };
    for (const Case& c : cases) {
        PlaybackClock clock;
        clock.setFrameTime(c.frameTime);
        clock.setSpeed(c.speed, 0);
        clock.start(c.startFrame, 100);
        EXPECT_EQ(clock.frameAt(100 + c.seconds, c.first, c.last), c.due)
            << c.frameTime << " " << c.speed << " " << c.seconds;
    }
}

TEST(PlaybackClockTest, ChangingSpeedGoesOnFromTheFrameShown) {
    PlaybackClock clock;
    clock.setFrameTime(0.01);
    clock.start(1, 0);
    EXPECT_EQ(clock.frameAt(0.5, 1, 255), 51);
    clock.setSpeed(2, 0.5);
    EXPECT_EQ(clock.frameAt(0.5, 1, 255), 51);
    EXPECT_EQ(clock.frameAt(0.6, 1, 255), 71);
    clock.setSpeed(100, 0.6);  // held to 4×
    EXPECT_EQ(clock.speed(), 4);
    EXPECT_EQ(clock.tickMilliseconds(), 4);
    clock.setSpeed(0, 0.6);  // held to ¼×
    EXPECT_EQ(clock.tickMilliseconds(), 40);
}

}  // namespace
