#include "drawing/tube_rings.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "drawing/double_array.h"
#include "drawing/segment_geometry.h"

TubeRings::~TubeRings() {
    std::free(ringX);
    std::free(ringY);
    std::free(ringZ);
    std::free(pathX);
    std::free(pathY);
    std::free(pathZ);
}

int TubeRings::allocate(int pathCount, int divisions) {
    if (pathCount < 0 || divisions < 0)
        return 0;
    const size_t ringEntries =
        static_cast<size_t>(divisions) * (static_cast<size_t>(pathCount) + 1);
    const size_t pathEntries = static_cast<size_t>(pathCount) + 2;
    double** ringArrays[] = {&ringX, &ringY, &ringZ};
    for (double** array : ringArrays) {
        *array = allocDoubles(ringEntries);
        if (*array == nullptr)
            return 0;
        std::memset(*array, 0, sizeof(double) * ringEntries);
    }
    double** pathArrays[] = {&pathX, &pathY, &pathZ};
    for (double** array : pathArrays) {
        *array = allocDoubles(pathEntries);
        if (*array == nullptr)
            return 0;
    }
    return 1;
}

int TubeRings::build(const PolygonList* path, int pathCount, int divisions, double radius,
                     const double* profile, int profileSize) {
    // The head's point, then the first point of each node after it, up to point pathCount.
    int found = 0;
    for (const PolygonList* node = path; node != nullptr && found <= pathCount;
         node = nextPolygon(node)) {
        if (node->points == nullptr || node->pointCount == 0)
            break;
        pathX[found] = node->points[0].x;
        pathY[found] = node->points[0].y;
        pathZ[found] = node->points[0].z;
        ++found;
    }
    // A path cut short by a failed allocation gets as many rings as its points allow.
    const int usable = found < pathCount ? found : pathCount;
    if (usable - 1 <= 1)
        return 0;

    const int rings = usable - 2;
    for (int k = 0; k < rings; ++k) {
        const PiPoint p0{static_cast<float>(pathX[k]), static_cast<float>(pathY[k]),
                         static_cast<float>(pathZ[k])};
        const PiPoint p1{static_cast<float>(pathX[k + 1]), static_cast<float>(pathY[k + 1]),
                         static_cast<float>(pathZ[k + 1])};
        const PiPoint p2{static_cast<float>(pathX[k + 2]), static_cast<float>(pathY[k + 2]),
                         static_cast<float>(pathZ[k + 2])};
        const double r = profile != nullptr && k < profileSize ? profile[k] : radius;
        const PiPoint* ring = makeRing(&p0, &p1, &p2, divisions, r);
        const size_t base = static_cast<size_t>(k) * static_cast<size_t>(divisions);
        for (int i = 0; i < divisions; ++i) {
            // A degenerate chord or an overflowing radius leaves nothing fit for the host.
            if (!std::isfinite(ring[i].x) || !std::isfinite(ring[i].y) || !std::isfinite(ring[i].z))
                return -1;
            ringX[base + i] = ring[i].x;
            ringY[base + i] = ring[i].y;
            ringZ[base + i] = ring[i].z;
        }
    }
    return rings;
}
