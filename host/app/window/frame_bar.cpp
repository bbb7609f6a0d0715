// The frame bar's controls and the player's timer over the playback clock.
#include "host/app/window/frame_bar.h"

#include <QtCore/QSignalBlocker>
#include <QtCore/QTimer>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QSlider>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QStyle>
#include <QtWidgets/QToolButton>
#include <algorithm>

namespace fighost {

FrameBar::FrameBar(Handlers handlers)
    : QToolBar(QStringLiteral("Frames")), handlers_(std::move(handlers)) {
    setObjectName(QStringLiteral("frameControls"));
    setMovable(false);
    play_ = new QToolButton;
    play_->setObjectName(QStringLiteral("play"));
    play_->setCheckable(true);
    play_->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    play_->setToolTip(QStringLiteral("Play or pause at the file's frame rate"));
    connect(play_, &QToolButton::toggled, this, [this](bool on) { handlers_.playChosen(on); });
    slider_ = new QSlider(Qt::Horizontal);
    slider_->setObjectName(QStringLiteral("frameSlider"));
    frameNumber_ = new QSpinBox;
    frameNumber_->setObjectName(QStringLiteral("frameNumber"));
    lastFrameLabel_ = new QLabel;
    time_ = new QLabel;
    time_->setObjectName(QStringLiteral("frameTime"));
    speed_ = new QComboBox;
    speed_->setObjectName(QStringLiteral("speed"));
    speed_->setToolTip(QStringLiteral("Speed of play against the file's own rate"));
    for (double speed : kSpeeds) {
        QString text = speed == 0.25  ? QStringLiteral("¼×")
                       : speed == 0.5 ? QStringLiteral("½×")
                                      : QStringLiteral("%1×").arg(speed);
        speed_->addItem(text, speed);
    }
    speed_->setCurrentIndex(speed_->findData(1.0));
    connect(speed_, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this](int index) { handlers_.speedChosen(speed_->itemData(index).toDouble()); });
    connect(slider_, &QSlider::valueChanged, this,
            [this](int frame) { handlers_.frameChosen(frame); });
    connect(frameNumber_, qOverload<int>(&QSpinBox::valueChanged), this,
            [this](int frame) { handlers_.frameChosen(frame); });
    // Return ends the typing. (The field also ends its editing when it loses the focus, which is
    // left where it went.)
    connect(frameNumber_, &QSpinBox::editingFinished, this, [this] {
        if (frameNumber_->hasFocus())
            handlers_.typingFinished();
    });
    addWidget(play_);
    addWidget(new QLabel(QStringLiteral(" Frame ")));
    addWidget(frameNumber_);
    addWidget(lastFrameLabel_);
    addWidget(time_);
    addWidget(slider_);
    addWidget(speed_);
    player_ = new QTimer(this);
    player_->setTimerType(Qt::PreciseTimer);
    connect(player_, &QTimer::timeout, this, [this] { handlers_.tick(); });
}

void FrameBar::setFrames(int last, int frame) {
    const bool playable = last >= 1;
    for (QWidget* control : {static_cast<QWidget*>(slider_), static_cast<QWidget*>(frameNumber_),
                             static_cast<QWidget*>(play_)})
        control->setEnabled(playable);
    {
        const QSignalBlocker quietSlider(slider_);
        const QSignalBlocker quietNumber(frameNumber_);
        slider_->setRange(playable ? 1 : 0, std::max(last, 0));
        frameNumber_->setRange(playable ? 1 : 0, std::max(last, 0));
        slider_->setValue(std::max(frame, slider_->minimum()));
        frameNumber_->setValue(std::max(frame, frameNumber_->minimum()));
    }
    lastFrameLabel_->setText(QStringLiteral(" of %1 ").arg(std::max(last, 0)));
}

void FrameBar::showFrame(int frame) {
    const QSignalBlocker quietSlider(slider_);
    const QSignalBlocker quietNumber(frameNumber_);
    slider_->setValue(frame);
    frameNumber_->setValue(frame);
}

void FrameBar::showTime(double seconds) {
    time_->setText(QStringLiteral(" %1 s ").arg(seconds, 0, 'f', 2));
}

void FrameBar::startPlaying(int frame, double frameTime) {
    if (player_->isActive())
        return;
    clock_.setFrameTime(frameTime);
    clock_.start(frame, clock_.now());
    player_->setInterval(clock_.tickMilliseconds());
    player_->start();
}

void FrameBar::stopPlaying() {
    player_->stop();
}

bool FrameBar::playing() const {
    return player_->isActive();
}

void FrameBar::showPlaying(bool playing) {
    const QSignalBlocker quiet(play_);
    play_->setChecked(playing);
    play_->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
}

void FrameBar::setSpeed(double speed) {
    clock_.setSpeed(speed, clock_.now());
    player_->setInterval(clock_.tickMilliseconds());
    const int index = speed_->findData(clock_.speed());
    if (index >= 0 && index != speed_->currentIndex()) {
        const QSignalBlocker quiet(speed_);
        speed_->setCurrentIndex(index);
    }
}

}  // namespace fighost
