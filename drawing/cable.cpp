#include "drawing/cable.h"

#include <cstdint>
#include <cstdio>

#include "drawing/segment_geometry.h"
#include "drawing/tube_rings.h"
#include "platform/win_string.h"

namespace {

// The point being handed to the host by putCable; valid for that one piPutGeometry call.
PiPoint gCablePoint;
// Running number for cable names, 0 when the module starts; createCableObject reads and counts it.
int32_t gCableCounter = 0;

// Releases the cable's handle on every way out of putCable.
struct CableHandle {
    int handle;
    ~CableHandle() {
        if (handle != host::kNoObject)
            piFreeObject(handle);
    }
};

}  // namespace

int createCableObject(int type) {
    char name[kCableNameSize];
    // At most 17 characters: "_Cable" and a 32-bit number.
    win::wsprintfA(name, "_Cable%d", static_cast<int>(gCableCounter));
    gCableCounter = gCableCounter == INT32_MAX ? 0 : gCableCounter + 1;
    return piCreateObject(name, type);
}

int putCable(const PolygonList* path, int pathCount, int divisions, double radius) {
    if (!isPointPath(path))
        return 0;
    if (divisions <= 0 || divisions > kRingCapacity || pathCount < 0)
        return 0;
    CableHandle cable{createCableObject(host::kCableObjectType)};
    if (cable.handle == host::kNoObject)
        return 0;
    TubeRings work;
    if (!work.allocate(pathCount, divisions))
        return 0;
    const int rings = work.build(path, pathCount, divisions, radius, nullptr, 0);
    if (rings < 0)
        return 0;
    const int points = rings * divisions;
    for (int p = 0; p < points; ++p) {
        gCablePoint = PiPoint{static_cast<float>(work.ringX[p]), static_cast<float>(work.ringY[p]),
                              static_cast<float>(work.ringZ[p])};
        if (!piPutGeometry(cable.handle, host::kGeometryPoint, &gCablePoint))
            return 0;
    }
    piFreeObject(cable.handle);
    cable.handle = host::kNoObject;
    piRedraw();
    return 1;
}

int drawTestSegment(const PiPoint* from, const PiPoint* to) {
    PolygonList* path = makeSegmentPath(from, to);
    putCable(path, kSegmentPathPoints, kCableDivisions, kCableRadius);
    freePolygonList(path);
    return 1;
}
