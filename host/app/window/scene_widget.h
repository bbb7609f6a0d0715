// The window's view of the stand-in scene: every object's geometry as the module left it, lines
// as strokes and triangles filled and shaded far first, each object in a colour of its own and
// the selected one drawn strong while the others are pale. The camera turns about the figures'
// centre (left button), moves (right or middle button) and the wheel zooms; a click picks the
// object under the pointer. A ground grid under the figures' whole motion, an axis triad and
// perspective or orthographic projection are options of the view.
#pragma once

#include <QtCore/QPoint>
#include <QtWidgets/QWidget>
#include <functional>
#include <vector>

#include "host/app/core/module_session.h"
#include "host/app/core/scene_camera.h"
#include "host/app/core/scene_view.h"

namespace fighost {

class SceneWidget : public QWidget {
  public:
    // The frame an object is shown at (0 for its rest pose), and what to do when a click
    // picks an object.
    using FrameOf = std::function<int(int handle)>;
    using Picked = std::function<void(int handle)>;

    // The view of the scene of session: the objects it has not deleted.
    explicit SceneWidget(const ModuleSession* session, QWidget* parent = nullptr);

    // Looks from one of the fixed views and fits the scene.
    void setView(View view);
    // Fits the live objects over their whole motion (the roots' travel included) into the view,
    // and turns the camera about their centre from then on.
    void fitScene();
    const Camera& camera() const { return view_.camera(); }

    void setFrameSource(FrameOf frameOf) { frameOf_ = std::move(frameOf); }
    void setPicked(Picked picked) { picked_ = std::move(picked); }
    // The object drawn highlighted; -1 for none.
    void setSelected(int handle);
    // While a motion plays (or the mouse turns or moves the view), faces are filled without
    // antialiasing, which takes under half the time (their edges step by whole pixels); a still
    // view is drawn smooth.
    void setPlaying(bool on);
    // Options, each shown at once.
    void setGrid(bool on);
    void setAxes(bool on);
    void setPerspective(bool on);
    // Keeps the selected figure's root where it was at the last fit as the motion plays.
    void setFollow(bool on);
    bool grid() const { return grid_; }
    bool axes() const { return axes_; }
    bool perspective() const { return view_.perspective(); }
    bool follow() const { return view_.follow(); }
    // The object drawn nearest the viewer at widget pixel (x, y); -1 where none is.
    int objectAt(QPointF pixel) const;
    // The scene box the view was last fitted to.
    const SceneBox& fitBox() const { return view_.fitBox(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // Where a scene point lands in the widget at that scale, the followed root standing at root;
    // false when it lies behind the perspective eye.
    bool project(const PiPoint& p, const PiPoint& root, double pixelsPerUnit, QPointF* pixel) const;
    // Every live object's geometry in widget pixels (x, y) and depth (z), far first.
    std::vector<ViewItem> sceneItems() const;
    // The box of the live objects over their whole motion.
    SceneBox motionBox() const;
    // The selected figure's root at its frame, when following.
    PiPoint followedRoot() const;
    // Makes the middle of the selected object, as drawn now, the centre the camera turns about.
    void orbitAboutSelected();
    void paintGrid(QPainter* painter) const;
    void paintAxes(QPainter* painter) const;

    const ModuleSession* session_;
    FrameOf frameOf_;
    Picked picked_;
    SceneCamera view_;  // where the view looks from and how the scene lands in its pixels
    QPoint lastMouse_, pressedAt_;
    int selected_ = -1;
    bool grid_ = true, axes_ = true, playing_ = false;
    bool dragging_ = false;  // a button is held down while the mouse moves
};

}  // namespace fighost
