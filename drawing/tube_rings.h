// The working arrays of one tube or cable: the path's coordinates and the rings laid around it.
// They live for one call and are freed on every way out of it.
#pragma once

#include <cstddef>

#include "drawing/polygon_list.h"

class TubeRings {
  public:
    TubeRings() = default;
    TubeRings(const TubeRings&) = delete;
    TubeRings& operator=(const TubeRings&) = delete;
    ~TubeRings();

    // Allocates room for a path of pathCount points with rings of divisions points and zeroes
    // the rings. 0 after "Not enough memory" when an array cannot be had.
    int allocate(int pathCount, int divisions);
    // Reads up to pathCount + 1 points of the path and lays a ring around each inner point, of
    // radius profile[k] (k < profileSize) or radius. The number of rings made, or -1 when a ring
    // point is not finite (the rings are then unusable).
    int build(const PolygonList* path, int pathCount, int divisions, double radius,
              const double* profile, int profileSize);

    // Ring k's point i is entry k * divisions + i.
    double* ringX = nullptr;
    double* ringY = nullptr;
    double* ringZ = nullptr;
    // Point k of the path is entry k.
    double* pathX = nullptr;
    double* pathY = nullptr;
    double* pathZ = nullptr;
};
