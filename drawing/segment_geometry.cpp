#include "drawing/segment_geometry.h"

#include <cmath>

#include "drawing/figure_renderer.h"
#include "drawing/rotation_transform.h"
#include "drawing/tube_rings.h"

namespace {

// The last ring made by makeRing; read by its caller until the next makeRing.
PiPoint gRing[kRingCapacity];
// The last triangle made by makeTriangle; read by piPutGeometry until the next makeTriangle.
PiPoint gTriangle[3];
// The radii of the last makeBalloonProfile; read by the balloon's tube until the next profile.
double gBalloonProfile[kBalloonProfileSize];

bool isFinitePoint(const PiPoint& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

bool samePoint(const PiPoint& a, const PiPoint& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

}  // namespace

int midpoint(const PiPoint* a, const PiPoint* b, PiPoint* out) {
    out->x = a->x + (b->x - a->x) * 0.5f;
    out->y = a->y + (b->y - a->y) * 0.5f;
    out->z = a->z + (b->z - a->z) * 0.5f;
    return 1;
}

int isNearZero(double v) {
    return std::fabs(v) < kNearZeroLimit ? 1 : 0;
}

PolygonList* makeSegmentPath(const PiPoint* from, const PiPoint* to) {
    const PiPoint a = *from;
    const PiPoint b = *to;
    // Halving again and again gives the eighths with float rounding alike on every segment.
    PiPoint half, quarter, eighth, threeEighths, threeQuarters, fiveEighths, sevenEighths;
    midpoint(&a, &b, &half);
    midpoint(&a, &half, &quarter);
    midpoint(&a, &quarter, &eighth);
    midpoint(&quarter, &half, &threeEighths);
    midpoint(&half, &b, &threeQuarters);
    midpoint(&half, &threeQuarters, &fiveEighths);
    midpoint(&threeQuarters, &b, &sevenEighths);
    const PiPoint step{a.x - eighth.x, a.y - eighth.y, a.z - eighth.z};
    const PiPoint before{a.x + step.x, a.y + step.y, a.z + step.z};
    const PiPoint after{b.x - step.x, b.y - step.y, b.z - step.z};

    const PiPoint points[kSegmentPathPoints] = {before,       a,    eighth,      quarter,
                                                threeEighths, half, fiveEighths, threeQuarters,
                                                sevenEighths, b,    after};
    PolygonList* head = nullptr;
    PolygonList* previous = nullptr;
    for (const PiPoint& point : points) {
        PolygonList* node = addPolygon(1, previous, &point);
        // A missing node would leave the rest unreachable: the path ends before it instead.
        if (node == nullptr)
            break;
        if (head == nullptr)
            head = node;
        previous = node;
    }
    return head;
}

int makeBalloonProfile(double radius) {
    for (double& entry : gBalloonProfile)
        entry = radius;
    gBalloonProfile[0] = kBalloonJointFactor * radius;
    gBalloonProfile[1] = kBalloonShoulderFactor * radius;
    gBalloonProfile[7] = kBalloonShoulderFactor * radius;
    gBalloonProfile[8] = kBalloonJointFactor * radius;
    return 1;
}

const double* balloonProfile() {
    return gBalloonProfile;
}

const PiPoint* makeRing(const PiPoint* p0, const PiPoint* p1, const PiPoint* p2, int n,
                        double radius) {
    if (n > kRingCapacity)
        n = kRingCapacity;
    if (n < 1)
        return gRing;
    const double dx = static_cast<double>(p2->x) - p0->x;
    const double dy = static_cast<double>(p2->y) - p0->y;
    const double dz = static_cast<double>(p2->z) - p0->z;
    // Any vector square to the chord will do as the start; this one avoids a zero for chords
    // that are not (nearly) parallel to Z.
    double ux, uy, uz;
    if (isNearZero(dx) && isNearZero(dy)) {
        ux = 0.0;
        uy = dz;
        uz = -dy;
    } else {
        ux = dy;
        uy = -dx;
        uz = 0.0;
    }
    const double length = std::sqrt(ux * ux + uy * uy + uz * uz);
    double x = p1->x + radius * ux / length;
    double y = p1->y + radius * uy / length;
    double z = p1->z + radius * uz / length;
    // One set-up, then each point is the last one turned by a further step.
    setRotation(p1->x, p1->y, p1->z, dx, dy, dz, 2.0 * radiansPerHalfTurn() / n);
    for (int i = 0; i < n; ++i) {
        if (i > 0)
            applyRotation(x, y, z, &x, &y, &z);
        gRing[i] = PiPoint{static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
    }
    return gRing;
}

const PiPoint* makeTriangle(const double* xs, const double* ys, const double* zs, int i, int j,
                            int k) {
    const int order[3] = {k, j, i};
    for (int v = 0; v < 3; ++v) {
        const int m = order[v];
        gTriangle[v] = PiPoint{static_cast<float>(xs[m]), static_cast<float>(ys[m]),
                               static_cast<float>(zs[m])};
    }
    return gTriangle;
}

int putFacetTube(int object, const PolygonList* path, int pathCount, int divisions, double radius,
                 const double* profile) {
    if (!isPointPath(path) || divisions <= 0 || divisions > kRingCapacity || pathCount < 0)
        return 0;
    TubeRings work;
    if (!work.allocate(pathCount, divisions))
        return 0;
    const int rings = work.build(path, pathCount, divisions, radius, profile, kBalloonProfileSize);
    if (rings < 0)
        return 0;

    const double* xs = work.ringX;
    const double* ys = work.ringY;
    const double* zs = work.ringZ;
    for (int j = 1; j < rings; ++j) {
        const int a = (j - 1) * divisions;
        const int b = j * divisions;
        for (int i = 0; i < divisions; ++i) {
            const int next = (i + 1) % divisions;
            // This vertex order makes every facet face away from the path.
            if (!piPutGeometry(object, host::kGeometryTriangle,
                               makeTriangle(xs, ys, zs, a + next, a + i, b + next)))
                return 0;
            if (!piPutGeometry(object, host::kGeometryTriangle,
                               makeTriangle(xs, ys, zs, b + i, b + next, a + i)))
                return 0;
        }
    }
    return 1;
}

int drawSegment(int object, const PiPoint* from, const PiPoint* to, double radius, int style) {
    if (!geometryCleared)
        return 0;
    if (!isFinitePoint(*from) || !isFinitePoint(*to))
        return 0;
    PolygonList* path = makeSegmentPath(from, to);
    // Joints that coincide give no direction to lay a ring square to.
    const bool hasLength = !samePoint(*from, *to);
    int result = 1;
    switch (style) {
        case kSegmentLines: {
            PiPoint line[2];
            CopyPoint(from, &line[0]);
            CopyPoint(to, &line[1]);
            if (!piPutGeometry(object, host::kGeometryLine, line))
                result = 0;
            break;
        }
        case kSegmentCylinders:
            if (hasLength)
                putFacetTube(object, path, kSegmentPathPoints, kLimbDivisions, radius, nullptr);
            break;
        case kSegmentBalloons:
            if (hasLength) {
                makeBalloonProfile(radius);
                putFacetTube(object, path, kSegmentPathPoints, kLimbDivisions, radius,
                             balloonProfile());
            }
            break;
        default:
            break;
    }
    freePolygonList(path);
    return result;
}
