#include "drawing/joint_rotation.h"

#include <cmath>

#include "model/limb_channels.h"

namespace {

// The turn by angle (radians) about one world axis (0 X, 1 Y, 2 Z), right-handed.
RotationMatrix axisRotation(int axis, double angle) {
    RotationMatrix r = identityRotation();
    const double c = std::cos(angle), s = std::sin(angle);
    const int i = (axis + 1) % 3, j = (axis + 2) % 3;
    r.m[i][i] = c;
    r.m[i][j] = -s;
    r.m[j][i] = s;
    r.m[j][j] = c;
    return r;
}

}  // namespace

RotationMatrix identityRotation() {
    return RotationMatrix{{{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}}};
}

RotationMatrix multiply(const RotationMatrix& a, const RotationMatrix& b) {
    RotationMatrix r;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
    }
    return r;
}

void turnVector(const RotationMatrix& r, const PiPoint& v, double out[3]) {
    const double x = v.x, y = v.y, z = v.z;
    for (int i = 0; i < 3; ++i)
        out[i] = r.m[i][0] * x + r.m[i][1] * y + r.m[i][2] * z;
}

RotationMatrix channelRotation(const Limb* limb, const MotionTable* motion) {
    RotationMatrix r = identityRotation();
    const ChannelSpan own = limbChannels(limb, motion);
    bool turned[3] = {false, false, false};
    for (uint32_t c = own.first; c < own.first + own.count; ++c) {
        const ChannelType type = motion->channelType(static_cast<int>(c));
        if (type < kChannelXRotation || type > kChannelZRotation)
            continue;
        const int axis = type - kChannelXRotation;
        if (turned[axis])
            continue;
        turned[axis] = true;
        const float angle = axis == 0   ? limb->rotation.x
                            : axis == 1 ? limb->rotation.y
                                        : limb->rotation.z;
        r = multiply(r, axisRotation(axis, angle));
    }
    return r;
}

PiPoint hostRotationAngles(const RotationMatrix& r) {
    // Rz(z) · Ry(y) · Rx(x) has -sin(y) in row Z, column X; cos(y) sin(x) and cos(y) cos(x) after
    // it, and cos(y) sin(z), cos(y) cos(z) down column X.
    const double sinY = -r.m[2][0];
    double x, y, z;
    if (std::fabs(sinY) < 1.0 - 1e-12) {
        y = std::asin(sinY);
        x = std::atan2(r.m[2][1], r.m[2][2]);
        z = std::atan2(r.m[1][0], r.m[0][0]);
    } else if (std::isfinite(sinY)) {
        // A quarter turn about Y: only x - z (or x + z) is fixed; x is taken as 0, so that
        // r = Rz(z) · Ry(y) and row X, column Y holds -sin(z), row Y, column Y cos(z).
        y = std::copysign(2.0 * std::atan(1.0), sinY);
        x = 0.0;
        z = std::atan2(-r.m[0][1], r.m[1][1]);
    } else {
        x = y = z = sinY;
    }
    return PiPoint{static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
}
