#include "host/app/scene_widget.h"

#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtGui/QWheelEvent>
#include <algorithm>
#include <cmath>

#include "host/app/picture_writer.h"

namespace fighost {
namespace {

// Degrees the scene turns per pixel the mouse moves, and the zoom of one wheel notch.
constexpr double kDegreesPerPixel = 0.5;
constexpr double kZoomPerNotch = 1.15;
constexpr double kMinZoom = 0.02, kMaxZoom = 200;

}  // namespace

SceneWidget::SceneWidget(const ModuleSession* session, QWidget* parent)
    : QWidget(parent), session_(session) {
    setMinimumSize(320, 240);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SceneWidget::setView(View view) {
    camera_ = cameraFor(view);
    fitScene();
}

void SceneWidget::fitScene() {
    fitBounds_ = boundsOf(sceneItems());
    fitted_ = !fitBounds_.empty;
    zoom_ = 1;
    pan_ = QPointF();
    update();
}

std::vector<ViewItem> SceneWidget::sceneItems() const {
    std::vector<ViewItem> items;
    for (const standin::SceneObject& object : standin::scene().objects)
        if (!session_->deleted(object.handle))
            appendSceneItems(object, camera_, &items);
    sortFarFirst(&items);
    return items;
}

PictureFit SceneWidget::currentFit() const {
    PictureFit fit =
        fitPicture(fitBounds_, width(), height(), pictureMargin(std::min(width(), height())));
    double centreX = fitBounds_.empty ? 0 : (fitBounds_.minX + fitBounds_.maxX) / 2;
    double centreY = fitBounds_.empty ? 0 : (fitBounds_.minY + fitBounds_.maxY) / 2;
    fit.scale *= zoom_;
    fit.offsetX = width() / 2.0 - centreX * fit.scale + pan_.x();
    fit.offsetY = height() / 2.0 + centreY * fit.scale + pan_.y();
    return fit;
}

void SceneWidget::paintEvent(QPaintEvent*) {
    std::vector<ViewItem> items = sceneItems();
    if (!fitted_) {
        fitBounds_ = boundsOf(items);
        fitted_ = !fitBounds_.empty;
    }
    QPainter painter(this);
    paintItems(&painter, items, currentFit(), width(), height());
}

void SceneWidget::mousePressEvent(QMouseEvent* event) {
    lastMouse_ = event->position().toPoint();
}

void SceneWidget::mouseMoveEvent(QMouseEvent* event) {
    QPoint now = event->position().toPoint();
    QPoint moved = now - lastMouse_;
    lastMouse_ = now;
    if (event->buttons() & Qt::LeftButton) {
        camera_.yaw = std::fmod(camera_.yaw - moved.x() * kDegreesPerPixel, 360.0);
        camera_.pitch = std::clamp(camera_.pitch + moved.y() * kDegreesPerPixel, -90.0, 90.0);
    } else if (event->buttons() & (Qt::RightButton | Qt::MiddleButton)) {
        pan_ += QPointF(moved);
    } else {
        return;
    }
    update();
}

void SceneWidget::wheelEvent(QWheelEvent* event) {
    double notches = event->angleDelta().y() / 120.0;
    zoom_ = std::clamp(zoom_ * std::pow(kZoomPerNotch, notches), kMinZoom, kMaxZoom);
    update();
}

}  // namespace fighost
