// Taking scene geometry into an orthographic view: projection, shading, fitting.
#include "host/app/core/scene_view.h"

#include <algorithm>
#include <cmath>

namespace fighost {
namespace {

// The span shown when the geometry has no extent of its own.
constexpr double kSpanWithoutExtent = 10.0;
// The light falls from over the viewer's left shoulder (view coordinates, unit length), so that
// faces turned a little left, right, up or down read differently.
constexpr double kLightX = -0.35, kLightY = 0.5, kLightZ = 0.7921;

// The cosine and sine of an angle in degrees, exact for whole quarter turns, so that the front,
// side and top views keep the scene's own coordinates.
void cosSin(double degrees, double* c, double* s) {
    const double quarters = degrees / 90.0;
    if (quarters == std::floor(quarters) && std::fabs(quarters) < 1e9) {
        static const double kCos[] = {1, 0, -1, 0};
        const int quarter = static_cast<int>(std::fmod(quarters, 4.0) + 4) % 4;
        *c = kCos[quarter];
        *s = kCos[(quarter + 3) % 4];
        return;
    }
    const double radians = degrees * std::atan(1.0) / 45.0;
    *c = std::cos(radians);
    *s = std::sin(radians);
}

bool finite(const PiPoint& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

}  // namespace

bool parseView(const std::string& text, View* view, std::string* error) {
    if (text == "front")
        *view = View::kFront;
    else if (text == "side")
        *view = View::kSide;
    else if (text == "top")
        *view = View::kTop;
    else if (text == "iso")
        *view = View::kIso;
    else {
        *error = "view must be front, side, top or iso, not '" + text + "'";
        return false;
    }
    return true;
}

void ViewBounds::add(const ViewPoint& p) {
    if (empty) {
        minX = maxX = p.x;
        minY = maxY = p.y;
        empty = false;
        return;
    }
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
}

void ViewBounds::add(const ViewBounds& other) {
    if (other.empty)
        return;
    add(ViewPoint{other.minX, other.minY, 0});
    add(ViewPoint{other.maxX, other.maxY, 0});
}

namespace {

// Appends the object's geometry, each point taken into view coordinates by project.
template <typename Project>
void appendItems(const standin::SceneObject& object, Project project,
                 std::vector<ViewItem>* items) {
    items->reserve(items->size() + object.geometry.size());
    for (const standin::GeometryItem& geometry : object.geometry) {
        if (geometry.kind < 1 || geometry.kind > 3 ||
            geometry.first + static_cast<uint32_t>(geometry.kind) > object.points.size())
            continue;
        ViewItem item;
        item.kind = geometry.kind;
        bool usable = true;
        double depth = 0;
        for (int k = 0; k < geometry.kind; ++k) {
            const PiPoint& p = object.points[geometry.first + k];
            usable = usable && finite(p);
            item.points[k] = project(p);
            depth += item.points[k].z;
        }
        if (!usable)
            continue;
        item.depth = depth / geometry.kind;
        if (item.kind == 3) {
            const ViewPoint& a = item.points[0];
            const ViewPoint& b = item.points[1];
            const ViewPoint& c = item.points[2];
            double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
            double vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
            double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
            double length = std::sqrt(nx * nx + ny * ny + nz * nz);
            // Both sides are lit alike: the module's rings wind either way round.
            item.facing =
                length > 0 ? std::fabs(nx * kLightX + ny * kLightY + nz * kLightZ) / length : 0.0;
        }
        items->push_back(item);
    }
}

// Turns p by degrees about X, then Y, then Z.
PiPoint turned(const PiPoint& p, const PiPoint& degrees) {
    const double toRadians = std::atan(1.0) / 45.0;
    double x = p.x, y = p.y, z = p.z;
    double c = std::cos(degrees.x * toRadians), s = std::sin(degrees.x * toRadians);
    double y1 = c * y - s * z, z1 = s * y + c * z;
    c = std::cos(degrees.y * toRadians), s = std::sin(degrees.y * toRadians);
    double x2 = c * x + s * z1, z2 = -s * x + c * z1;
    c = std::cos(degrees.z * toRadians), s = std::sin(degrees.z * toRadians);
    return PiPoint{static_cast<float>(c * x2 - s * y1), static_cast<float>(s * x2 + c * y1),
                   static_cast<float>(z2)};
}

}  // namespace

std::vector<ViewItem> viewItems(const standin::SceneObject& object, View view) {
    std::vector<ViewItem> items;
    const Camera camera = cameraFor(view);
    appendItems(
        object, [&camera](const PiPoint& p) { return toCamera(camera, p); }, &items);
    sortFarFirst(&items);
    return items;
}

Camera cameraFor(View view) {
    switch (view) {
        case View::kFront:
            return {0, 0};
        case View::kSide:
            return {90, 0};
        case View::kTop:
            return {0, 90};
        case View::kIso:
            return {45, std::atan(1.0 / std::sqrt(2.0)) * 45.0 / std::atan(1.0)};
    }
    return {};
}

ViewPoint toCamera(const Camera& camera, const PiPoint& p) {
    double cy, sy, cp, sp;
    cosSin(camera.yaw, &cy, &sy);
    cosSin(camera.pitch, &cp, &sp);
    double x = cy * p.x - sy * p.z, z = sy * p.x + cy * p.z;
    return {x, cp * p.y - sp * z, sp * p.y + cp * z};
}

void appendSceneItems(const standin::SceneObject& object, const Camera& camera,
                      std::vector<ViewItem>* items) {
    if (!object.hasRotation && !object.hasPosition) {
        appendItems(
            object, [&camera](const PiPoint& p) { return toCamera(camera, p); }, items);
        return;
    }
    PiPoint rotation = object.hasRotation ? object.rotation : PiPoint{0, 0, 0};
    PiPoint position = object.hasPosition ? object.position : PiPoint{0, 0, 0};
    appendItems(
        object,
        [&](const PiPoint& p) {
            PiPoint q = turned(p, rotation);
            return toCamera(camera, PiPoint{q.x + position.x, q.y + position.y, q.z + position.z});
        },
        items);
}

void sortFarFirst(std::vector<ViewItem>* items) {
    std::stable_sort(items->begin(), items->end(),
                     [](const ViewItem& a, const ViewItem& b) { return a.depth < b.depth; });
}

ViewBounds boundsOf(const std::vector<ViewItem>& items) {
    ViewBounds bounds;
    for (const ViewItem& item : items)
        for (int k = 0; k < item.kind; ++k)
            bounds.add(item.points[k]);
    return bounds;
}

PictureFit fitPicture(const ViewBounds& bounds, int width, int height, double margin) {
    PictureFit fit;
    double usableWidth = std::max(1.0, width - 2 * margin);
    double usableHeight = std::max(1.0, height - 2 * margin);
    double centreX = 0, centreY = 0, spanX = 0, spanY = 0;
    if (!bounds.empty) {
        centreX = (bounds.minX + bounds.maxX) / 2;
        centreY = (bounds.minY + bounds.maxY) / 2;
        spanX = bounds.maxX - bounds.minX;
        spanY = bounds.maxY - bounds.minY;
    }
    double scaleX = spanX > 0 ? usableWidth / spanX : INFINITY;
    double scaleY = spanY > 0 ? usableHeight / spanY : INFINITY;
    fit.scale = std::min(scaleX, scaleY);
    if (!std::isfinite(fit.scale) || fit.scale <= 0)
        fit.scale = std::min(usableWidth, usableHeight) / kSpanWithoutExtent;
    fit.offsetX = width / 2.0 - centreX * fit.scale;
    fit.offsetY = height / 2.0 + centreY * fit.scale;
    return fit;
}

}  // namespace fighost
