// The geometry of one limb segment: a line, a cylinder or a balloon. Cylinders and balloons (and
// the test cable) sample the segment into an 11-point path, lay a ring of points around each
// inner path point square to the path, and join consecutive rings with triangles.
#pragma once

#include <cstdint>

#include "drawing/polygon_list.h"
#include "model/figure_data.h"
#include "plugin/host_library.h"

// Points of a segment path: the joints, the seven eighths between them and one eighth beyond
// each joint, so that the rings at both joints have a chord to lie square to.
constexpr int kSegmentPathPoints = 11;
// Points per ring when a limb is drawn: enough for a round look at 128 triangles a segment.
constexpr int kLimbDivisions = 8;
// The ring buffer's capacity; no caller asks for more points per ring.
constexpr int kRingCapacity = 30;
// Entries of the balloon profile: one radius per path point.
constexpr int kBalloonProfileSize = 11;
// Below this a chord component counts as zero when the ring's start direction is chosen.
constexpr double kNearZeroLimit = 0.00001;
// Balloon radii relative to the limb's: thin at the joints, nearly full next to them.
constexpr double kBalloonJointFactor = 0.1;
constexpr double kBalloonShoulderFactor = 0.8333333333333334;

// out = a + (b - a) * 0.5 per coordinate, in float arithmetic. Always 1.
int midpoint(const PiPoint* a, const PiPoint* b, PiPoint* out);
// 1 when |v| < kNearZeroLimit, else 0.
int isNearZero(double v);
// A new segment path of kSegmentPathPoints one-point polygons, P(k) = A + ((k - 1) / 8)(B - A).
// The caller frees it with freePolygonList. A node that cannot be made ends the path early.
PolygonList* makeSegmentPath(const PiPoint* from, const PiPoint* to);
// Fills the balloon profile for radius r (see balloonProfile). Always 1.
int makeBalloonProfile(double radius);
// The kBalloonProfileSize radii of the last makeBalloonProfile; valid until the next one.
const double* balloonProfile();
// Lays n points (at most kRingCapacity) on the circle of the given radius about p1, square to the
// chord p0 -> p2, counter-clockwise about the chord. Returns the ring buffer, valid until the
// next makeRing.
const PiPoint* makeRing(const PiPoint* p0, const PiPoint* p1, const PiPoint* p2, int n,
                        double radius);
// Returns the triangle buffer holding point k, point j, point i in that order, where point m is
// (xs[m], ys[m], zs[m]) as floats; valid until the next makeTriangle.
const PiPoint* makeTriangle(const double* xs, const double* ys, const double* zs, int i, int j,
                            int k);
// Puts the triangles of a tube along the path's first pathCount points into the object: rings of
// divisions points (at most kRingCapacity), of radius profile[k] for ring k when a profile of
// kBalloonProfileSize radii is given and radius otherwise. 1 when every triangle was put; 0 when
// the path is no segment path, divisions is out of range, memory runs out, a ring is not finite
// or the host refuses a triangle (the rest is then not put).
int putFacetTube(int object, const PolygonList* path, int pathCount, int divisions, double radius,
                 const double* profile);
// Draws the segment from -> to into the object in the given SegmentStyle with the limb's radius. 0
// when nothing may be drawn yet (geometry not cleared), when a joint is not finite, or when the
// host refuses the line; otherwise 1, even when a tube stopped part-way. A segment whose joints
// coincide is drawn as its line in style 0 and not at all as a tube.
int drawSegment(int object, const PiPoint* from, const PiPoint* to, double radius, int style);
