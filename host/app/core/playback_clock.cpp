// The playback clock: the frame due at a time, at the file's rate and the chosen speed.
#include "host/app/core/playback_clock.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace fighost {
namespace {

// Whole frames in a count worked out in floating point: a count a rounding short of a whole
// number is that number.
// Frames passed before a change of speed are kept modulo this (a multiple of every span of 1 to
// 256 frames would do; any large number keeps the sum from overflowing).
constexpr long long kFrameCycle = 1000000000000LL;

long long wholeFrames(double frames) {
    return static_cast<long long>(std::floor(std::clamp(frames, 0.0, 1e15) + 1e-6));
}

}  // namespace

double steadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void PlaybackClock::setFrameTime(double seconds) {
    frameTime_ = seconds > 0 && seconds < 60 ? seconds : kDefaultFrameTime;
}

void PlaybackClock::setSpeed(double speed, double now) {
    // Re-anchored at the frame due now, so that the motion goes on from there at the new speed.
    const double elapsedFrames = (now - startTime_) * speed_ / frameTime_;
    startTime_ = now;
    passed_ = (passed_ + wholeFrames(elapsedFrames)) % kFrameCycle;
    speed_ = std::clamp(speed, kSpeeds[0], kSpeeds[sizeof kSpeeds / sizeof kSpeeds[0] - 1]);
}

void PlaybackClock::start(int frame, double now) {
    startFrame_ = frame;
    startTime_ = now;
    passed_ = 0;
}

int PlaybackClock::frameAt(double now, int first, int last) const {
    if (last <= first)
        return first;
    const long long elapsed = wholeFrames((now - startTime_) * speed_ / frameTime_);
    const long long span = last - first + 1;
    long long frame =
        static_cast<long long>(std::clamp(startFrame_, first, last)) - first + passed_ + elapsed;
    return first + static_cast<int>(frame % span);
}

int PlaybackClock::tickMilliseconds() const {
    return std::max(4, static_cast<int>(frameTime_ / speed_ * 1000));
}

}  // namespace fighost
