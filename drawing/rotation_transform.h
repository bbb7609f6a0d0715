// The one rotation transform of the module: a turn by an angle about an axis through a point.
// Everything that turns a point goes through it, so it is set up and applied back to back.
#pragma once

#include "plugin/host_library.h"

// An affine transform: output = matrix * input + translation.
struct RotationTransform {
    double matrix[3][3];    // row i gives output coordinate i (X, Y, Z) from the input
    double translation[3];  // added after the matrix
};

// The module-wide transform as last set up; read by tests and by nothing that sets it.
const RotationTransform& currentRotationTransform();

// Replaces the transform with the turn by angle (radians) about the axis of direction
// (dx, dy, dz) through the point (px, py, pz). A zero direction stands for +Z.
void setRotation(double px, double py, double pz, double dx, double dy, double dz, double angle);

// Writes the transform applied to (x, y, z) to the outputs; leaves the transform as it is.
void applyRotation(double x, double y, double z, double* outX, double* outY, double* outZ);

// Turns q about the world Z, then X, then Y axis through pivot by rz, rx, ry (radians) and
// writes the point to result. Each step is stored as floats before the next one; the transform
// is left set to the Y turn.
void rotateAboutJoint(float rx, float ry, float rz, const PiPoint* pivot, const PiPoint* q,
                      PiPoint* result);

// Pi as the module takes it wherever angles are worked out: 4 * atan(1).
double radiansPerHalfTurn();
