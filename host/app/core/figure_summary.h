// What fighost tells about a loaded figure: its limb tree, its channels, and at a frame the
// channel values and where each joint was drawn. Built by reading the figure's records and the
// scene object's geometry; nothing of the module is called.
#pragma once

#include <string>
#include <vector>

#include "host/app/core/file_facts.h"
#include "host/stand_in_host.h"

class FigureData;

namespace fighost {

struct LimbSummary {
    std::string name;
    std::string mapName;  // empty for none
    PiPoint offset{};
    double radius = 0;
    unsigned firstChannel = 0;
    std::vector<std::string> channels;  // the names of the channels the limb declared
    int parent = -1;                    // index into FigureSummary::limbs; -1 for the root
    int depth = 0;                      // 0 for the root
    std::vector<int> children;          // indices of the live children, in slot order
};

struct ChannelValue {
    std::string name;
    int limb = -1;  // the limb that declared the channel; -1 when none did
    double value = 0;
};

struct FigureSummary {
    std::string object;              // the scene object's name
    std::string loader;              // the loader command's label
    std::vector<LimbSummary> limbs;  // live limbs in pre-order; limbs[0] is the root
    int channelCount = 0;
    unsigned frameCount = 0;  // frames stored (at most 256)
    int posing = 0;           // the figure's PosingMode
    FileFacts file;           // what the file held; not read when file.read is false

    bool atFrame = false;  // a frame was asked for
    int frame = 0;
    bool posed = false;                // the module answered the pose message
    std::vector<ChannelValue> values;  // every channel's value at the frame
    bool jointsKnown = false;          // the drawn lines matched the tree
    std::vector<PiPoint> joints;       // one per limb, where its joint was drawn
};

// Lists the figure's tree and channels. Limbs below kMaxLimbDepth and deleted ones are left out,
// as the module leaves them out of drawing.
FigureSummary summarizeFigure(const FigureData& figure, const std::string& objectName,
                              const std::string& loader);

// Adds the channel values at frame and the joint positions, found in the object's line segments:
// the module draws each limb's segments (one per live child, in slot order) before its children's,
// so the n-th line ends at the joint of the n-th limb of that walk. The root's joint is where its
// first line starts, or rootPosition when it has no children.
void addFrame(const FigureData& figure, const standin::SceneObject& object, int frame, bool posed,
              FigureSummary* summary);

// Where the pose message puts the root's joint at frame: the first three channels when the table
// starts with Xposition and has more than three channels, else (0, 0, 0). Only when posed.
PiPoint rootPosition(const FigureData& figure, int frame, bool posed);

// The value of a channel at a frame as the module reads it: the frame clamped to the frames
// held, 0 outside the table.
double channelValue(const FigureData& figure, int channel, int frame);

}  // namespace fighost
