// The test cable: a separate host object that receives the ring points of a segment one by one,
// drawn from the settings page to show what the ring construction makes.
#pragma once

#include "drawing/polygon_list.h"
#include "plugin/host_library.h"

// Points per ring and radius of the test cable.
constexpr int kCableDivisions = 8;
constexpr double kCableRadius = 0.4;
// Room for a cable's name: "_Cable" and any 32-bit number.
constexpr int kCableNameSize = 80;

// Creates a host object of the given type named "_Cable<n>", n counting up from 0 over the
// module's life. The host handle, or -1 when the host refuses.
int createCableObject(int type);
// Creates a cable object and puts the ring points of the path into it (rings of divisions points
// of the given radius), then releases the object and asks for a redraw. 1 on success; 0 when the
// path is no segment path, the object cannot be made, memory runs out, a ring is not finite or
// the host refuses a point.
int putCable(const PolygonList* path, int pathCount, int divisions, double radius);
// Draws the test cable along from -> to. Always 1.
int drawTestSegment(const PiPoint* from, const PiPoint* to);
