// The window's view of the stand-in scene: every object's geometry as the module left it,
// lines as strokes and triangles filled and shaded far first, as the pictures are drawn. The
// mouse turns the scene (left button), moves it (right or middle button) and the wheel zooms.
#pragma once

#include <QtCore/QPoint>
#include <QtWidgets/QWidget>
#include <vector>

#include "host/app/module_session.h"
#include "host/app/scene_view.h"

namespace fighost {

class SceneWidget : public QWidget {
  public:
    // The view of the scene of session: the objects it has not deleted.
    explicit SceneWidget(const ModuleSession* session, QWidget* parent = nullptr);

    // Looks from one of the fixed views and fits the scene.
    void setView(View view);
    // Fits what the scene holds now into the widget.
    void fitScene();
    const Camera& camera() const { return camera_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    // Every live object's geometry seen by the camera, far first.
    std::vector<ViewItem> sceneItems() const;
    PictureFit currentFit() const;

    const ModuleSession* session_;
    Camera camera_ = cameraFor(View::kFront);
    ViewBounds fitBounds_;  // the extent the view was last fitted to
    bool fitted_ = false;   // fitted to something; until then each paint fits anew
    double zoom_ = 1;
    QPointF pan_;
    QPoint lastMouse_;
};

}  // namespace fighost
