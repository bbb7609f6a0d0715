#include "drawing/figure_renderer.h"

#include <cmath>
#include <cstring>

#include "drawing/rotation_transform.h"
#include "drawing/segment_geometry.h"

// Module-wide; see the header. Read by drawSegment, written only by redrawFigure.
bool geometryCleared = true;

namespace {

bool isFinitePoint(const PiPoint& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

bool isLive(const Limb* child) {
    return child != nullptr && child->deleted != 1;
}

// Where a child's joint lies: its offset from the parent's joint, turned about that joint by the
// parent's own rotation when posed. The rotation drawn with the segment goes to segmentRotation.
PiPoint childJoint(const Limb* limb, const Limb* child, const PiPoint& p, int posed,
                   PiPoint* segmentRotation) {
    const PiPoint c{p.x + child->offset.x, p.y + child->offset.y, p.z + child->offset.z};
    if (!posed) {
        *segmentRotation = PiPoint{0.0f, 0.0f, 0.0f};
        return c;
    }
    PiPoint w;
    rotateAboutJoint(limb->rotation.x, limb->rotation.y, limb->rotation.z, &p, &c, &w);
    *segmentRotation = limb->rotation;
    return w;
}

// drawLimbTree for a limb depth levels below where the walk began.
void drawLimbTreeAt(int object, Limb* limb, const PiPoint& p, int posed, int style, int depth) {
    // Children beyond the depth limit are neither drawn nor walked: the stack stays bounded.
    if (depth >= kMaxLimbDepth)
        return;
    const uint32_t count = limb->childCount <= kMaxChildren ? limb->childCount : kMaxChildren;
    PiPoint rotation;
    for (uint32_t slot = 0; slot < count; ++slot) {
        const Limb* child = limb->children[slot];
        if (!isLive(child))
            continue;
        const PiPoint w = childJoint(limb, child, p, posed, &rotation);
        drawLimbSegment(object, limb, &p, &w, &rotation, style);
    }
    for (uint32_t slot = 0; slot < count; ++slot) {
        Limb* child = limb->children[slot];
        if (!isLive(child))
            continue;
        const PiPoint w = childJoint(limb, child, p, posed, &rotation);
        drawLimbTreeAt(object, child, w, posed, style, depth + 1);
    }
}

}  // namespace

int redrawFigure(int object, Limb* root, const PiPoint* position, int posed, int style) {
    // The host holds back its own drawing while 1001 is set.
    piSetSceneProperty(host::kDrawingSceneProperty, piReturnBdVarInt(1));
    if (!geometryCleared) {
        piDeleteGeometry(object);
        geometryCleared = true;
    }
    if (root != nullptr) {
        drawLimbTree(object, root, position, posed, style);
        geometryCleared = false;
    }
    piSetSceneProperty(host::kDrawingSceneProperty, piReturnBdVarInt(0));
    piRedraw();
    return 1;
}

int drawLimbTree(int object, Limb* limb, const PiPoint* position, int posed, int style) {
    if (limb == nullptr)
        return 0;
    drawLimbTreeAt(object, limb, *position, posed, style, 0);
    return 1;
}

int drawLimbSegment(int object, Limb* limb, const PiPoint* from, const PiPoint* to,
                    const PiPoint* rotation, int style) {
    if (limb->mapName[0] != '\0') {
        PiPoint middle;
        midpoint(from, to, &middle);
        placeAssociatedObject(limb, &middle, rotation);
    }
    return drawSegment(object, from, to, limb->radius, style);
}

int placeAssociatedObject(Limb* limb, const PiPoint* position, const PiPoint* rotation) {
    if (limb->mapName[0] == '\0')
        return 0;
    if (limb->associatedObject == host::kNoObject) {
        // A record filled by hand may lack the terminator; the host gets a terminated name.
        char name[kMapNameSize];
        std::memcpy(name, limb->mapName, kMapNameSize);
        name[kMapNameSize - 1] = '\0';
        const int handle = piFindObject(name);
        if (handle == host::kNoObject)
            return 0;
        limb->associatedObject = handle;
    }
    const double pi = radiansPerHalfTurn();
    const PiPoint degrees{static_cast<float>(rotation->x * 180.0 / pi),
                          static_cast<float>(rotation->y * 180.0 / pi),
                          static_cast<float>(rotation->z * 180.0 / pi)};
    if (!isFinitePoint(degrees) || !isFinitePoint(*position))
        return 0;
    piSetObjectProperty(limb->associatedObject, host::kRotationProperty,
                        piReturnBdVarPnt(&degrees));
    piSetObjectProperty(limb->associatedObject, host::kPositionProperty,
                        piReturnBdVarPnt(position));
    piRebuildObject(limb->associatedObject, 0);
    return 1;
}
