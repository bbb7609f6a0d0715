// An orthographic view of a scene object's geometry: each point is taken into view coordinates
// (right, up, towards the viewer), triangles get a shade from how squarely they face the light
// (which falls from over the viewer's left shoulder),
// and everything is ordered far to near so that painting in order hides what lies behind.
#pragma once

#include <string>
#include <vector>

#include "host/stand_in_host.h"

namespace fighost {

enum class View { kFront, kSide, kTop, kIso };

// Views by name: "front", "side", "top", "iso".
bool parseView(const std::string& text, View* view, std::string* error);

// A point in view coordinates: x to the right, y up, z towards the viewer.
struct ViewPoint {
    double x = 0, y = 0, z = 0;
};

// One geometry item seen from the view.
struct ViewItem {
    int kind = 0;         // 1 point, 2 line, 3 triangle
    ViewPoint points[3];  // the first kind of them are used
    double depth = 0;     // mean z of its points; smaller is farther
    double facing = 1;    // triangles: |cos| of the angle between normal and light, 0 to 1
    int object = -1;      // the scene object it belongs to, where the caller records it
};

// The extent of a set of view items in x and y; empty until a point is added.
struct ViewBounds {
    bool empty = true;
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    void add(const ViewPoint& p);
    void add(const ViewBounds& other);
};

// The object's geometry seen from the view, far items first. Items with a point that is not
// finite are left out.
std::vector<ViewItem> viewItems(const standin::SceneObject& object, View view);
// A view, as the window turns it: the scene is turned by yaw degrees about Y, then tilted by
// pitch degrees about X.
struct Camera {
    double yaw = 0, pitch = 0;
};
// The named views as cameras. Front looks along -Z (X right, Y up); side looks along -X from +X
// (-Z right); top looks down -Y (X right, -Z up); iso looks from (1, 1, 1) towards the origin, so
// the three axes are foreshortened alike.
Camera cameraFor(View view);
// The point in view coordinates.
ViewPoint toCamera(const Camera& camera, const PiPoint& p);

// Appends the object's geometry as the camera sees it, in the order it was put. When the host
// gave the object a rotation (degrees about X, then Y, then Z) or a position, each point is
// turned and then moved by them first, as the scene places the object.
void appendSceneItems(const standin::SceneObject& object, const Camera& camera,
                      std::vector<ViewItem>* items);
// Orders items far to near, keeping the order of items at one depth.
void sortFarFirst(std::vector<ViewItem>* items);

// The extent of the items.
ViewBounds boundsOf(const std::vector<ViewItem>& items);

// Maps view x/y into a picture of width × height pixels, y downwards, so that bounds fill it
// less a margin on each side, centred and keeping proportions.
struct PictureFit {
    double scale = 1, offsetX = 0, offsetY = 0;
    double px(const ViewPoint& p) const { return offsetX + p.x * scale; }
    double py(const ViewPoint& p) const { return offsetY - p.y * scale; }
};
// A bounds without extent (one point, or nothing) is shown at the scale of a 10-unit span.
PictureFit fitPicture(const ViewBounds& bounds, int width, int height, double margin);

}  // namespace fighost
