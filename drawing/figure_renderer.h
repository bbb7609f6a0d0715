// Drawing a whole figure into a host scene object: the walk over the limb tree that turns each
// parent-to-child segment into geometry and moves the scene objects associated with limbs.
#pragma once

#include "model/limb.h"
#include "model/motion_table.h"
#include "plugin/host_library.h"

// Set when the target object's earlier geometry is gone (or none was drawn yet), so segments may
// be put; set when the module starts. redrawFigure clears it after each walk and sets it again
// once it has deleted the object's geometry; drawSegment reads it. One flag for the whole module.
extern bool geometryCleared;

// Replaces the object's geometry with the figure below root (null draws nothing), the root's
// joint at position, posed (non-zero: the limbs' rotations turn their children) or in the rest
// pose, in a SegmentStyle; then asks the host to redraw. Always 1.
int redrawFigure(int object, Limb* root, const PiPoint* position, int posed, int style);
// redrawFigure posed as captured: each limb's rotation is made of its own rotation channels in
// motion, composed in the order it declared them (channelRotation), and passes down, so that a
// limb turns with everything above it and a child's joint is its parent's joint plus the child's
// offset turned by the parent's whole rotation. A limb without rotation channels turns with its
// parent alone. The associated objects turn with their limbs. Always 1.
int redrawCaptured(int object, Limb* root, const MotionTable* motion, const PiPoint* position,
                   int style);
// Draws every segment below limb, whose joint lies at position; all of a limb's own segments come
// before its children's. Limbs more than kMaxLimbDepth levels below limb are not drawn. 0 for a
// null limb, else 1.
int drawLimbTree(int object, Limb* limb, const PiPoint* position, int posed, int style);
// Draws one segment of limb from -> to, placing the limb's associated object at its middle turned
// by rotation (radians). The result of drawSegment.
int drawLimbSegment(int object, Limb* limb, const PiPoint* from, const PiPoint* to,
                    const PiPoint* rotation, int style);
// Moves and turns the scene object named by the limb's map name to position and rotation
// (radians), then has it rebuilt. The handle found is kept in the limb. 1 when placed; 0 when the
// limb has no map name, no object has that name, or position or rotation is not finite.
int placeAssociatedObject(Limb* limb, const PiPoint* position, const PiPoint* rotation);
