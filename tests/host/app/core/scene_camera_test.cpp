// The window's camera as plain input to output: a fit, where points land orthographic and in
// perspective, turning, moving, zooming, following, turning about a figure, and picking.
#include "host/app/core/scene_camera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using fighost::SceneBox;
using fighost::SceneCamera;
using fighost::ViewItem;
using fighost::ViewPixel;

constexpr PiPoint kStill{0, 0, 0};  // the followed root, where it stood at the fit

// A camera on a 200 × 100 view with margins of 10, fitted to the cube from -1 to 1.
SceneCamera fittedCube(bool perspective) {
    SceneCamera camera;
    camera.setSize(200, 100, 10);
    camera.setPerspective(perspective);
    SceneBox box;
    box.add({-1, -1, -1});
    box.add({1, 1, 1});
    camera.fit(box, kStill);
    return camera;
}

ViewPixel at(const SceneCamera& camera, PiPoint p, PiPoint root = kStill) {
    ViewPixel pixel{-1, -1};
    EXPECT_TRUE(camera.project(p, root, camera.pixelsPerUnit(), &pixel));
    return pixel;
}

TEST(SceneCameraTest, AFitFillsTheViewLessItsMargins) {
    SceneCamera camera = fittedCube(false);
    ASSERT_TRUE(camera.fitted());
    // The cube's height, 2 units, fills the 80 pixels between the margins.
    EXPECT_DOUBLE_EQ(camera.pixelsPerUnit(), 40);
    EXPECT_DOUBLE_EQ(camera.radius(), std::sqrt(3.0));
    struct Case {
        PiPoint point;
        double x, y;
    };
    const Case cases[] = {{{0, 0, 0}, 100, 50},
                          {{1, 0, 0}, 140, 50},
                          {{0, 1, 0}, 100, 10},
                          {{-1, -1, 0}, 60, 90},
                          {{0, 0, 1}, 100, 50}};
    for (const Case& c : cases) {
        ViewPixel pixel = at(camera, c.point);
        EXPECT_NEAR(pixel.x, c.x, 1e-9) << c.point.x << " " << c.point.y << " " << c.point.z;
        EXPECT_NEAR(pixel.y, c.y, 1e-9) << c.point.x << " " << c.point.y << " " << c.point.z;
    }
    // Nothing to fit: unfitted, at a scale of the view's half less its margin over 5 units.
    SceneCamera empty;
    empty.setSize(200, 100, 10);
    empty.fit(SceneBox(), kStill);
    EXPECT_FALSE(empty.fitted());
    EXPECT_DOUBLE_EQ(empty.pixelsPerUnit(), 8);
    // A box that is not finite keeps only its finite points.
    SceneBox box;
    box.add({NAN, 0, 0});
    box.add({0, INFINITY, 0});
    EXPECT_TRUE(box.empty);
}

TEST(SceneCameraTest, PerspectiveEnlargesWhatIsNearAndDropsWhatIsBehindTheEye) {
    SceneCamera camera = fittedCube(true);
    const double near = at(camera, {1, 0, 1}).x - 100, far = at(camera, {1, 0, -1}).x - 100;
    EXPECT_GT(near, far);
    EXPECT_GT(far, 0);
    // The nearest side of the cube still fits between the margins.
    EXPECT_LE(at(camera, {1, 1, 1}).y, 50.0);
    EXPECT_GE(at(camera, {1, 1, 1}).y, 10.0 - 1e-9);
    const double eye = 4 * camera.radius();
    ViewPixel pixel;
    EXPECT_FALSE(camera.project({0, 0, static_cast<float>(eye)}, kStill, 1, &pixel));
    // Items reaching behind the eye are left out, the others come far first.
    std::vector<ViewItem> items(3);
    items[0].kind = 1;
    items[0].points[0] = {0, 0, 1};
    items[0].object = 1;
    items[1].kind = 2;
    items[1].points[0] = {0, 0, -1};
    items[1].points[1] = {0, 0, eye};
    items[1].object = 2;
    items[2].kind = 1;
    items[2].points[0] = {0, 0, -1};
    items[2].object = 3;
    std::vector<ViewItem> shown = camera.toPixels(items, kStill);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].object, 3);
    EXPECT_EQ(shown[1].object, 1);
    EXPECT_DOUBLE_EQ(shown[1].points[0].x, 100);
    EXPECT_DOUBLE_EQ(shown[1].points[0].z, 1);
}

TEST(SceneCameraTest, TheMouseTurnsMovesAndZooms) {
    SceneCamera camera = fittedCube(false);
    camera.turn(10, 4);
    EXPECT_DOUBLE_EQ(camera.camera().yaw, -5);
    EXPECT_DOUBLE_EQ(camera.camera().pitch, 2);
    camera.turn(0, 1000);
    EXPECT_DOUBLE_EQ(camera.camera().pitch, 90);
    camera.turn(-1000, -1000);
    EXPECT_DOUBLE_EQ(camera.camera().pitch, -90);
    EXPECT_GT(camera.camera().yaw, -360);
    EXPECT_LT(camera.camera().yaw, 360);

    camera = fittedCube(false);
    camera.move(5, -3);
    ViewPixel centre = at(camera, {0, 0, 0});
    EXPECT_DOUBLE_EQ(centre.x, 105);
    EXPECT_DOUBLE_EQ(centre.y, 47);
    struct Case {
        double notches, scale;
    };
    const Case cases[] = {{1, 40 * 1.15}, {-2, 40 / 1.15}, {1000, 40 * 200.0}, {-2000, 40 * 0.02}};
    for (const Case& c : cases) {
        camera.zoom(c.notches);
        EXPECT_NEAR(camera.pixelsPerUnit(), c.scale, 1e-9) << c.notches;
    }
    // A fit starts the zoom and the move again.
    SceneBox box = camera.fitBox();
    camera.fit(box, kStill);
    EXPECT_DOUBLE_EQ(camera.pixelsPerUnit(), 40);
    EXPECT_DOUBLE_EQ(at(camera, {0, 0, 0}).x, 100);
}

TEST(SceneCameraTest, FollowingKeepsTheRootWhereItWasAtTheFit) {
    SceneCamera camera = fittedCube(false);
    const PiPoint walked{1, 0, 0};  // the root has gone one unit along X
    EXPECT_DOUBLE_EQ(at(camera, {1, 0, 0}, walked).x, 140);
    camera.setFollow(true);
    EXPECT_DOUBLE_EQ(at(camera, {1, 0, 0}, walked).x, 100);
    camera.followFrom(walked);
    EXPECT_DOUBLE_EQ(at(camera, {1, 0, 0}, walked).x, 140);
}

TEST(SceneCameraTest, TurningAboutAFigureLeavesItWhereItIsShown) {
    SceneCamera camera = fittedCube(true);
    const PiPoint middle{0.5f, -0.25f, 0.75f};
    const ViewPixel before = at(camera, middle);
    camera.orbitAbout(middle, kStill);
    const ViewPixel after = at(camera, middle);
    EXPECT_NEAR(after.x, before.x, 1e-4);
    EXPECT_NEAR(after.y, before.y, 1e-4);
    // From then on the camera turns about it: turned, it stays put.
    camera.turn(40, 10);
    const ViewPixel turned = at(camera, middle);
    EXPECT_NEAR(turned.x, before.x, 1e-4);
    EXPECT_NEAR(turned.y, before.y, 1e-4);
}

TEST(SceneCameraTest, APixelPicksTheNearestItemDrawnThere) {
    std::vector<ViewItem> items(3);  // far first
    items[0].kind = 3;
    items[0].points[0] = {0, 0, 0};
    items[0].points[1] = {100, 0, 0};
    items[0].points[2] = {0, 100, 0};
    items[0].object = 7;
    items[1].kind = 2;
    items[1].points[0] = {0, 50, 0};
    items[1].points[1] = {200, 50, 0};
    items[1].object = 8;
    items[2].kind = 1;
    items[2].points[0] = {150, 150, 0};
    items[2].object = 9;
    struct Case {
        ViewPixel pixel;
        int object;
    };
    const Case cases[] = {
        {{10, 10}, 7},   {{10, 52}, 8},   {{190, 55}, 8},   {{190, 56}, -1}, {{205, 50}, 8},
        {{206, 50}, -1}, {{153, 154}, 9}, {{155, 155}, -1}, {{60, 60}, -1},  {{-1, 10}, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fighost::pickAt(items, c.pixel), c.object) << c.pixel.x << ", " << c.pixel.y;
    EXPECT_EQ(fighost::pickAt({}, ViewPixel{0, 0}), -1);
}

}  // namespace
