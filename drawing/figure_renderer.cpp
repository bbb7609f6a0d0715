#include "drawing/figure_renderer.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "drawing/joint_rotation.h"
#include "drawing/rotation_transform.h"
#include "drawing/segment_geometry.h"
#include "model/limb_walk.h"

// Module-wide; see the header. Read by drawSegment, written only by redrawFigure.
bool geometryCleared = true;

namespace {

bool isFinitePoint(const PiPoint& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
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

// Draws a tree: on entering a limb, the segments from its joint to each live child's joint, one
// after the other, before any child's own segments. Children below the depth limit are neither
// drawn nor walked.
class TreeDrawing {
  public:
    struct Level {
        PiPoint joint;
    };

    TreeDrawing(int object, const PiPoint& position, int posed, int style)
        : object_(object), position_(position), posed_(posed), style_(style) {}

    LimbWalkStep enter(Limb* limb, Limb* parent, int depth, const Level* parentLevel, Level& own) {
        PiPoint rotation;
        own.joint = parent == nullptr
                        ? position_
                        : childJoint(parent, limb, parentLevel->joint, posed_, &rotation);
        if (!limbWalkGoesBelow(depth))
            return LimbWalkStep::kNotBelow;
        for (const Limb* child : limbChildren(limb, DeletedLimbs::kSkipped)) {
            const PiPoint w = childJoint(limb, child, own.joint, posed_, &rotation);
            drawLimbSegment(object_, limb, &own.joint, &w, &rotation, style_);
        }
        return LimbWalkStep::kBelow;
    }

  private:
    const int object_;
    const PiPoint position_;
    const int posed_;
    const int style_;
};

// Where a child's joint lies posed as captured: the parent's joint plus the child's offset turned
// by the parent's world rotation. Worked out in doubles from a joint kept in doubles.
void capturedJoint(const RotationMatrix& world, const Limb* child, const double p[3], double w[3]) {
    turnVector(world, child->offset, w);
    for (int k = 0; k < 3; ++k)
        w[k] += p[k];
}

PiPoint toPoint(const double p[3]) {
    return PiPoint{static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2])};
}

// TreeDrawing posed as captured: the limb's world rotation is its parent's world rotation times
// its own channels' rotation, and turns the offsets of all its children.
class CapturedDrawing {
  public:
    struct Level {
        double joint[3];
        RotationMatrix world;
    };

    CapturedDrawing(int object, const PiPoint& position, const MotionTable* motion, int style)
        : object_(object), motion_(motion), style_(style) {
        position_[0] = position.x;
        position_[1] = position.y;
        position_[2] = position.z;
    }

    LimbWalkStep enter(Limb* limb, Limb* parent, int depth, const Level* parentLevel, Level& own) {
        if (parent == nullptr) {
            for (int k = 0; k < 3; ++k)
                own.joint[k] = position_[k];
        } else {
            capturedJoint(parentLevel->world, limb, parentLevel->joint, own.joint);
        }
        if (!limbWalkGoesBelow(depth))
            return LimbWalkStep::kNotBelow;
        own.world = multiply(parent == nullptr ? identityRotation() : parentLevel->world,
                             channelRotation(limb, motion_));
        const PiPoint from = toPoint(own.joint);
        // The associated object turns as the limb does, in the angles the host applies.
        const PiPoint angles = hostRotationAngles(own.world);
        double w[3];
        for (const Limb* child : limbChildren(limb, DeletedLimbs::kSkipped)) {
            capturedJoint(own.world, child, own.joint, w);
            const PiPoint to = toPoint(w);
            drawLimbSegment(object_, limb, &from, &to, &angles, style_);
        }
        return LimbWalkStep::kBelow;
    }

  private:
    const int object_;
    double position_[3];
    const MotionTable* const motion_;
    const int style_;
};

// The steps around every redraw: the host's drawing held back, the object's earlier geometry
// deleted, the figure drawn by walk (when there is a root), the host asked to redraw.
template <typename Walk>
int redrawWith(int object, const Limb* root, Walk walk) {
    // The host holds back its own drawing while 1001 is set.
    piSetSceneProperty(host::kDrawingSceneProperty, piReturnBdVarInt(1));
    if (!geometryCleared) {
        piDeleteGeometry(object);
        geometryCleared = true;
    }
    if (root != nullptr) {
        walk();
        geometryCleared = false;
    }
    piSetSceneProperty(host::kDrawingSceneProperty, piReturnBdVarInt(0));
    piRedraw();
    return 1;
}

}  // namespace

int redrawFigure(int object, Limb* root, const PiPoint* position, int posed, int style) {
    return redrawWith(object, root, [&] { drawLimbTree(object, root, position, posed, style); });
}

int redrawCaptured(int object, Limb* root, const MotionTable* motion, const PiPoint* position,
                   int style) {
    return redrawWith(object, root, [&] {
        CapturedDrawing drawing(object, *position, motion, style);
        walkLimbTree(root, DeletedLimbs::kSkipped, drawing);
    });
}

int drawLimbTree(int object, Limb* limb, const PiPoint* position, int posed, int style) {
    if (limb == nullptr)
        return 0;
    TreeDrawing drawing(object, *position, posed, style);
    walkLimbTree(limb, DeletedLimbs::kSkipped, drawing);
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
    // In degrees an angle grows by a factor of 57: one that a float no longer holds (or one
    // that is not a number) turns nothing, and is never narrowed out of range.
    const double pi = radiansPerHalfTurn();
    const double turn[3] = {rotation->x * 180.0 / pi, rotation->y * 180.0 / pi,
                            rotation->z * 180.0 / pi};
    for (double angle : turn)
        if (!(std::fabs(angle) <= std::numeric_limits<float>::max()))
            return 0;
    const PiPoint degrees{static_cast<float>(turn[0]), static_cast<float>(turn[1]),
                          static_cast<float>(turn[2])};
    if (!isFinitePoint(*position))
        return 0;
    piSetObjectProperty(limb->associatedObject, host::kRotationProperty,
                        piReturnBdVarPnt(&degrees));
    piSetObjectProperty(limb->associatedObject, host::kPositionProperty,
                        piReturnBdVarPnt(position));
    piRebuildObject(limb->associatedObject, 0);
    return 1;
}
