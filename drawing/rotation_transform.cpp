#include "drawing/rotation_transform.h"

#include <algorithm>
#include <cmath>

namespace {

// The module-wide transform. setRotation writes it; applyRotation and rotateAboutJoint read it.
// Its content is valid from one setRotation to the next; nothing reads it before the first.
RotationTransform gTransform;

}  // namespace

const RotationTransform& currentRotationTransform() {
    return gTransform;
}

double radiansPerHalfTurn() {
    return 4.0 * std::atan(1.0);
}

void setRotation(double px, double py, double pz, double dx, double dy, double dz, double angle) {
    const double pi = radiansPerHalfTurn();
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double k = 1.0 - c;
    const double length = std::sqrt(dx * dx + dy * dy + dz * dz);

    // The axis as an azimuth in the XY plane and a polar angle from +Z.
    double polarCos = 1.0;
    double polarSin = 0.0;
    double azimuth = 0.0;
    if (length != 0.0) {
        if (dx == 0.0) {
            azimuth = dy >= 0.0 ? pi / 2.0 : 3.0 * pi / 2.0;
        } else {
            azimuth = std::atan(dy / dx);
            if (dx < 0.0)
                azimuth += pi;
        }
        polarCos = dz / length;
        // Rounding can put the cosine a hair beyond 1; the sine is then 0, not NaN.
        polarSin = std::sqrt(std::max(0.0, 1.0 - polarCos * polarCos));
    }
    const double nx = polarSin * std::cos(azimuth);
    const double ny = polarSin * std::sin(azimuth);
    const double nz = polarCos;

    double(&m)[3][3] = gTransform.matrix;
    m[0][0] = c + k * nx * nx;
    m[0][1] = k * nx * ny - s * nz;
    m[0][2] = k * nx * nz + s * ny;
    m[1][0] = k * nx * ny + s * nz;
    m[1][1] = c + k * ny * ny;
    m[1][2] = k * ny * nz - s * nx;
    m[2][0] = k * nx * nz - s * ny;
    m[2][1] = k * ny * nz + s * nx;
    m[2][2] = c + k * nz * nz;

    // The axis point must stay where it is: t = p - M p.
    gTransform.translation[0] = px - (m[0][0] * px + m[0][1] * py + m[0][2] * pz);
    gTransform.translation[1] = py - (m[1][0] * px + m[1][1] * py + m[1][2] * pz);
    gTransform.translation[2] = pz - (m[2][0] * px + m[2][1] * py + m[2][2] * pz);
}

void applyRotation(double x, double y, double z, double* outX, double* outY, double* outZ) {
    const double(&m)[3][3] = gTransform.matrix;
    const double* t = gTransform.translation;
    *outX = m[0][0] * x + m[0][1] * y + m[0][2] * z + t[0];
    *outY = m[1][0] * x + m[1][1] * y + m[1][2] * z + t[1];
    *outZ = m[2][0] * x + m[2][1] * y + m[2][2] * z + t[2];
}

void rotateAboutJoint(float rx, float ry, float rz, const PiPoint* pivot, const PiPoint* q,
                      PiPoint* result) {
    const double px = pivot->x;
    const double py = pivot->y;
    const double pz = pivot->z;
    // One turn about a world axis; the point is kept as floats between the turns.
    auto turn = [&](double ax, double ay, double az, double angle, const PiPoint& in) {
        setRotation(px, py, pz, ax, ay, az, angle);
        double x, y, z;
        applyRotation(in.x, in.y, in.z, &x, &y, &z);
        return PiPoint{static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
    };
    const PiPoint afterZ = turn(0.0, 0.0, 1.0, rz, *q);
    const PiPoint afterX = turn(1.0, 0.0, 0.0, rx, afterZ);
    *result = turn(0.0, 1.0, 0.0, ry, afterX);
}
