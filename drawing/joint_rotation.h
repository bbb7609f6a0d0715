// Rotations as matrices, for posing a figure as captured: each limb's rotation channels compose in
// the order it declared them, and every limb's rotation passes down to the limbs below it.
#pragma once

#include "model/limb.h"
#include "model/motion_table.h"

// A rotation applied to column vectors: row i gives output coordinate i (X, Y, Z).
struct RotationMatrix {
    double m[3][3];
};

// The rotation that turns nothing.
RotationMatrix identityRotation();
// a · b: b is applied first, then a.
RotationMatrix multiply(const RotationMatrix& a, const RotationMatrix& b);
// r · v, in doubles.
void turnVector(const RotationMatrix& r, const PiPoint& v, double out[3]);

// The limb's own rotation: one turn about each axis it has a rotation channel for, by the limb's
// angle for that axis (radians), composed in the order its channels declare them: for
// Zrotation Xrotation Yrotation, Rz · Rx · Ry. An axis declared twice turns once, where it is
// first declared, the limb having one angle for it. The identity for a limb that owns no rotation
// channel, or when there is no motion.
RotationMatrix channelRotation(const Limb* limb, const MotionTable* motion);

// The three angles (radians, X, Y, Z) that give r when an object is turned about the world X
// axis, then Y, then Z (Rz · Ry · Rx), as the host turns a scene object by its rotation property.
// The Y angle lies within a quarter turn either way; where it is a quarter turn, X is 0. An r
// holding a value that is not finite gives angles that are not finite.
PiPoint hostRotationAngles(const RotationMatrix& r);
