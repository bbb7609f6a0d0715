// Painting a scene object's geometry into PNG and SVG pictures.
#include "host/app/window/picture_writer.h"

#include <QtCore/QBuffer>
#include <QtCore/QByteArray>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <QtSvg/QSvgGenerator>
#include <algorithm>

#include "host/app/core/file_output.h"

namespace fighost {
namespace {

const QColor kBackground(255, 255, 255);
const QColor kLineColour(32, 44, 64);
// Triangles: the colour of a face turned fully to the viewer, and the share of it that a face
// seen edge-on keeps, so that no face goes black.
const QColor kSurface(70, 130, 180);
constexpr double kAmbient = 0.35;

QColor shaded(double facing) {
    double light = kAmbient + (1.0 - kAmbient) * std::clamp(facing, 0.0, 1.0);
    return QColor::fromRgbF(static_cast<float>(kSurface.redF() * light),
                            static_cast<float>(kSurface.greenF() * light),
                            static_cast<float>(kSurface.blueF() * light));
}

}  // namespace

void paintItems(QPainter* painter, const std::vector<ViewItem>& items, const PictureFit& fit,
                int width, int height) {
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->fillRect(QRectF(0, 0, width, height), kBackground);
    double lineWidth = std::max(1.0, std::min(width, height) / 400.0);
    QPen linePen(kLineColour, lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    for (const ViewItem& item : items) {
        QPointF points[3];
        for (int k = 0; k < item.kind; ++k)
            points[k] = QPointF(fit.px(item.points[k]), fit.py(item.points[k]));
        switch (item.kind) {
            case 1:
                painter->setPen(Qt::NoPen);
                painter->setBrush(kLineColour);
                painter->drawEllipse(points[0], lineWidth * 1.5, lineWidth * 1.5);
                break;
            case 2:
                painter->setPen(linePen);
                painter->drawLine(points[0], points[1]);
                break;
            case 3: {
                // The outline in the face's own colour closes the hairline seams that
                // antialiasing leaves between neighbouring faces.
                QColor colour = shaded(item.facing);
                painter->setPen(QPen(colour, 0.75));
                painter->setBrush(colour);
                painter->drawPolygon(points, 3);
                break;
            }
            default:
                break;
        }
    }
}

double pictureMargin(int size) {
    return std::max(4.0, size * 0.05);
}

bool writePicture(const std::vector<ViewItem>& items, const PictureRequest& request,
                  std::string* error) {
    PictureFit fit =
        fitPicture(request.fitBounds, request.size, request.size, pictureMargin(request.size));
    // The picture is made in memory first, so that only whole pictures reach the file.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (request.format == PictureFormat::kPng) {
        QImage image(request.size, request.size, QImage::Format_ARGB32_Premultiplied);
        if (image.isNull()) {
            *error = "cannot make a picture of " + std::to_string(request.size) + " pixels";
            return false;
        }
        {
            QPainter painter(&image);
            paintItems(&painter, items, fit, request.size, request.size);
        }
        if (!image.save(&buffer, "PNG")) {
            *error = "cannot make the picture for " + request.path;
            return false;
        }
    } else {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        // The generator states the size in millimetres; at 96 dots an inch that is the size in
        // CSS pixels that browsers show.
        generator.setResolution(96);
        generator.setSize(QSize(request.size, request.size));
        generator.setViewBox(QRect(0, 0, request.size, request.size));
        generator.setTitle(QString::fromStdString(request.title));
        generator.setDescription(QStringLiteral("A figure drawn by fighost"));
        QPainter painter;
        if (!painter.begin(&generator)) {
            *error = "cannot make the picture for " + request.path;
            return false;
        }
        paintItems(&painter, items, fit, request.size, request.size);
        painter.end();
    }
    return writeWholeFile(request.path, std::string(bytes.constData(), bytes.size()), error);
}

}  // namespace fighost
