// The window's scene view: painting, the camera's mouse and keys, picking objects.
#include "host/app/window/scene_widget.h"

#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtGui/QResizeEvent>
#include <QtGui/QWheelEvent>
#include <algorithm>
#include <cmath>

#include "host/app/core/figure_summary.h"
#include "host/app/window/picture_writer.h"
#include "model/figure_data.h"
#include "model/motion_table.h"

namespace fighost {
namespace {

// A press and release closer than this many pixels is a click.
constexpr int kClickSlack = 4;

const QColor kBackground(255, 255, 255);
const QColor kGridColour(222, 224, 228), kGridAxisColour(190, 194, 200);
// Each object's colour, by its place in the scene; the first is the pictures' steel blue.
const QColor kObjectColours[] = {{70, 130, 180}, {196, 98, 52},  {72, 150, 84},
                                 {146, 84, 170}, {186, 146, 40}, {52, 150, 160}};
// Faces seen edge-on keep this share of their colour, so that none goes black.
constexpr double kAmbient = 0.35;
// Objects other than the selected one are mixed this far towards the background.
constexpr double kPale = 0.6;

QColor mixed(const QColor& colour, const QColor& towards, double share) {
    return QColor::fromRgbF(
        static_cast<float>(colour.redF() + (towards.redF() - colour.redF()) * share),
        static_cast<float>(colour.greenF() + (towards.greenF() - colour.greenF()) * share),
        static_cast<float>(colour.blueF() + (towards.blueF() - colour.blueF()) * share));
}

QColor lit(const QColor& colour, double facing) {
    double light = kAmbient + (1.0 - kAmbient) * std::clamp(facing, 0.0, 1.0);
    return QColor::fromRgbF(static_cast<float>(colour.redF() * light),
                            static_cast<float>(colour.greenF() * light),
                            static_cast<float>(colour.blueF() * light));
}

// A round grid spacing near span / 5: 1, 2 or 5 times a power of ten.
double gridStep(double span) {
    double raw = std::max(span / 5, 1e-6);
    double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0})
        if (factor * power >= raw)
            return factor * power;
    return 10 * power;
}

}  // namespace

SceneWidget::SceneWidget(const ModuleSession* session, QWidget* parent)
    : QWidget(parent), session_(session) {
    setMinimumSize(320, 240);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    view_.setSize(width(), height(), pictureMargin(std::min(width(), height())));
}

void SceneWidget::resizeEvent(QResizeEvent* event) {
    view_.setSize(width(), height(), pictureMargin(std::min(width(), height())));
    QWidget::resizeEvent(event);
}

void SceneWidget::setView(View view) {
    view_.setCamera(cameraFor(view));
    fitScene();
}

SceneBox SceneWidget::motionBox() const {
    SceneBox box;
    for (const standin::SceneObject& object : standin::scene().objects) {
        if (session_->deleted(object.handle))
            continue;
        SceneBox drawn;
        for (const PiPoint& p : object.points)
            drawn.add(p);
        if (drawn.empty)
            continue;
        if (object.hasPosition)
            for (PiPoint* corner : {&drawn.min, &drawn.max})
                *corner = {corner->x + object.position.x, corner->y + object.position.y,
                           corner->z + object.position.z};
        // A figure's drawing moves with its root: the box drawn now is carried along the root's
        // travel over every frame of its motion (the rest pose, drawn about the origin, is not
        // where the motion goes).
        // What is drawn now is always in view.
        box.add(drawn.min);
        box.add(drawn.max);
        const FigureData* figure = session_->figure(object.handle);
        if (figure == nullptr || figure->motion == nullptr || figure->motion->frameCount < 2)
            continue;
        const int frame = frameOf_ ? frameOf_(object.handle) : 0;
        const PiPoint now = rootPosition(*figure, frame, frame > 0);
        const int frames = static_cast<int>(figure->motion->frameCount);
        for (int f = 1; f < frames; ++f) {
            PiPoint root = rootPosition(*figure, f, true);
            PiPoint shift{root.x - now.x, root.y - now.y, root.z - now.z};
            box.add({drawn.min.x + shift.x, drawn.min.y + shift.y, drawn.min.z + shift.z});
            box.add({drawn.max.x + shift.x, drawn.max.y + shift.y, drawn.max.z + shift.z});
        }
    }
    return box;
}

PiPoint SceneWidget::followedRoot() const {
    const FigureData* figure = selected_ >= 0 ? session_->figure(selected_) : nullptr;
    if (figure == nullptr)
        return PiPoint{};
    const int frame = frameOf_ ? frameOf_(selected_) : 0;
    return rootPosition(*figure, frame, frame > 0);
}

void SceneWidget::fitScene() {
    view_.fit(motionBox(), followedRoot());
    update();
}

void SceneWidget::setSelected(int handle) {
    if (handle == selected_)
        return;
    selected_ = handle;
    view_.followFrom(followedRoot());
    update();
}

void SceneWidget::setPlaying(bool on) {
    playing_ = on;
    update();
}

void SceneWidget::setGrid(bool on) {
    grid_ = on;
    update();
}
void SceneWidget::setAxes(bool on) {
    axes_ = on;
    update();
}
void SceneWidget::setPerspective(bool on) {
    view_.setPerspective(on);
    update();
}
void SceneWidget::setFollow(bool on) {
    view_.setFollow(on);
    view_.followFrom(followedRoot());
    update();
}

bool SceneWidget::project(const PiPoint& p, const PiPoint& root, double pixelsPerUnit,
                          QPointF* pixel) const {
    ViewPixel at;
    if (!view_.project(p, root, pixelsPerUnit, &at))
        return false;
    *pixel = QPointF(at.x, at.y);
    return true;
}

std::vector<ViewItem> SceneWidget::sceneItems() const {
    // Each point is placed and turned as the camera sees the scene (appendSceneItems), then taken
    // into the widget's pixels.
    std::vector<ViewItem> items;
    for (const standin::SceneObject& object : standin::scene().objects) {
        if (session_->deleted(object.handle))
            continue;
        size_t first = items.size();
        appendSceneItems(object, view_.camera(), &items);
        for (size_t i = first; i < items.size(); ++i)
            items[i].object = object.handle;
    }
    return view_.toPixels(std::move(items), followedRoot());
}

int SceneWidget::objectAt(QPointF pixel) const {
    return pickAt(sceneItems(), ViewPixel{pixel.x(), pixel.y()});
}

void SceneWidget::paintGrid(QPainter* painter) const {
    const SceneBox& box = view_.fitBox();
    const double span = std::max(box.max.x - box.min.x, box.max.z - box.min.z);
    const double step = gridStep(std::max(span, 2 * view_.radius() / 3));
    const double pad = step;
    const double x0 = std::floor((box.min.x - pad) / step) * step,
                 x1 = std::ceil((box.max.x + pad) / step) * step;
    const double z0 = std::floor((box.min.z - pad) / step) * step,
                 z1 = std::ceil((box.max.z + pad) / step) * step;
    const float floor = box.min.y;
    const double scale = view_.pixelsPerUnit();
    const PiPoint root = followedRoot();
    // Each line in short pieces, so that perspective can leave out what lies behind the eye.
    auto line = [&](PiPoint a, PiPoint b, const QColor& colour) {
        painter->setPen(QPen(colour, 1));
        constexpr int kPieces = 8;
        for (int i = 0; i < kPieces; ++i) {
            auto at = [&](int k) {
                double t = static_cast<double>(k) / kPieces;
                return PiPoint{static_cast<float>(a.x + (b.x - a.x) * t), floor,
                               static_cast<float>(a.z + (b.z - a.z) * t)};
            };
            QPointF from, to;
            if (project(at(i), root, scale, &from) && project(at(i + 1), root, scale, &to))
                painter->drawLine(from, to);
        }
    };
    const int limit = 400;  // lines each way, whatever the extent
    int count = 0;
    for (double x = x0; x <= x1 + step / 2 && count < limit; x += step, ++count)
        line({static_cast<float>(x), floor, static_cast<float>(z0)},
             {static_cast<float>(x), floor, static_cast<float>(z1)},
             std::fabs(x) < step / 2 ? kGridAxisColour : kGridColour);
    count = 0;
    for (double z = z0; z <= z1 + step / 2 && count < limit; z += step, ++count)
        line({static_cast<float>(x0), floor, static_cast<float>(z)},
             {static_cast<float>(x1), floor, static_cast<float>(z)},
             std::fabs(z) < step / 2 ? kGridAxisColour : kGridColour);
}

void SceneWidget::paintAxes(QPainter* painter) const {
    // In the lower left corner: X red, Y green, Z dark blue-grey (kept out of the figures' blue).
    const QPointF origin(34, height() - 34);
    const double length = 24;
    const std::pair<PiPoint, QColor> axes[] = {{{1, 0, 0}, QColor(200, 40, 40)},
                                               {{0, 1, 0}, QColor(40, 150, 40)},
                                               {{0, 0, 1}, QColor(60, 70, 110)}};
    const char* names[] = {"X", "Y", "Z"};
    painter->setFont(QFont(painter->font().family(), 8));
    for (int i = 0; i < 3; ++i) {
        ViewPoint v = toCamera(view_.camera(), axes[i].first);
        QPointF tip = origin + QPointF(v.x * length, -v.y * length);
        painter->setPen(QPen(axes[i].second, 2, Qt::SolidLine, Qt::RoundCap));
        painter->drawLine(origin, tip);
        painter->drawText(
            origin + QPointF(v.x * (length + 8), -v.y * (length + 8)) + QPointF(-3, 4),
            QString::fromLatin1(names[i]));
    }
}

void SceneWidget::paintEvent(QPaintEvent*) {
    if (!view_.fitted())
        fitScene();
    std::vector<ViewItem> items = sceneItems();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillRect(rect(), kBackground);
    if (items.empty())
        return;
    if (grid_)
        paintGrid(&painter);

    // Colours by each object's place among those still in the scene, so that an object made
    // again in the place of another (Undo, Redo) keeps the colour it had.
    std::vector<int> handles;
    for (const standin::SceneObject& object : standin::scene().objects)
        if (!session_->deleted(object.handle))
            handles.push_back(object.handle);
    auto colourOf = [&](int handle) {
        size_t place = std::find(handles.begin(), handles.end(), handle) - handles.begin();
        QColor colour = kObjectColours[place % (sizeof kObjectColours / sizeof kObjectColours[0])];
        return handle == selected_ || selected_ < 0 ? colour : mixed(colour, kBackground, kPale);
    };
    const double lineWidth = std::max(1.0, std::min(width(), height()) / 400.0);
    for (const ViewItem& item : items) {
        QPointF points[3];
        for (int k = 0; k < item.kind; ++k)
            points[k] = QPointF(item.points[k].x, item.points[k].y);
        const QColor colour = colourOf(item.object);
        const double width = item.object == selected_ ? 2 * lineWidth : lineWidth;
        switch (item.kind) {
            case 1:
                painter.setPen(Qt::NoPen);
                painter.setBrush(colour.darker(130));
                painter.drawEllipse(points[0], width * 1.5, width * 1.5);
                break;
            case 2:
                painter.setPen(
                    QPen(colour.darker(130), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                painter.drawLine(points[0], points[1]);
                break;
            case 3: {
                // Still, the outline in the face's own colour closes the hairline seams that
                // antialiasing leaves between neighbouring faces.
                QColor face = lit(colour, item.facing);
                if (item.object != selected_ && selected_ >= 0)
                    face = mixed(lit(colourOf(item.object), item.facing), kBackground, 0.2);
                painter.setBrush(face);
                if (playing_ || dragging_) {
                    // Filled without antialiasing, neighbouring faces meet without seams.
                    painter.setPen(Qt::NoPen);
                    painter.setRenderHint(QPainter::Antialiasing, false);
                    painter.drawPolygon(points, 3);
                    painter.setRenderHint(QPainter::Antialiasing, true);
                } else {
                    painter.setPen(QPen(face, 0.75));
                    painter.drawPolygon(points, 3);
                }
                break;
            }
            default:
                break;
        }
    }
    if (axes_)
        paintAxes(&painter);
}

void SceneWidget::mousePressEvent(QMouseEvent* event) {
    lastMouse_ = pressedAt_ = event->position().toPoint();
}

void SceneWidget::orbitAboutSelected() {
    const standin::SceneObject* object = standin::object(selected_);
    if (object == nullptr || session_->deleted(selected_) || view_.fitBox().empty)
        return;
    SceneBox drawn;
    for (const PiPoint& p : object->points)
        drawn.add(p);
    if (drawn.empty)
        return;
    PiPoint middle{(drawn.min.x + drawn.max.x) / 2, (drawn.min.y + drawn.max.y) / 2,
                   (drawn.min.z + drawn.max.z) / 2};
    if (object->hasPosition)
        middle = {middle.x + object->position.x, middle.y + object->position.y,
                  middle.z + object->position.z};
    // The figure's middle becomes the centre the camera turns about, moved so that nothing
    // jumps: it stays where it is shown now.
    view_.orbitAbout(middle, followedRoot());
}

void SceneWidget::mouseMoveEvent(QMouseEvent* event) {
    QPoint now = event->position().toPoint();
    QPoint moved = now - lastMouse_;
    lastMouse_ = now;
    // A turn begins about the selected object; a click changes nothing of the view.
    if (!dragging_ && (event->buttons() & Qt::LeftButton))
        orbitAboutSelected();
    dragging_ = (event->buttons() & (Qt::LeftButton | Qt::RightButton | Qt::MiddleButton)) != 0;
    if (event->buttons() & Qt::LeftButton) {
        view_.turn(moved.x(), moved.y());
    } else if (event->buttons() & (Qt::RightButton | Qt::MiddleButton)) {
        view_.move(moved.x(), moved.y());
    } else {
        return;
    }
    update();
}

void SceneWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (dragging_ && event->buttons() == Qt::NoButton) {
        dragging_ = false;
        update();  // smooth again
    }
    QPoint at = event->position().toPoint();
    if (event->button() != Qt::LeftButton || (at - pressedAt_).manhattanLength() > kClickSlack)
        return;
    int handle = objectAt(event->position());
    if (handle >= 0 && picked_)
        picked_(handle);
}

void SceneWidget::wheelEvent(QWheelEvent* event) {
    double notches = event->angleDelta().y() / 120.0;
    view_.zoom(notches);
    update();
}

}  // namespace fighost
