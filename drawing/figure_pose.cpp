#include "drawing/figure_pose.h"

#include <limits>

#include "drawing/figure_renderer.h"
#include "drawing/rotation_transform.h"
#include "model/limb_channels.h"
#include "model/limb_walk.h"

namespace {

// Degrees to radians are v * pi * (1 / 180); the factor is kept as its decimal value.
constexpr double kPerDegree = 0.005555555555555556;

// A double as a float; one beyond the float range becomes an infinity of its sign rather than
// an undefined conversion.
float toFloat(double value) {
    if (value > std::numeric_limits<float>::max())
        return std::numeric_limits<float>::infinity();
    if (value < -std::numeric_limits<float>::max())
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

}  // namespace

void buildChannelMap(Limb* root, const MotionTable* motion, ChannelMap* map) {
    for (Limb*& limb : map->limbs)
        limb = nullptr;
    // Deleted limbs keep their channels: a frame line holds values for them too.
    forEachLimb(root, DeletedLimbs::kVisited, [&](Limb* limb, Limb*, int) {
        const ChannelSpan own = limbChannels(limb, motion);
        for (uint32_t channel = own.first; channel < own.first + own.count; ++channel) {
            if (map->limbs[channel] == nullptr)
                map->limbs[channel] = limb;
        }
    });
}

int poseFigure(int object, Limb* root, const MotionTable* motion, int frame, int segmentStyle,
               int posing) {
    PiPoint position{0.0f, 0.0f, 0.0f};
    if (motion == nullptr)
        return 0;
    if (motion->channelCount() > 3 && motion->channelType(0) == kChannelXPosition) {
        // The next two channels are the Y and Z positions by convention; their types are not
        // looked at.
        position = PiPoint{toFloat(motion->value(0, frame)), toFloat(motion->value(1, frame)),
                           toFloat(motion->value(2, frame))};
    }
    if (motion->channelCount() == 0)
        return 0;

    ChannelMap map;
    buildChannelMap(root, motion, &map);
    const double pi = radiansPerHalfTurn();
    bool applied = false;
    for (int i = 0; i < motion->channelCount() && i < kMaxChannels; ++i) {
        const ChannelType type = motion->channelType(i);
        if (type <= kChannelZPosition)
            continue;
        Limb* limb = map.limbs[i];
        if (limb == nullptr)
            continue;
        const double degrees = motion->value(i, frame);
        applied = true;
        const float radians = toFloat(degrees * pi * kPerDegree);
        switch (type) {
            case kChannelXRotation:
                limb->rotation.x = radians;
                break;
            case kChannelYRotation:
                limb->rotation.y = radians;
                break;
            case kChannelZRotation:
                limb->rotation.z = radians;
                break;
            default:
                break;
        }
    }
    if (!applied)
        return 0;
    if (posing == kPosingCaptured)
        redrawCaptured(object, root, motion, &position, segmentStyle);
    else
        redrawFigure(object, root, &position, 1, segmentStyle);
    return 0;
}

int FigureData::pose(int objectHandle, int frame) {
    return poseFigure(objectHandle, root, motion, frame, segmentStyle, posing);
}
