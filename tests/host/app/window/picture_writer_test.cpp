// The picture writer, on geometry put into the stand-in scene through the host library, read
// back with Qt.
#include "host/app/window/picture_writer.h"

#include <gtest/gtest.h>

#include <QtGui/QImage>

#include "support/temp_dir.h"

namespace {

using fighost::PictureFormat;
using fighost::PictureRequest;
using fighost::View;

const QRgb kWhite = qRgb(255, 255, 255);

// Paints the object seen from the front into a square PNG of size pixels and reads it back.
QImage paintFront(int handle, int size, const testing_support::TempDir& folder) {
    auto items = fighost::viewItems(*standin::object(handle), View::kFront);
    PictureRequest request;
    request.path = folder.path("picture.png");
    request.size = size;
    request.fitBounds = fighost::boundsOf(items);
    std::string error;
    EXPECT_TRUE(fighost::writePicture(items, request, &error)) << error;
    return QImage(QString::fromStdString(request.path));
}

TEST(PictureWriterTest, LineIsStrokedBetweenTheMargins) {
    standin::resetScene();
    int handle = piCreateObject("stick", host::kFigureObjectType);
    PiPoint line[2] = {{0, 0, 0}, {0, 10, 0}};
    piPutGeometry(handle, host::kGeometryLine, line);
    testing_support::TempDir folder;
    QImage image = paintFront(handle, 100, folder);
    ASSERT_EQ(image.size(), QSize(100, 100));
    // The margin is 5 pixels: the line runs down the middle from y 5 to y 95.
    EXPECT_NE(image.pixel(50, 6), kWhite);
    EXPECT_NE(image.pixel(50, 50), kWhite);
    EXPECT_NE(image.pixel(50, 94), kWhite);
    EXPECT_EQ(image.pixel(50, 1), kWhite);
    EXPECT_EQ(image.pixel(50, 98), kWhite);
    EXPECT_EQ(image.pixel(40, 50), kWhite);
    EXPECT_EQ(image.pixel(60, 50), kWhite);
}

TEST(PictureWriterTest, NearTriangleIsPaintedOverTheFarOne) {
    standin::resetScene();
    int handle = piCreateObject("faces", host::kFigureObjectType);
    // The near face comes first in the object; painted in that order it would be hidden. It is
    // tipped away from the light, so the two faces differ in shade.
    PiPoint nearFace[3] = {{-10, -10, 5}, {10, -10, 8}, {0, 10, 5}};
    PiPoint farFace[3] = {{-10, -10, -5}, {10, -10, -5}, {0, 10, -5}};
    piPutGeometry(handle, host::kGeometryTriangle, nearFace);
    testing_support::TempDir folder;
    QRgb nearOnly = paintFront(handle, 100, folder).pixel(50, 55);
    piPutGeometry(handle, host::kGeometryTriangle, farFace);
    QImage both = paintFront(handle, 100, folder);
    EXPECT_NE(nearOnly, kWhite);
    EXPECT_EQ(both.pixel(50, 55), nearOnly);
    // A face turned to the light is lighter than one turned partly away.
    standin::resetScene();
    handle = piCreateObject("far", host::kFigureObjectType);
    piPutGeometry(handle, host::kGeometryTriangle, farFace);
    QRgb farOnly = paintFront(handle, 100, folder).pixel(50, 55);
    EXPECT_NE(farOnly, nearOnly);
}

TEST(PictureWriterTest, EmptyObjectGivesABlankPicture) {
    standin::resetScene();
    int handle = piCreateObject("nothing", host::kFigureObjectType);
    testing_support::TempDir folder;
    QImage image = paintFront(handle, 32, folder);
    ASSERT_EQ(image.size(), QSize(32, 32));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(image.pixel(x, y), kWhite);
}

TEST(PictureWriterTest, SvgHoldsTheTitleAndTheStrokes) {
    standin::resetScene();
    int handle = piCreateObject("stick", host::kFigureObjectType);
    PiPoint line[2] = {{0, 0, 0}, {3, 4, 0}};
    piPutGeometry(handle, host::kGeometryLine, line);
    auto items = fighost::viewItems(*standin::object(handle), View::kFront);
    testing_support::TempDir folder;
    PictureRequest request;
    request.path = folder.path("stick.svg");
    request.format = PictureFormat::kSvg;
    request.size = 200;
    request.fitBounds = fighost::boundsOf(items);
    request.title = "stick";
    std::string error;
    ASSERT_TRUE(fighost::writePicture(items, request, &error)) << error;
    std::string svg = testing_support::readFile(request.path);
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("<title>stick</title>"), std::string::npos);
    EXPECT_NE(svg.find("viewBox=\"0 0 200 200\""), std::string::npos);
    EXPECT_NE(svg.find("<polyline"), std::string::npos) << svg;
}

TEST(PictureWriterTest, UnwritablePathIsReported) {
    standin::resetScene();
    testing_support::TempDir folder;
    for (PictureFormat format : {PictureFormat::kPng, PictureFormat::kSvg}) {
        PictureRequest request;
        request.path = folder.path("none/picture");
        request.format = format;
        std::string error;
        EXPECT_FALSE(fighost::writePicture({}, request, &error));
        EXPECT_EQ(error, "cannot write " + request.path);
    }
}

}  // namespace
