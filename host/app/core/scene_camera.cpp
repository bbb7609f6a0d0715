// The window's camera as plain arithmetic: fitting, projection, turning and picking.
#include "host/app/core/scene_camera.h"

#include <algorithm>
#include <cmath>

namespace fighost {
namespace {

// Degrees the scene turns per pixel the mouse moves, and the zoom of one wheel notch.
constexpr double kDegreesPerPixel = 0.5;
constexpr double kZoomPerNotch = 1.15;
constexpr double kMinZoom = 0.02, kMaxZoom = 200;
// The perspective eye stands this many fitted radii from the centre it looks at.
constexpr double kEyeDistance = 4;
// A click picks a line or a point this many pixels away.
constexpr double kPickDistance = 5;

double distanceToSegment(ViewPixel p, ViewPoint a, ViewPoint b) {
    double dx = b.x - a.x, dy = b.y - a.y;
    double length = dx * dx + dy * dy;
    double t =
        length > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length, 0.0, 1.0) : 0.0;
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

bool insideTriangle(ViewPixel p, const ViewPoint* t) {
    auto side = [&](const ViewPoint& a, const ViewPoint& b) {
        return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
    };
    double d1 = side(t[0], t[1]), d2 = side(t[1], t[2]), d3 = side(t[2], t[0]);
    bool negative = d1 < 0 || d2 < 0 || d3<0, positive = d1> 0 || d2 > 0 || d3 > 0;
    return !(negative && positive);
}

}  // namespace

void SceneBox::add(const PiPoint& p) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
        return;
    if (empty) {
        min = max = p;
        empty = false;
        return;
    }
    min = {std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z)};
    max = {std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z)};
}

void SceneCamera::setSize(double width, double height, double margin) {
    width_ = width;
    height_ = height;
    margin_ = margin;
}

void SceneCamera::fit(const SceneBox& box, const PiPoint& root) {
    box_ = box;
    fitted_ = !box_.empty;
    if (fitted_) {
        target_ = {(box_.min.x + box_.max.x) / 2, (box_.min.y + box_.max.y) / 2,
                   (box_.min.z + box_.max.z) / 2};
        double dx = box_.max.x - box_.min.x, dy = box_.max.y - box_.min.y,
               dz = box_.max.z - box_.min.z;
        radius_ = std::sqrt(dx * dx + dy * dy + dz * dz) / 2;
        if (!(radius_ > 1e-6))
            radius_ = 5;
    }
    followFrom_ = root;
    fitCamera_ = camera_;
    zoom_ = 1;
    panX_ = panY_ = 0;
}

double SceneCamera::pixelsPerUnit() const {
    // The fitted box's corners, seen from the centre, fill the view less its margins; the
    // nearest side of the box still fits when perspective enlarges what is near.
    double reachX = 0, reachY = 0;
    for (int corner = 0; corner < 8 && !box_.empty; ++corner) {
        PiPoint p{corner & 1 ? box_.max.x : box_.min.x, corner & 2 ? box_.max.y : box_.min.y,
                  corner & 4 ? box_.max.z : box_.min.z};
        ViewPoint q =
            toCamera(fitCamera_, PiPoint{p.x - target_.x, p.y - target_.y, p.z - target_.z});
        double factor =
            perspective_ ? kEyeDistance / (kEyeDistance - std::min(q.z / radius_, 1.0)) : 1.0;
        reachX = std::max(reachX, std::fabs(q.x) * factor);
        reachY = std::max(reachY, std::fabs(q.y) * factor);
    }
    double scaleX = reachX > 0 ? (width_ / 2.0 - margin_) / reachX : INFINITY;
    double scaleY = reachY > 0 ? (height_ / 2.0 - margin_) / reachY : INFINITY;
    double scale = std::min(scaleX, scaleY);
    if (!std::isfinite(scale) || scale <= 0)
        scale = std::max(1.0, std::min(width_, height_) / 2.0 - margin_) / radius_;
    return zoom_ * scale;
}

PiPoint SceneCamera::shownCentre(const PiPoint& root) const {
    if (!follow_)
        return target_;
    return {target_.x + root.x - followFrom_.x, target_.y + root.y - followFrom_.y,
            target_.z + root.z - followFrom_.z};
}

bool SceneCamera::toPixel(const ViewPoint& q, double pixelsPerUnit, ViewPixel* pixel) const {
    double factor = 1;
    if (perspective_) {
        const double eye = kEyeDistance * radius_;
        if (q.z > eye * 0.95)
            return false;
        factor = eye / (eye - q.z);
    }
    const double scale = pixelsPerUnit * factor;
    *pixel = {width_ / 2.0 + panX_ + q.x * scale, height_ / 2.0 + panY_ - q.y * scale};
    return true;
}

bool SceneCamera::project(const PiPoint& p, const PiPoint& root, double pixelsPerUnit,
                          ViewPixel* pixel) const {
    const PiPoint centre = shownCentre(root);
    return toPixel(toCamera(camera_, PiPoint{p.x - centre.x, p.y - centre.y, p.z - centre.z}),
                   pixelsPerUnit, pixel);
}

std::vector<ViewItem> SceneCamera::toPixels(std::vector<ViewItem> items,
                                            const PiPoint& root) const {
    // The turn is linear, so taking off the turned centre leaves the point as seen from the
    // centre.
    const ViewPoint centre = toCamera(camera_, shownCentre(root));
    const double scale = pixelsPerUnit();
    size_t kept = 0;
    for (ViewItem& item : items) {
        bool visible = true;
        double depth = 0;
        for (int k = 0; k < item.kind && visible; ++k) {
            ViewPoint q{item.points[k].x - centre.x, item.points[k].y - centre.y,
                        item.points[k].z - centre.z};
            ViewPixel pixel;
            visible = toPixel(q, scale, &pixel);
            item.points[k] = {pixel.x, pixel.y, q.z};
            depth += q.z;
        }
        if (!visible)
            continue;
        item.depth = depth / item.kind;
        items[kept++] = item;
    }
    items.resize(kept);
    sortFarFirst(&items);
    return items;
}

void SceneCamera::turn(double dx, double dy) {
    camera_.yaw = std::fmod(camera_.yaw - dx * kDegreesPerPixel, 360.0);
    camera_.pitch = std::clamp(camera_.pitch + dy * kDegreesPerPixel, -90.0, 90.0);
}

void SceneCamera::move(double dx, double dy) {
    panX_ += dx;
    panY_ += dy;
}

void SceneCamera::zoom(double notches) {
    zoom_ = std::clamp(zoom_ * std::pow(kZoomPerNotch, notches), kMinZoom, kMaxZoom);
}

void SceneCamera::orbitAbout(const PiPoint& middle, const PiPoint& root) {
    ViewPixel shown;
    if (!project(middle, root, pixelsPerUnit(), &shown))
        return;
    const PiPoint centre = shownCentre(root);
    target_ = {target_.x + middle.x - centre.x, target_.y + middle.y - centre.y,
               target_.z + middle.z - centre.z};
    panX_ = shown.x - width_ / 2.0;
    panY_ = shown.y - height_ / 2.0;
}

int pickAt(const std::vector<ViewItem>& items, const ViewPixel& pixel) {
    for (auto item = items.rbegin(); item != items.rend(); ++item) {
        const ViewPoint* p = item->points;
        bool hit = false;
        switch (item->kind) {
            case 1:
                hit = std::hypot(pixel.x - p[0].x, pixel.y - p[0].y) <= kPickDistance;
                break;
            case 2:
                hit = distanceToSegment(pixel, p[0], p[1]) <= kPickDistance;
                break;
            case 3:
                hit = insideTriangle(pixel, p);
                break;
            default:
                break;
        }
        if (hit)
            return item->object;
    }
    return -1;
}

}  // namespace fighost
