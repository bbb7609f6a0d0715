// The window's Play menu, the keys of players: Space plays and pauses, Right and Left step a frame,
// Home and End go to the first and the last frame. A key that moves the frame stops playback
// first. A frame field being typed in keeps its own keys.
#pragma once

#include <functional>

class QMenuBar;

namespace fighost {

// The player the keys work: the window's frame bar and the frames of the selected object.
struct Player {
    std::function<bool()> playing;
    std::function<void(bool on)> setPlaying;
    std::function<int()> frame;                // the frame shown; 0 for the rest pose
    std::function<void(int frame)> showFrame;  // held to the frames the object has
};

// Adds the Play menu to the end of bar.
void addPlayMenu(QMenuBar* bar, const Player& player);

}  // namespace fighost
