// Posing a figure: one frame of its motion is read into the limbs' rotations (and the root's
// position), and the figure is redrawn with those rotations applied.
#pragma once

#include "model/figure_data.h"
#include "model/limb.h"
#include "model/motion_table.h"

// For each channel index, the limb whose declared channels hold it; null where no limb does.
struct ChannelMap {
    Limb* limbs[kMaxChannels];
};

// Fills map by one walk of the tree below root (deleted limbs included, at most kMaxLimbDepth
// levels deep), each limb claiming the channels limbChannels gives it in motion. A channel
// claimed by two limbs goes to the first in pre-order.
void buildChannelMap(Limb* root, const MotionTable* motion, ChannelMap* map);

// Poses the figure below root at a frame of motion and redraws it into the object in a
// SegmentStyle, in a PosingMode: as captured for kPosingCaptured (redrawCaptured), turning each
// limb's children about the world's axes for any other value (redrawFigure). Draws nothing when
// there is no motion, no channel, or no rotation channel that drives a limb. Always 0.
int poseFigure(int object, Limb* root, const MotionTable* motion, int frame, int segmentStyle,
               int posing = kPosingWorldAxes);
