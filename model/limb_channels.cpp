#include "model/limb_channels.h"

#include <cstdint>

namespace {

// The rotation channels a limb gets when it has none, in the order a saved figure lists them.
const char* const kAddedRotations[] = {"Zrotation", "Xrotation", "Yrotation"};
constexpr int kAddedCount = 3;

}  // namespace

ChannelSpan limbChannels(const Limb* limb, const MotionTable* motion) {
    ChannelSpan span;
    if (limb == nullptr || motion == nullptr || limb->declaredChannels == 0)
        return span;
    const uint64_t first = limb->firstChannel;
    const uint64_t held = static_cast<uint64_t>(motion->channelCount());
    if (first >= held)
        return span;
    const uint64_t end = first + limb->declaredChannels;
    span.first = limb->firstChannel;
    span.count = static_cast<uint32_t>((end < held ? end : held) - first);
    return span;
}

int rotationChannel(const Limb* limb, const MotionTable* motion, ChannelType type) {
    const ChannelSpan span = limbChannels(limb, motion);
    for (uint32_t c = span.first; c < span.first + span.count; ++c) {
        if (motion->channelType(static_cast<int>(c)) == type)
            return static_cast<int>(c);
    }
    return -1;
}

int addRotationChannels(Limb* limb, MotionTable* motion) {
    if (limb == nullptr || motion == nullptr || limbChannels(limb, motion).count != 0)
        return 0;
    if (motion->channelCount() > kMaxChannels - kAddedCount ||
        motion->columnCount() > INT32_MAX - kAddedCount)
        return 0;
    const int first = motion->channelCount();
    for (const char* name : kAddedRotations)
        motion->declareChannel(name);
    limb->firstChannel = static_cast<uint32_t>(first);
    limb->declaredChannels = kAddedCount;
    return 1;
}
