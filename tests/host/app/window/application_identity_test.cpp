// What the desktop knows fighost's window by: the desktop entry's name and the stick-figure icon,
// checked against the desktop entry that is installed.
#include "host/app/window/application_identity.h"

#include <gtest/gtest.h>

#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtWidgets/QMainWindow>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// The value of KEY= in the installed desktop entry.
std::string desktopEntry(const std::string& key) {
    std::ifstream file(FIGHOST_DESKTOP_DIR "/fighost.desktop");
    std::string line;
    while (std::getline(file, line))
        if (line.rfind(key + "=", 0) == 0)
            return line.substr(key.size() + 1);
    return "";
}

TEST(ApplicationIdentityTest, TheWindowIsKnownByItsDesktopEntry) {
    fighost::identifyApplication();
    // Task bars match the running window to fighost.desktop by this name.
    EXPECT_EQ(QGuiApplication::desktopFileName().toStdString() + ".desktop", "fighost.desktop");
    EXPECT_EQ(desktopEntry("Icon"), fighost::kDesktopEntryName);
    QMainWindow window;
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(window.windowIcon().cacheKey(), QGuiApplication::windowIcon().cacheKey());
}

TEST(ApplicationIdentityTest, TheIconIsTheStickFigureAtEverySize) {
    const QIcon icon = fighost::figureIcon();
    ASSERT_FALSE(icon.isNull());
    // The picture is drawn on a 32 by 32 grid: the red head about (16, 4.6), the dark body down
    // the middle (a line thinner than a pixel at 16 pixels, so looked at from 32 on), a clear
    // corner. The same places at every size a desktop asks for.
    struct Place {
        double x, y;
        QColor colour;
    };
    const Place places[] = {{16, 4.6, QColor(0xe0, 0x1b, 0x24)},
                            {16, 14, QColor(0x1a, 0x1a, 0x1a)},
                            {1, 1, QColor(0, 0, 0, 0)}};
    for (int size : {16, 32, 48, 64, 256}) {
        SCOPED_TRACE(size);
        QImage image = icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.width(), size);
        for (const Place& place : places) {
            if (size < 32 && &place == &places[1])
                continue;
            QColor seen = image.pixelColor(int(place.x * size / 32), int(place.y * size / 32));
            EXPECT_NEAR(seen.alpha(), place.colour.alpha(), 60) << place.x << "," << place.y;
            if (place.colour.alpha() != 0) {
                EXPECT_NEAR(seen.red(), place.colour.red(), 40) << place.x << "," << place.y;
                EXPECT_NEAR(seen.green(), place.colour.green(), 40) << place.x << "," << place.y;
                EXPECT_NEAR(seen.blue(), place.colour.blue(), 40) << place.x << "," << place.y;
            }
        }
    }
}

}  // namespace
