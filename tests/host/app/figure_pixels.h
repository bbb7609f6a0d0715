// Counting what the figure painted in a picture of fighost's scene.
#pragma once

#include <QtGui/QColor>
#include <QtGui/QImage>

namespace fighost_test {

// The number of pixels of the figures' blue in the picture.
inline int figurePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            QColor c = image.pixelColor(x, y);
            count += c.blue() > c.red() + 50 && c.blue() > c.green() + 20;
        }
    return count;
}

}  // namespace fighost_test
