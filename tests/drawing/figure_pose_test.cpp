#include "drawing/figure_pose.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "drawing/rotation_transform.h"
#include "drawing/segment_geometry.h"
#include "drawing_scene.h"

namespace {

using drawing_test::addChildAt;
using drawing_test::isFinite;
using drawing_test::itemPoints;
using drawing_test::pointNear;
using drawing_test::SceneTest;
using drawing_test::TreeGuard;

const double kPi = 4.0 * std::atan(1.0);

float radians(double degrees) {
    return static_cast<float>(degrees * kPi / 180.0);
}

void declare(Limb* limb, uint32_t first, uint32_t count) {
    limb->firstChannel = first;
    limb->declaredChannels = count;
}

class FigurePoseTest : public SceneTest {
  protected:
    void SetUp() override {
        SceneTest::SetUp();
        motion.reset(MotionTable::create(nullptr));
        ASSERT_NE(motion, nullptr);
    }
    // Declares channels by name; channel c holds base + c at every frame up to `frames`.
    void channels(std::initializer_list<const char*> names, double base = 1.0, int frames = 1) {
        for (const char* name : names) {
            const int c = motion->declareChannel(name);
            ASSERT_GE(c, 0);
            for (int f = 0; f < frames; ++f)
                motion->setValue(c, f, base + c);
        }
    }
    int pose(Limb* root, int frame = 0, int style = kSegmentLines) {
        return poseFigure(handle, root, motion.get(), frame, style);
    }
    bool drew() const { return standin::scene().redrawCount != 0; }

    std::unique_ptr<MotionTable> motion;
};

TEST_F(FigurePoseTest, ChannelMapFollowsEachLimbsDeclaredChannels) {
    // root (0..5) -- a (none) -- b (6..8)
    //             \- c (9..11)
    TreeGuard tree(newLimb());
    declare(tree.root, 0, 6);
    Limb* a = addChild(tree.root);
    Limb* b = addChild(a);
    declare(b, 6, 3);
    Limb* c = addChild(tree.root);
    declare(c, 9, 3);
    for (int i = 0; i < 12; ++i)
        channels({"Zrotation"});
    ChannelMap map;
    buildChannelMap(tree.root, motion.get(), &map);
    for (int i = 0; i < kMaxChannels; ++i) {
        Limb* expected = i < 6 ? tree.root : i < 9 ? b : i < 12 ? c : nullptr;
        EXPECT_EQ(map.limbs[i], expected) << "channel " << i;
    }
}

TEST_F(FigurePoseTest, ChannelClaimedTwiceGoesToTheFirstLimb) {
    TreeGuard tree(newLimb());
    declare(tree.root, 0, 3);
    Limb* a = addChild(tree.root);
    declare(a, 2, 3);
    for (int i = 0; i < 5; ++i)
        channels({"Zrotation"});
    ChannelMap map;
    buildChannelMap(tree.root, motion.get(), &map);
    EXPECT_EQ(map.limbs[2], tree.root);
    EXPECT_EQ(map.limbs[3], a);
}

TEST_F(FigurePoseTest, ChannelsBeyondTheTableAreNotMapped) {
    TreeGuard tree(newLimb());
    declare(tree.root, kMaxChannels - 6, 0xFFFFFFFFu);
    for (int i = 0; i < kMaxChannels - 4; ++i)
        channels({"Zrotation"});
    ChannelMap map;
    buildChannelMap(tree.root, motion.get(), &map);
    EXPECT_EQ(map.limbs[kMaxChannels - 7], nullptr);
    EXPECT_EQ(map.limbs[kMaxChannels - 5], tree.root);
    EXPECT_EQ(map.limbs[kMaxChannels - 4], nullptr) << "beyond the channels the table holds";
}

TEST_F(FigurePoseTest, CaptureWithZYXJointsReachesEveryLimb) {
    // Hips: Xposition Yposition Zposition Zrotation Yrotation Xrotation
    //  `- Chest: Zrotation Yrotation Xrotation
    //      `- Neck: Zrotation Yrotation Xrotation
    //          `- End Site (no channels)
    TreeGuard tree(newLimb());
    Limb* hips = tree.root;
    declare(hips, 0, 6);
    Limb* chest = addChildAt(hips, 0, 2, 0);
    declare(chest, 6, 3);
    Limb* neck = addChildAt(chest, 0, 2, 0);
    declare(neck, 9, 3);
    Limb* end = addChildAt(neck, 0, 1, 0);
    channels({"Xposition", "Yposition", "Zposition", "Zrotation", "Yrotation", "Xrotation",
              "Zrotation", "Yrotation", "Xrotation", "Zrotation", "Yrotation", "Xrotation"},
             0.0, 3);
    for (int c = 0; c < motion->channelCount(); ++c)
        motion->setValue(c, 2, 10.0 * (c + 1));

    EXPECT_EQ(pose(hips, 2), 0);
    const Limb* limbs[] = {hips, chest, neck};
    for (int n = 0; n < 3; ++n) {
        const int z = 3 + 3 * n;  // each limb's first rotation channel
        EXPECT_FLOAT_EQ(limbs[n]->rotation.z, radians(10.0 * (z + 1))) << n;
        EXPECT_FLOAT_EQ(limbs[n]->rotation.y, radians(10.0 * (z + 2))) << n;
        EXPECT_FLOAT_EQ(limbs[n]->rotation.x, radians(10.0 * (z + 3))) << n;
    }
    EXPECT_EQ(end->rotation.x, 0.0f);
    EXPECT_EQ(end->rotation.y, 0.0f);
    EXPECT_EQ(end->rotation.z, 0.0f);
    ASSERT_EQ(target().geometry.size(), 3u);
    EXPECT_TRUE(pointNear(itemPoints(target(), 0)[0], 10, 20, 30));
}

TEST_F(FigurePoseTest, RootRotationAfterItsPositionReachesTheRoot) {
    // root (channels 0..5) -- child (2, 0, 0; channels 6..8)
    TreeGuard tree(newLimb());
    declare(tree.root, 0, 6);
    Limb* child = addChildAt(tree.root, 2, 0, 0);
    declare(child, 6, 3);
    channels({"Xposition", "Yposition", "Zposition", "Zrotation", "Xrotation", "Yrotation",
              "Zrotation", "Xrotation", "Yrotation"});
    pose(tree.root);
    EXPECT_FLOAT_EQ(tree.root->rotation.z, radians(4));
    EXPECT_FLOAT_EQ(tree.root->rotation.x, radians(5));
    EXPECT_FLOAT_EQ(tree.root->rotation.y, radians(6));
    EXPECT_FLOAT_EQ(child->rotation.z, radians(7));
    ASSERT_EQ(target().geometry.size(), 1u);
    const std::vector<PiPoint> line = itemPoints(target(), 0);
    EXPECT_TRUE(pointNear(line[0], 1, 2, 3));
    // The child's joint is turned by the root's own rotation about the root's joint.
    PiPoint expected;
    const PiPoint pivot{1, 2, 3}, rest{3, 2, 3};
    rotateAboutJoint(radians(5), radians(6), radians(4), &pivot, &rest, &expected);
    EXPECT_TRUE(pointNear(line[1], expected.x, expected.y, expected.z));
    EXPECT_FALSE(pointNear(line[1], 3, 2, 3));
}

TEST_F(FigurePoseTest, QuarterTurnIsStoredAsHalfPi) {
    TreeGuard tree(newLimb());
    declare(tree.root, 0, 1);
    addChildAt(tree.root, 1, 0, 0);
    channels({"Zrotation"});
    motion->setValue(0, 0, 90.0);
    pose(tree.root);
    EXPECT_FLOAT_EQ(tree.root->rotation.z, static_cast<float>(kPi / 2));
    EXPECT_TRUE(pointNear(itemPoints(target(), 0)[1], 0, 1, 0));
}

TEST_F(FigurePoseTest, PositionOnlyMotionDrawsNothing) {
    TreeGuard tree(newLimb());
    declare(tree.root, 0, 3);
    addChildAt(tree.root, 1, 0, 0);
    channels({"Xposition", "Yposition", "Zposition"});
    EXPECT_EQ(pose(tree.root), 0);
    EXPECT_FALSE(drew());
    EXPECT_TRUE(standin::scene().sceneProperty1001History.empty());
}

TEST_F(FigurePoseTest, PositionNeedsMoreThanThreeChannelsLedByXposition) {
    // Four channels but the first is no X position: the root stays at the origin.
    TreeGuard tree(newLimb());
    declare(tree.root, 0, 4);
    addChildAt(tree.root, 1, 0, 0);
    channels({"Yposition", "Xposition", "Zposition", "Zrotation"});
    motion->setValue(3, 0, 0.0);
    pose(tree.root);
    ASSERT_EQ(target().geometry.size(), 1u);
    EXPECT_TRUE(pointNear(itemPoints(target(), 0)[0], 0, 0, 0));
}

TEST_F(FigurePoseTest, NothingToApplyMeansNoDrawing) {
    TreeGuard tree(newLimb());
    addChildAt(tree.root, 1, 0, 0);
    EXPECT_EQ(poseFigure(handle, tree.root, nullptr, 0, kSegmentLines), 0);
    EXPECT_EQ(pose(tree.root), 0);  // no channels at all
    // Rotation channels that no limb declared.
    channels({"Zrotation", "Xrotation"});
    EXPECT_EQ(pose(tree.root), 0);
    EXPECT_EQ(pose(nullptr), 0);
    EXPECT_FALSE(drew());
    EXPECT_EQ(tree.root->rotation.z, 0.0f);
}

TEST_F(FigurePoseTest, UnreachedRotationsKeepTheirValues) {
    // root (Zrotation) -- child (no channels, turned by hand) -- grandchild
    TreeGuard tree(newLimb());
    declare(tree.root, 0, 1);
    Limb* child = addChildAt(tree.root, 1, 0, 0);
    child->rotation = PiPoint{0.25f, 0.5f, 0.75f};
    addChildAt(child, 1, 0, 0);
    channels({"Zrotation"});
    pose(tree.root);
    EXPECT_EQ(child->rotation.x, 0.25f);
    EXPECT_EQ(child->rotation.y, 0.5f);
    EXPECT_EQ(child->rotation.z, 0.75f);
}

TEST_F(FigurePoseTest, EachFrameSetsItsOwnAngles) {
    TreeGuard tree(newLimb());
    declare(tree.root, 0, 1);
    addChildAt(tree.root, 1, 0, 0);
    channels({"Zrotation"});
    motion->setValue(0, 0, 90.0);
    motion->setValue(0, 1, 180.0);
    pose(tree.root, 1);
    EXPECT_TRUE(pointNear(itemPoints(target(), 0)[1], -1, 0, 0));
    pose(tree.root, 0);
    EXPECT_EQ(target().geometry.size(), 1u);  // replaced, not added to
    EXPECT_TRUE(pointNear(itemPoints(target(), 0)[1], 0, 1, 0));
}

TEST_F(FigurePoseTest, NonFiniteValuesNeverReachTheHost) {
    TreeGuard tree(newLimb());
    declare(tree.root, 0, 4);
    Limb* child = addChildAt(tree.root, 1, 0, 0);
    declare(child, 4, 1);
    addChildAt(child, 1, 0, 0);
    channels({"Xposition", "Yposition", "Zposition", "Zrotation", "Xrotation"});
    motion->setValue(3, 0, std::numeric_limits<double>::quiet_NaN());
    motion->setValue(4, 0, std::numeric_limits<double>::infinity());
    for (int style = kSegmentLines; style <= kSegmentBalloons; ++style) {
        pose(tree.root, 0, style);
        for (const PiPoint& p : target().points)
            ASSERT_TRUE(isFinite(p));
    }
    motion->setValue(0, 0, std::numeric_limits<double>::infinity());
    motion->setValue(3, 0, 0.0);
    pose(tree.root, 0, kSegmentCylinders);
    EXPECT_TRUE(target().geometry.empty());
}

TEST_F(FigurePoseTest, LimbsBelowTheDepthLimitAreNotPosed) {
    // A chain deeper than any file may nest; only the limb just past the limit declares
    // channels, so nothing is reached and nothing is drawn.
    TreeGuard tree(newLimb());
    Limb* limb = tree.root;
    Limb* atLimit = nullptr;
    for (int depth = 1; depth <= kMaxLimbDepth + 1; ++depth) {
        limb = addChildAt(limb, 0, 0, 1);
        if (depth == kMaxLimbDepth)
            atLimit = limb;
    }
    declare(limb, 0, 1);
    channels({"Zrotation"});
    pose(tree.root);
    EXPECT_FALSE(drew());
    declare(atLimit, 0, 1);
    pose(tree.root);
    EXPECT_TRUE(drew());
    EXPECT_NE(atLimit->rotation.z, 0.0f);
}

}  // namespace
