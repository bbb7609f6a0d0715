// Which channels of a figure's motion table belong to which limb. A limb's channels are the ones
// its CHANNELS statement declared: firstChannel onwards, declaredChannels of them. firstChannel
// alone cannot tell, being 0 both for the root and for a limb that declared none, so posing,
// saving and Part Adjust all ask here.
#pragma once

#include <cstdint>

#include "model/limb.h"
#include "model/motion_table.h"

// A run of channels: first up to first + count - 1.
struct ChannelSpan {
    uint32_t first = 0;
    uint32_t count = 0;
};

// The channels the limb owns in the table, as far as the table holds them; count 0 when it
// declared none or there is no table.
ChannelSpan limbChannels(const Limb* limb, const MotionTable* motion);

// The limb's own channel of a rotation type (kChannelXRotation to kChannelZRotation), the first
// of that type among its channels; -1 when it has none.
int rotationChannel(const Limb* limb, const MotionTable* motion, ChannelType type);

// Gives a limb that owns no channels three rotation channels of its own, "Zrotation",
// "Xrotation" and "Yrotation" in that order, declared at the end of the table with every value
// 0. 1 when they were added; 0 when the limb owns channels already or the table has no room for
// three more, which changes nothing.
int addRotationChannels(Limb* limb, MotionTable* motion);
