// Pictures of a scene object's geometry, drawn with Qt: PNG through QImage, SVG through
// QSvgGenerator, both painted by the same code. Lines are strokes, triangles are filled and
// shaded by how squarely they face the viewer, far items first.
#pragma once

#include <string>
#include <vector>

#include "host/app/core/scene_view.h"

class QPainter;

namespace fighost {

enum class PictureFormat { kPng, kSvg };

struct PictureRequest {
    std::string path;
    PictureFormat format = PictureFormat::kPng;
    int size = 800;        // width and height in pixels
    ViewBounds fitBounds;  // the extent the picture is fitted to
    std::string title;     // SVG title
};

// Paints items into the picture and writes it whole (see writeWholeFile: a failed write leaves no
// half-written picture behind). False with one line for the user when the file cannot be written.
bool writePicture(const std::vector<ViewItem>& items, const PictureRequest& request,
                  std::string* error);

// Paints items over a background of width × height pixels, placed by fit: lines as strokes,
// triangles filled and shaded, in the order given (far first).
void paintItems(QPainter* painter, const std::vector<ViewItem>& items, const PictureFit& fit,
                int width, int height);

// The margin left on each side of the figure, in pixels, for a picture of that size.
double pictureMargin(int size);

}  // namespace fighost
