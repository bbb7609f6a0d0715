// Keeping and restoring the window's size, place, layout, folder and posing.
#include "host/app/window/window_settings.h"

#include <QtCore/QSettings>
#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QSplitter>
#include <algorithm>

#include "host/app/core/command_line.h"
#include "model/figure_data.h"

namespace fighost {
namespace {

constexpr int kLargestWidth = 1400, kLargestHeight = 900;

QSettings settings() {
    return QSettings(QStringLiteral("fighost"), QStringLiteral("fighost"));
}

}  // namespace

void fitToScreen(QMainWindow* window) {
    QScreen* screen =
        window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect room = screen->availableGeometry();
    window->resize(std::min(kLargestWidth, room.width() * 3 / 4),
                   std::min(kLargestHeight, room.height() * 3 / 4));
}

QString restoreWindow(QMainWindow* window, QSplitter* splitter) {
    QSettings kept = settings();
    if (!window->restoreGeometry(kept.value(QStringLiteral("window/geometry")).toByteArray()))
        fitToScreen(window);
    window->restoreState(kept.value(QStringLiteral("window/state")).toByteArray());
    if (splitter != nullptr)
        splitter->restoreState(kept.value(QStringLiteral("window/splitter")).toByteArray());
    return kept.value(QStringLiteral("files/folder")).toString();
}

void saveWindow(const QMainWindow* window, const QSplitter* splitter, const QString& folder) {
    QSettings kept = settings();
    kept.setValue(QStringLiteral("window/geometry"), window->saveGeometry());
    kept.setValue(QStringLiteral("window/state"), window->saveState());
    if (splitter != nullptr)
        kept.setValue(QStringLiteral("window/splitter"), splitter->saveState());
    if (!folder.isEmpty())
        kept.setValue(QStringLiteral("files/folder"), folder);
}

QStringList keptRecentFiles() {
    return settings().value(QStringLiteral("files/recent")).toStringList();
}

void keepRecentFiles(const QStringList& files) {
    settings().setValue(QStringLiteral("files/recent"), files);
}

// The posing is kept by the name --posing gives it, so that the file reads as the option does.
int keptPosing(int fallback) {
    const QString name = settings().value(QStringLiteral("figures/posing")).toString();
    int posing = fallback;
    std::string error;
    return parsePosing(name.toStdString(), &posing, &error) ? posing : fallback;
}

void keepPosing(int posing) {
    settings().setValue(QStringLiteral("figures/posing"), posing == kPosingWorldAxes
                                                              ? QStringLiteral("world")
                                                              : QStringLiteral("captured"));
}

}  // namespace fighost
