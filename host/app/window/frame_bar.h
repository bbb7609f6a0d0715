// The window's frame bar and its playback: the play button, the frame field and slider, the last
// frame and the time shown, the speed, and the timer that looks at the playback clock while a
// motion plays. Which object's frames they are is the window's business.
#pragma once

#include <QtWidgets/QToolBar>
#include <functional>

#include "host/app/core/playback_clock.h"

class QComboBox;
class QLabel;
class QSlider;
class QSpinBox;
class QTimer;
class QToolButton;

namespace fighost {

class FrameBar : public QToolBar {
  public:
    // What the person asks for through the bar, and the player's ticks.
    struct Handlers {
        std::function<void(int frame)> frameChosen;  // the slider or the field moved
        std::function<void(bool on)> playChosen;     // the play button
        std::function<void(double speed)> speedChosen;
        std::function<void()> tick;            // time to look at the clock while playing
        std::function<void()> typingFinished;  // Return in the frame field
    };
    explicit FrameBar(Handlers handlers);

    // The frames the bar offers: 1 to last, at frame; none (the controls disabled) for last < 1.
    void setFrames(int last, int frame);
    // Shows frame without asking for it again.
    void showFrame(int frame);
    // Shows the time of the frame shown, in seconds.
    void showTime(double seconds);

    // Starts the player's ticks, the clock counting from frame at frameTime seconds a frame.
    void startPlaying(int frame, double frameTime);
    void stopPlaying();
    bool playing() const;
    // The play button shows playing (pause) or not, without asking for it again.
    void showPlaying(bool playing);
    // Plays speed times faster than captured (held to 0.25 to 4); the speed box follows.
    void setSpeed(double speed);
    // The frame due now, going round from last back to 1.
    int frameDue(int last) const { return clock_.frameAt(clock_.now(), 1, last); }
    void setTimeSource(TimeSource source) { clock_.setTimeSource(std::move(source)); }

  private:
    Handlers handlers_;
    QToolButton* play_ = nullptr;
    QSlider* slider_ = nullptr;
    QSpinBox* frameNumber_ = nullptr;
    QLabel* lastFrameLabel_ = nullptr;
    QLabel* time_ = nullptr;
    QComboBox* speed_ = nullptr;
    QTimer* player_ = nullptr;
    PlaybackClock clock_;
};

}  // namespace fighost
