// The window's camera without the window: where it looks from, what it was fitted to, how scene
// points land in a view of a given size in pixels (orthographic or in perspective), turning,
// moving and zooming by the mouse, and which drawn item a pixel picks.
#pragma once

#include <vector>

#include "host/app/core/scene_view.h"

namespace fighost {

// A box in scene coordinates; empty until a point is added.
struct SceneBox {
    bool empty = true;
    PiPoint min{}, max{};
    // Grows the box to hold p; a point that is not finite is left out.
    void add(const PiPoint& p);
};

// A place in the view, in pixels from its top left corner.
struct ViewPixel {
    double x = 0, y = 0;
};

class SceneCamera {
  public:
    // The view's size in pixels and the margin a fit leaves at each side.
    void setSize(double width, double height, double margin);
    void setCamera(const Camera& camera) { camera_ = camera; }
    const Camera& camera() const { return camera_; }
    void setPerspective(bool on) { perspective_ = on; }
    bool perspective() const { return perspective_; }
    // Keeps the followed root (the selected figure's) where it was at the last fit.
    void setFollow(bool on) { follow_ = on; }
    bool follow() const { return follow_; }

    // Fits box (the live objects over their whole motion) into the view, turns about its centre
    // from then on and takes root as where the followed root stands now; the zoom and the move
    // start again. An empty box leaves the view unfitted.
    void fit(const SceneBox& box, const PiPoint& root);
    bool fitted() const { return fitted_; }
    const SceneBox& fitBox() const { return box_; }
    // Half the fitted box's diagonal (5 until fitted or for a box of a point).
    double radius() const { return radius_; }
    // Takes root as where the followed root stands now, without a fit (another one is followed).
    void followFrom(const PiPoint& root) { followFrom_ = root; }

    // Pixels a scene unit at the centre spans: the fitted box fills the view less its margins,
    // times the zoom.
    double pixelsPerUnit() const;
    // The scene point shown at the view's centre: the fitted centre, moved with the followed
    // root (root: where it stands now) when following.
    PiPoint shownCentre(const PiPoint& root) const;
    // Where a point seen from the centre (camera coordinates) lands; false when it lies behind
    // the perspective eye.
    bool toPixel(const ViewPoint& q, double pixelsPerUnit, ViewPixel* pixel) const;
    // Where a scene point lands at that scale (pixelsPerUnit), the followed root standing at
    // root.
    bool project(const PiPoint& p, const PiPoint& root, double pixelsPerUnit,
                 ViewPixel* pixel) const;
    // Items as the camera turned them (appendSceneItems) taken into pixels (x, y) with their
    // depth from the centre (z), far first; those reaching behind the eye are left out.
    std::vector<ViewItem> toPixels(std::vector<ViewItem> items, const PiPoint& root) const;

    // The mouse moved by (dx, dy) pixels with the turning button down, or with a moving one.
    void turn(double dx, double dy);
    void move(double dx, double dy);
    // Zooms in by wheel notches (out for fewer than 0), within 0.02 to 200 times the fit.
    void zoom(double notches);
    // Makes middle (a scene point) the centre the camera turns about, without anything moving
    // in the view: it stays where it is shown now.
    void orbitAbout(const PiPoint& middle, const PiPoint& root);

  private:
    double width_ = 320, height_ = 240, margin_ = 12;
    Camera camera_ = cameraFor(View::kFront);
    SceneBox box_;          // what the view was last fitted to
    bool fitted_ = false;   // fitted to something; until then each paint fits anew
    PiPoint target_{};      // the scene point the camera turns about, shown at the centre
    double radius_ = 5;     // half the fitted box's diagonal
    Camera fitCamera_;      // the camera the box was fitted for; turning keeps its scale
    PiPoint followFrom_{};  // the followed root at the last fit
    double zoom_ = 1;
    double panX_ = 0, panY_ = 0;  // pixels the view was moved by
    bool perspective_ = true, follow_ = false;
};

// The item of items (in pixels, far first) drawn nearest the viewer at pixel: a point or a line
// within 5 pixels, a triangle it is inside of. Its object's handle; -1 where none is.
int pickAt(const std::vector<ViewItem>& items, const ViewPixel& pixel);

}  // namespace fighost
