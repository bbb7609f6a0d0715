#include "drawing/figure_renderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "drawing/segment_geometry.h"
#include "drawing_scene.h"

namespace {

using drawing_test::addChildAt;
using drawing_test::isFinite;
using drawing_test::itemPoints;
using drawing_test::kTolerance;
using drawing_test::pointNear;
using drawing_test::SceneTest;
using drawing_test::TreeGuard;

const float kQuarterTurn = static_cast<float>(2.0 * std::atan(1.0));
const PiPoint kOrigin{0, 0, 0};

class FigureRendererTest : public SceneTest {
  protected:
    void redraw(Limb* root, int posed, int style = kSegmentLines, PiPoint at = kOrigin) {
        EXPECT_EQ(redrawFigure(handle, root, &at, posed, style), 1);
    }
    int sceneObject(const char* name) { return piCreateObject(name, 1); }
};

TEST_F(FigureRendererTest, RestPoseDrawsTheOffsets) {
    TreeGuard tree(newLimb());
    addChildAt(tree.root, 0, 5, 0);
    redraw(tree.root, 0, kSegmentLines, PiPoint{1, 1, 1});
    ASSERT_EQ(lines().size(), 1u);
    EXPECT_TRUE(pointNear(lines()[0][0], 1, 1, 1));
    EXPECT_TRUE(pointNear(lines()[0][1], 1, 6, 1));
}

TEST_F(FigureRendererTest, RotationIsNotPassedDown) {
    // root (rotation Z a quarter turn) -- child (1, 0, 0) -- grandchild (1, 0, 0)
    TreeGuard tree(newLimb());
    tree.root->rotation.z = kQuarterTurn;
    Limb* child = addChildAt(tree.root, 1, 0, 0);
    addChildAt(child, 1, 0, 0);
    redraw(tree.root, 1);
    ASSERT_EQ(lines().size(), 2u);
    EXPECT_TRUE(pointNear(lines()[0][1], 0, 1, 0));
    EXPECT_TRUE(pointNear(lines()[1][0], 0, 1, 0));
    EXPECT_TRUE(pointNear(lines()[1][1], 1, 1, 0));  // not (0, 2, 0)
}

TEST_F(FigureRendererTest, ChildTurnsAboutItsOwnJoint) {
    // root -- child (2, 0, 0), rotation Z a quarter turn -- grandchild (1, 0, 0)
    TreeGuard tree(newLimb());
    Limb* child = addChildAt(tree.root, 2, 0, 0);
    child->rotation.z = kQuarterTurn;
    addChildAt(child, 1, 0, 0);
    redraw(tree.root, 1);
    ASSERT_EQ(lines().size(), 2u);
    EXPECT_TRUE(pointNear(lines()[1][0], 2, 0, 0));
    EXPECT_TRUE(pointNear(lines()[1][1], 2, 1, 0));
    // In the rest pose the rotation is ignored.
    redraw(tree.root, 0);
    EXPECT_TRUE(pointNear(lines()[1][1], 3, 0, 0));
}

TEST_F(FigureRendererTest, LimbsSegmentsComeBeforeItsChildrens) {
    //        root
    //       /    \.
    //   a (1,0,0)  b (0,1,0)
    //     |          |
    //   a1 (1,0,0)  b1 (0,1,0)
    TreeGuard tree(newLimb());
    Limb* a = addChildAt(tree.root, 1, 0, 0);
    Limb* b = addChildAt(tree.root, 0, 1, 0);
    addChildAt(a, 1, 0, 0);
    addChildAt(b, 0, 1, 0);
    redraw(tree.root, 0);
    ASSERT_EQ(lines().size(), 4u);
    EXPECT_TRUE(pointNear(lines()[0][1], 1, 0, 0));
    EXPECT_TRUE(pointNear(lines()[1][1], 0, 1, 0));
    EXPECT_TRUE(pointNear(lines()[2][1], 2, 0, 0));
    EXPECT_TRUE(pointNear(lines()[3][1], 0, 2, 0));
}

TEST_F(FigureRendererTest, DeletedLimbHidesItsSubtree) {
    // root -- gone (deleted) -- below;  root -- kept
    TreeGuard tree(newLimb());
    Limb* gone = addChildAt(tree.root, 1, 0, 0);
    addChildAt(gone, 1, 0, 0);
    addChildAt(tree.root, 0, 0, 3);
    gone->deleted = 1;
    for (int posed = 0; posed <= 1; ++posed) {
        redraw(tree.root, posed);
        ASSERT_EQ(lines().size(), 1u);
        EXPECT_TRUE(pointNear(lines()[0][1], 0, 0, 3));
    }
}

TEST_F(FigureRendererTest, EmptyChildSlotIsSkipped) {
    TreeGuard tree(newLimb());
    Limb* a = addChildAt(tree.root, 1, 0, 0);
    addChildAt(tree.root, 0, 1, 0);
    tree.root->children[0] = nullptr;
    redraw(tree.root, 1);
    tree.root->children[0] = a;
    ASSERT_EQ(lines().size(), 1u);
    EXPECT_TRUE(pointNear(lines()[0][1], 0, 1, 0));
}

TEST_F(FigureRendererTest, NoRootOnlyClearsAndRedraws) {
    TreeGuard tree(newLimb());
    addChildAt(tree.root, 0, 5, 0);
    redraw(tree.root, 0);
    redraw(nullptr, 0);
    EXPECT_TRUE(target().geometry.empty());
    EXPECT_EQ(target().deleteGeometryCount, 1);
    EXPECT_EQ(standin::scene().sceneProperty1001History, (std::vector<int>{1, 0, 1, 0}));
    EXPECT_EQ(standin::scene().redrawCount, 2);
    // Nothing was drawn, so the next redraw has nothing to delete.
    redraw(nullptr, 0);
    EXPECT_EQ(target().deleteGeometryCount, 1);
    EXPECT_TRUE(geometryCleared);
}

TEST_F(FigureRendererTest, EachRedrawReplacesTheLast) {
    TreeGuard tree(newLimb());
    addChildAt(tree.root, 0, 5, 0);
    redraw(tree.root, 0);
    EXPECT_EQ(target().deleteGeometryCount, 0);
    EXPECT_FALSE(geometryCleared);
    redraw(tree.root, 0, kSegmentCylinders);
    EXPECT_EQ(target().deleteGeometryCount, 1);
    EXPECT_EQ(target().count(host::kGeometryLine), 0u);
    EXPECT_EQ(target().count(host::kGeometryTriangle), 128u);
}

TEST_F(FigureRendererTest, SegmentsUseTheParentsRadius) {
    TreeGuard tree(newLimb());
    tree.root->radius = 1.25;
    Limb* child = addChildAt(tree.root, 0, 0, 4);
    child->radius = 9.0;  // draws nothing: it has no children
    redraw(tree.root, 0, kSegmentCylinders);
    ASSERT_EQ(target().count(host::kGeometryTriangle), 128u);
    for (const PiPoint& p : target().points)
        EXPECT_NEAR(std::hypot(p.x, p.y), 1.25, kTolerance);
}

TEST_F(FigureRendererTest, AssociatedObjectFollowsThePosedSegment) {
    const int lamp = sceneObject("Lamp");
    TreeGuard tree(newLimb());
    setMapName(tree.root, "Lamp");
    tree.root->rotation = PiPoint{0, 0, kQuarterTurn};
    addChildAt(tree.root, 2, 0, 0);
    redraw(tree.root, 1);
    EXPECT_TRUE(pointNear(lines()[0][1], 0, 2, 0));
    const standin::SceneObject& object = *standin::object(lamp);
    EXPECT_EQ(tree.root->associatedObject, lamp);
    ASSERT_TRUE(object.hasRotation && object.hasPosition);
    EXPECT_TRUE(pointNear(object.rotation, 0, 0, 90));
    EXPECT_TRUE(pointNear(object.position, 0, 1, 0));
    EXPECT_EQ(object.rebuildCount, 1);

    redraw(tree.root, 0);
    EXPECT_TRUE(pointNear(lines()[0][1], 2, 0, 0));
    EXPECT_TRUE(pointNear(standin::object(lamp)->rotation, 0, 0, 0));
    EXPECT_TRUE(pointNear(standin::object(lamp)->position, 1, 0, 0));
    EXPECT_EQ(standin::object(lamp)->rebuildCount, 2);
}

TEST_F(FigureRendererTest, LastLiveChildPlacesTheObject) {
    const int lamp = sceneObject("Lamp");
    TreeGuard tree(newLimb());
    setMapName(tree.root, "Lamp");
    addChildAt(tree.root, 2, 0, 0);
    addChildAt(tree.root, 0, 4, 0);
    addChildAt(tree.root, 0, 0, 6)->deleted = 1;
    redraw(tree.root, 0);
    EXPECT_TRUE(pointNear(standin::object(lamp)->position, 0, 2, 0));
    EXPECT_EQ(standin::object(lamp)->rebuildCount, 2);
}

TEST_F(FigureRendererTest, MissingObjectIsLookedForAgainNextTime) {
    TreeGuard tree(newLimb());
    setMapName(tree.root, "Lamp");
    addChildAt(tree.root, 2, 0, 0);
    redraw(tree.root, 0);
    EXPECT_EQ(tree.root->associatedObject, host::kNoObject);
    ASSERT_EQ(lines().size(), 1u);  // the segment is drawn all the same
    const int lamp = sceneObject("Lamp");
    redraw(tree.root, 0);
    EXPECT_EQ(tree.root->associatedObject, lamp);
    EXPECT_TRUE(pointNear(standin::object(lamp)->position, 1, 0, 0));
}

TEST_F(FigureRendererTest, PlacingNeedsAMapName) {
    TreeGuard tree(newLimb());
    const PiPoint rotation{0, 0, 0};
    EXPECT_EQ(placeAssociatedObject(tree.root, &kOrigin, &rotation), 0);
    setMapName(tree.root, "Nowhere");
    EXPECT_EQ(placeAssociatedObject(tree.root, &kOrigin, &rotation), 0);
}

TEST_F(FigureRendererTest, AnAngleNoFloatHoldsInDegreesLeavesTheObjectWhereItWas) {
    const int lamp = sceneObject("Lamp");
    TreeGuard tree(newLimb());
    setMapName(tree.root, "Lamp");
    const float big = std::numeric_limits<float>::max() / 2;  // radians; 57 times that in degrees
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const PiPoint turns[] = {{big, 0, 0}, {0, -big, 0}, {0, 0, nan}};
    const PiPoint position{1, 2, 3};
    for (const PiPoint& rotation : turns) {
        EXPECT_EQ(placeAssociatedObject(tree.root, &position, &rotation), 0);
        EXPECT_EQ(standin::object(lamp)->rebuildCount, 0);
        EXPECT_TRUE(pointNear(standin::object(lamp)->position, 0, 0, 0));
    }
    const PiPoint quarter{0, 0, static_cast<float>(std::atan(1.0) * 2)};
    EXPECT_EQ(placeAssociatedObject(tree.root, &position, &quarter), 1);
    EXPECT_TRUE(pointNear(standin::object(lamp)->rotation, 0, 0, 90));
}

TEST_F(FigureRendererTest, FailedSegmentDoesNotEndTheWalk) {
    // root -- a (0, 0, 8) -- b (0, 0, 8), b associated with a scene object
    const int lamp = sceneObject("Lamp");
    TreeGuard tree(newLimb());
    Limb* a = addChildAt(tree.root, 0, 0, 8);
    setMapName(a, "Lamp");
    addChildAt(a, 0, 0, 8);
    standin::Faults faults;
    faults.putGeometryFailsFrom = 11;
    standin::setFaults(faults);
    redraw(tree.root, 0, kSegmentCylinders);
    EXPECT_EQ(target().geometry.size(), 10u);
    EXPECT_TRUE(pointNear(standin::object(lamp)->position, 0, 0, 12));
    EXPECT_EQ(standin::scene().sceneProperty1001, 0);
    EXPECT_EQ(standin::scene().redrawCount, 1);
}

class DeepChain {
  public:
    // A chain of `levels` limbs below a root, each one unit further along Z.
    explicit DeepChain(int levels) : tree_(newLimb()) {
        Limb* limb = tree_.root;
        for (int i = 0; i < levels; ++i)
            limb = addChildAt(limb, 0, 0, 1);
    }
    Limb* root() { return tree_.root; }

  private:
    TreeGuard tree_;
};

TEST_F(FigureRendererTest, DrawingStopsAtTheDepthLimit) {
    DeepChain allowed(kMaxLimbDepth);
    redraw(allowed.root(), 0);
    EXPECT_EQ(target().geometry.size(), static_cast<size_t>(kMaxLimbDepth));

    // Far deeper than any file may nest: drawn down to the limit, the stack untouched below.
    DeepChain deep(kMaxLimbDepth * 50);
    for (int posed = 0; posed <= 1; ++posed) {
        redraw(deep.root(), posed);
        EXPECT_EQ(target().geometry.size(), static_cast<size_t>(kMaxLimbDepth));
        EXPECT_TRUE(pointNear(lines().back()[1], 0, 0, static_cast<float>(kMaxLimbDepth)));
    }
}

TEST_F(FigureRendererTest, NonFiniteOffsetSkipsOnlyItsSegments) {
    TreeGuard tree(newLimb());
    Limb* bad = addChildAt(tree.root, std::numeric_limits<float>::infinity(), 0, 0);
    addChildAt(bad, 1, 0, 0);
    addChildAt(tree.root, 0, 2, 0);
    for (int style = kSegmentLines; style <= kSegmentBalloons; ++style) {
        redraw(tree.root, 1, style);
        EXPECT_FALSE(target().geometry.empty());
        for (const PiPoint& p : target().points)
            ASSERT_TRUE(isFinite(p));
    }
    redraw(tree.root, 0);
    ASSERT_EQ(lines().size(), 1u);
    EXPECT_TRUE(pointNear(lines()[0][1], 0, 2, 0));
}

TEST_F(FigureRendererTest, NonFiniteRotationDrawsAndPlacesNothing) {
    const int lamp = sceneObject("Lamp");
    TreeGuard tree(newLimb());
    setMapName(tree.root, "Lamp");
    tree.root->rotation.x = std::numeric_limits<float>::quiet_NaN();
    addChildAt(tree.root, 1, 0, 0);
    redraw(tree.root, 1, kSegmentCylinders);
    EXPECT_TRUE(target().geometry.empty());
    EXPECT_FALSE(standin::object(lamp)->hasRotation);
    EXPECT_FALSE(standin::object(lamp)->hasPosition);
    EXPECT_EQ(standin::object(lamp)->rebuildCount, 0);
}

TEST_F(FigureRendererTest, HugeRotationNeverReachesTheHostAsInfinity) {
    const int lamp = sceneObject("Lamp");
    TreeGuard tree(newLimb());
    setMapName(tree.root, "Lamp");
    tree.root->rotation.y = std::numeric_limits<float>::max();  // overflows in degrees
    addChildAt(tree.root, 1, 0, 0);
    redraw(tree.root, 1);
    EXPECT_FALSE(standin::object(lamp)->hasRotation);
    for (const PiPoint& p : target().points)
        EXPECT_TRUE(isFinite(p));
}

}  // namespace
