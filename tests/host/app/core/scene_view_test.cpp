// Views of a scene object: where each view takes the world axes, the far-to-near order, and the
// fit of a picture to the figure.
#include "host/app/core/scene_view.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using fighost::View;
using fighost::ViewPoint;

void expectPoint(const ViewPoint& p, double x, double y, double z) {
    EXPECT_NEAR(p.x, x, 1e-9);
    EXPECT_NEAR(p.y, y, 1e-9);
    EXPECT_NEAR(p.z, z, 1e-9);
}

TEST(SceneViewTest, EachViewLooksFromItsSide) {
    // Front: X right, Y up, +Z towards the eye.
    expectPoint(fighost::toCamera(fighost::cameraFor(View::kFront), {1, 2, 3}), 1, 2, 3);
    // The named views keep the scene's own numbers, not a rounding of them.
    const ViewPoint side = fighost::toCamera(fighost::cameraFor(View::kSide), {1, 2, 3});
    EXPECT_EQ(side.x, -3);
    EXPECT_EQ(side.z, 1);
    // Side, from +X: -Z right, Y up, +X towards the eye.
    expectPoint(fighost::toCamera(fighost::cameraFor(View::kSide), {1, 2, 3}), -3, 2, 1);
    // Top, from +Y: X right, -Z up, +Y towards the eye.
    expectPoint(fighost::toCamera(fighost::cameraFor(View::kTop), {1, 2, 3}), 1, -3, 2);
    // Iso, from (1, 1, 1): that direction points straight at the eye and Y stays upwards.
    expectPoint(fighost::toCamera(fighost::cameraFor(View::kIso), {1, 1, 1}), 0, 0, std::sqrt(3.0));
    ViewPoint up = fighost::toCamera(fighost::cameraFor(View::kIso), {0, 1, 0});
    EXPECT_NEAR(up.x, 0, 1e-9);
    EXPECT_GT(up.y, 0);
    // Every view keeps lengths: it only turns the scene.
    for (View view : {View::kFront, View::kSide, View::kTop, View::kIso}) {
        ViewPoint p = fighost::toCamera(fighost::cameraFor(view), {3, -4, 12});
        EXPECT_NEAR(std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z), 13, 1e-9);
    }
}

TEST(SceneViewTest, ViewNamesAreKnown) {
    View view = View::kFront;
    std::string error;
    EXPECT_TRUE(fighost::parseView("iso", &view, &error));
    EXPECT_EQ(view, View::kIso);
    EXPECT_FALSE(fighost::parseView("back", &view, &error));
    EXPECT_EQ(error, "view must be front, side, top or iso, not 'back'");
}

TEST(SceneViewTest, FarItemsComeFirstAndBrokenOnesAreLeftOut) {
    standin::resetScene();
    int handle = piCreateObject("f", host::kFigureObjectType);
    PiPoint nearLine[2] = {{0, 0, 5}, {1, 0, 5}};
    PiPoint farTriangle[3] = {{0, 0, -5}, {1, 0, -5}, {0, 1, -5}};
    PiPoint brokenLine[2] = {{0, 0, 0}, {NAN, 0, 0}};
    PiPoint middlePoint[1] = {{0, 0, 0}};
    piPutGeometry(handle, host::kGeometryLine, nearLine);
    piPutGeometry(handle, host::kGeometryTriangle, farTriangle);
    piPutGeometry(handle, host::kGeometryLine, brokenLine);
    piPutGeometry(handle, host::kGeometryPoint, middlePoint);
    auto items = fighost::viewItems(*standin::object(handle), View::kFront);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].kind, 3);
    EXPECT_EQ(items[1].kind, 1);
    EXPECT_EQ(items[2].kind, 2);
    // Seen from the top, the triangle's corner at Y = 1 brings it nearest.
    items = fighost::viewItems(*standin::object(handle), View::kTop);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items.back().kind, 3);
}

TEST(SceneViewTest, FacingGrowsAsAFaceTurnsTowardsTheLight) {
    standin::resetScene();
    int handle = piCreateObject("f", host::kFigureObjectType);
    PiPoint square[3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};   // facing the eye
    PiPoint edgeOn[3] = {{0, 0, 0}, {0, 0, 1}, {0, 1, 0}};   // normal along X
    PiPoint flipped[3] = {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}};  // the first, wound the other way
    piPutGeometry(handle, host::kGeometryTriangle, square);
    piPutGeometry(handle, host::kGeometryTriangle, edgeOn);
    piPutGeometry(handle, host::kGeometryTriangle, flipped);
    auto items = fighost::viewItems(*standin::object(handle), View::kFront);
    // Far first: the edge-on face reaches towards the eye, so it comes last.
    ASSERT_EQ(items.size(), 3u);
    EXPECT_DOUBLE_EQ(items[0].facing, items[1].facing);
    EXPECT_GT(items[0].facing, items[2].facing);
    for (const auto& item : items) {
        EXPECT_GE(item.facing, 0.0);
        EXPECT_LE(item.facing, 1.0);
    }
}

TEST(SceneViewTest, PictureFitKeepsProportionsAndCentres) {
    fighost::ViewBounds bounds;
    bounds.add(ViewPoint{-1, 0, 0});
    bounds.add(ViewPoint{1, 10, 0});
    // 100 pixels less 10 a side: the height of 10 units sets the scale.
    fighost::PictureFit fit = fighost::fitPicture(bounds, 100, 100, 10);
    EXPECT_DOUBLE_EQ(fit.scale, 8);
    EXPECT_DOUBLE_EQ(fit.px(ViewPoint{0, 0, 0}), 50);
    EXPECT_DOUBLE_EQ(fit.py(ViewPoint{0, 10, 0}), 10);
    EXPECT_DOUBLE_EQ(fit.py(ViewPoint{0, 0, 0}), 90);
    EXPECT_DOUBLE_EQ(fit.px(ViewPoint{1, 0, 0}), 58);
}

TEST(SceneViewTest, PictureFitWithoutExtentShowsTenUnits) {
    fighost::ViewBounds point;
    point.add(ViewPoint{3, 4, 0});
    fighost::PictureFit fit = fighost::fitPicture(point, 120, 120, 10);
    EXPECT_DOUBLE_EQ(fit.scale, 10);
    EXPECT_DOUBLE_EQ(fit.px(ViewPoint{3, 4, 0}), 60);
    EXPECT_DOUBLE_EQ(fit.py(ViewPoint{3, 4, 0}), 60);
    // A flat figure (a horizontal line) is fitted by its width alone.
    fighost::ViewBounds flat;
    flat.add(ViewPoint{0, 1, 0});
    flat.add(ViewPoint{4, 1, 0});
    EXPECT_DOUBLE_EQ(fighost::fitPicture(flat, 120, 120, 10).scale, 25);
    EXPECT_DOUBLE_EQ(fighost::fitPicture(fighost::ViewBounds{}, 120, 120, 10).scale, 10);
}

}  // namespace

namespace {

// An associated object is drawn turned by its rotation property as the stand-in host documents
// it: about world X, then Y, then Z (Rz * Ry * Rx), then moved by its position.
TEST(SceneViewTest, ObjectTurnsAboutXThenYThenZ) {
    const double toRadians = std::atan(1.0) / 45.0;
    const struct {
        PiPoint degrees, point;
    } cases[] = {
        {{90, 90, 0}, {0, 1, 0}},      // X then Y: (0, 0, 1), then (1, 0, 0)
        {{0, 90, 90}, {1, 0, 0}},      // Y then Z: (0, 0, -1), then unchanged
        {{30, -40, 125}, {1, 2, -3}},  // a turn about all three
    };
    for (const auto& c : cases) {
        standin::resetScene();
        const int handle = piCreateObject("bone", 1);
        PiPoint line[2] = {{0, 0, 0}, c.point};
        piPutGeometry(handle, host::kGeometryLine, line);
        const PiPoint position{5, 6, 7};
        piSetObjectProperty(handle, host::kRotationProperty, piReturnBdVarPnt(&c.degrees));
        piSetObjectProperty(handle, host::kPositionProperty, piReturnBdVarPnt(&position));
        std::vector<fighost::ViewItem> items;
        fighost::appendSceneItems(*standin::object(handle), fighost::cameraFor(View::kFront),
                                  &items);
        ASSERT_EQ(items.size(), 1u);
        double v[3] = {c.point.x, c.point.y, c.point.z};
        // X, then Y, then Z, each a right-handed turn about the world axis.
        const double angles[3] = {c.degrees.x, c.degrees.y, c.degrees.z};
        for (int axis = 0; axis < 3; ++axis) {
            const double a = angles[axis] * toRadians;
            const int i = (axis + 1) % 3, j = (axis + 2) % 3;
            const double vi = std::cos(a) * v[i] - std::sin(a) * v[j];
            const double vj = std::sin(a) * v[i] + std::cos(a) * v[j];
            v[i] = vi;
            v[j] = vj;
        }
        EXPECT_NEAR(items[0].points[1].x, v[0] + 5, 1e-5);
        EXPECT_NEAR(items[0].points[1].y, v[1] + 6, 1e-5);
        EXPECT_NEAR(items[0].points[1].z, v[2] + 7, 1e-5);
    }
}

}  // namespace
