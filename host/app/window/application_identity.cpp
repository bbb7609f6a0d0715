// Naming the window after the desktop entry it was launched from, and giving it its icon.
#include "host/app/window/application_identity.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QPainter>
#include <QtGui/QPixmap>
#include <QtSvg/QSvgRenderer>

namespace fighost {

const char kDesktopEntryName[] = "fighost";

QIcon figureIcon() {
    // The same picture the desktop entry names, from fighost's resources.
    QSvgRenderer renderer(QStringLiteral(":/fighost/fighost.svg"));
    QIcon icon;
    if (!renderer.isValid())
        return icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void identifyApplication() {
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopEntryName));
    QGuiApplication::setWindowIcon(figureIcon());
}

}  // namespace fighost
