// What a figure file holds before the module keeps what fits: the frames its MOTION header
// declares, its frame time, the channels its CHANNELS statements declare and how many of its
// names are longer than the module keeps. fighost reads these from the file itself, to say what
// was kept and to play the motion at the rate it was captured at; the module keeps frames, not
// their timing.
#pragma once

#include <string>

namespace fighost {

struct FileFacts {
    bool read = false;       // the file could be read
    long long frames = -1;   // the count after "Frames:"; -1 when the file has none
    double frameTime = 0;    // seconds a frame, after "Frame Time:"; 0 when none or not above 0
    long long channels = 0;  // channels declared by every CHANNELS statement
    int limbNames = 0;       // names after ROOT and JOINT
    int limbNamesCut = 0;    // ... longer than a limb's name keeps
    int channelNames = 0;
    int channelNamesCut = 0;  // channel names longer than a channel's name keeps
};

// Reads the facts of the file at path, up to its frame time; the motion values are not read.
// Anything but a regular file is not read (facts.read stays false).
FileFacts readFileFacts(const std::string& path);

// A count with a comma between each group of three digits: 2752 is "2,752".
std::string countText(long long count);

// What the module did not keep of the file, given what it kept (frames and channels stored):
// "frames 256 of 2,752 kept", "channels 120 of 200 kept", "3 of 40 limb names cut to 15
// characters", "1 of 96 channel names cut to 31 characters", each a line of its own; empty
// when it kept everything.
std::string keptText(const FileFacts& facts, unsigned framesKept, int channelsKept);

}  // namespace fighost
