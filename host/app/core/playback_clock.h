// The clock a motion plays by: the frame to show is worked out from the time since play began,
// the file's frame time and the chosen speed, so a motion plays at the rate it was captured at
// whatever drawing costs; frames that come due while one is drawn are skipped, not shown late.
#pragma once

#include <functional>

namespace fighost {

// Seconds on a steady clock, counted from any moment: what playback reads the time from.
using TimeSource = std::function<double()>;
// The system's steady clock, in seconds.
double steadySeconds();

// Frame time of a figure whose file gives none: 30 frames a second.
constexpr double kDefaultFrameTime = 1.0 / 30;
// The speeds a person can choose, slowest first.
constexpr double kSpeeds[] = {0.25, 0.5, 1, 2, 4};

class PlaybackClock {
  public:
    // A clock that reads the time from source; the system's steady clock when none is given.
    explicit PlaybackClock(TimeSource source = steadySeconds) : source_(std::move(source)) {}
    void setTimeSource(TimeSource source) { source_ = std::move(source); }
    // The time now, read from the clock's source.
    double now() const { return source_(); }

    // Seconds a frame; values not above 0 (or absurdly long) mean kDefaultFrameTime.
    void setFrameTime(double seconds);
    double frameTime() const { return frameTime_; }
    // How many times faster than captured to play, clamped to 0.25 to 4; the frame shown now
    // stays where it is.
    void setSpeed(double speed, double now);
    double speed() const { return speed_; }

    // Starts counting from frame at time now (seconds on any steady clock).
    void start(int frame, double now);
    // The frame due at time now, going round from last back to first (first ≤ last).
    int frameAt(double now, int first, int last) const;
    // Milliseconds between looks at the clock: a frame's time at this speed, at least 4.
    int tickMilliseconds() const;

  private:
    TimeSource source_;
    double frameTime_ = kDefaultFrameTime;
    double speed_ = 1;
    int startFrame_ = 1;
    double startTime_ = 0;
    long long passed_ = 0;  // frames played before the last change of speed
};

}  // namespace fighost
