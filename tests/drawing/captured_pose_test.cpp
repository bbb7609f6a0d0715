// Posing as captured, checked against forward kinematics worked out here on its own: matrices in
// doubles built from the motion table's values in degrees, composed in each joint's channel order
// and passed down the tree.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "drawing/figure_pose.h"
#include "drawing_scene.h"
#include "model/figure_data.h"
#include "support/figure_reading.h"
#include "support/temp_dir.h"

namespace {

using drawing_test::addChildAt;
using drawing_test::isFinite;
using drawing_test::itemPoints;
using drawing_test::pointNear;
using drawing_test::SceneTest;
using drawing_test::TreeGuard;

const double kPi = 4.0 * std::atan(1.0);

// The reference: a 3 x 3 matrix applied to column vectors, and points in doubles.
struct Mat {
    double a[3][3];
};
struct Vec {
    double x, y, z;
};

Mat identity() {
    return Mat{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
}

Mat times(const Mat& l, const Mat& r) {
    Mat out{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                out.a[i][j] += l.a[i][k] * r.a[k][j];
    return out;
}

Vec times(const Mat& m, const Vec& v) {
    return Vec{m.a[0][0] * v.x + m.a[0][1] * v.y + m.a[0][2] * v.z,
               m.a[1][0] * v.x + m.a[1][1] * v.y + m.a[1][2] * v.z,
               m.a[2][0] * v.x + m.a[2][1] * v.y + m.a[2][2] * v.z};
}

// Right-handed turns about the world axes, in degrees.
Mat turnX(double degrees) {
    const double c = std::cos(degrees * kPi / 180), s = std::sin(degrees * kPi / 180);
    return Mat{{{1, 0, 0}, {0, c, -s}, {0, s, c}}};
}
Mat turnY(double degrees) {
    const double c = std::cos(degrees * kPi / 180), s = std::sin(degrees * kPi / 180);
    return Mat{{{c, 0, s}, {0, 1, 0}, {-s, 0, c}}};
}
Mat turnZ(double degrees) {
    const double c = std::cos(degrees * kPi / 180), s = std::sin(degrees * kPi / 180);
    return Mat{{{c, -s, 0}, {s, c, 0}, {0, 0, 1}}};
}

// How the host turns a scene object by its rotation property: about X, then Y, then Z.
Mat hostTurn(const PiPoint& degrees) {
    return times(turnZ(degrees.z), times(turnY(degrees.y), turnX(degrees.x)));
}

struct Segment {
    Vec from, to;
};

// Forward kinematics in channel order: a joint's local rotation is the product of its rotation
// channels as they are declared, its world rotation the parent's world times its local, and a
// child's joint the parent's joint plus the parent's world rotation of the child's offset. The
// segments come in the order the figure is drawn: a limb's own, then each child's subtree.
class Reference {
  public:
    Reference(const MotionTable* motion, int frame) : motion_(motion), frame_(frame) {}

    Vec rootPosition(const Limb* root) const {
        Vec p{0, 0, 0};
        for (uint32_t c = root->firstChannel; c < end(root); ++c) {
            const double v = motion_->value(static_cast<int>(c), frame_);
            switch (motion_->channelType(static_cast<int>(c))) {
                case kChannelXPosition:
                    p.x = v;
                    break;
                case kChannelYPosition:
                    p.y = v;
                    break;
                case kChannelZPosition:
                    p.z = v;
                    break;
                default:
                    break;
            }
        }
        return p;
    }
    Mat local(const Limb* limb) const {
        Mat r = identity();
        for (uint32_t c = limb->firstChannel; c < end(limb); ++c) {
            const double v = motion_->value(static_cast<int>(c), frame_);
            switch (motion_->channelType(static_cast<int>(c))) {
                case kChannelXRotation:
                    r = times(r, turnX(v));
                    break;
                case kChannelYRotation:
                    r = times(r, turnY(v));
                    break;
                case kChannelZRotation:
                    r = times(r, turnZ(v));
                    break;
                default:
                    break;
            }
        }
        return r;
    }
    void walk(const Limb* limb, const Vec& p, const Mat& parentWorld,
              std::vector<Segment>* out) const {
        const Mat world = times(parentWorld, local(limb));
        std::vector<std::pair<const Limb*, Vec>> children;
        for (uint32_t slot = 0; slot < limb->childCount; ++slot) {
            const Limb* child = limb->children[slot];
            if (child == nullptr || child->deleted == 1)
                continue;
            const Vec turned = times(world, Vec{child->offset.x, child->offset.y, child->offset.z});
            const Vec w{p.x + turned.x, p.y + turned.y, p.z + turned.z};
            out->push_back(Segment{p, w});
            children.emplace_back(child, w);
        }
        for (const auto& [child, w] : children)
            walk(child, w, world, out);
    }
    std::vector<Segment> segments(const Limb* root) const {
        std::vector<Segment> out;
        walk(root, rootPosition(root), identity(), &out);
        return out;
    }

  private:
    uint32_t end(const Limb* limb) const {
        const uint32_t last = limb->firstChannel + limb->declaredChannels;
        const auto count = static_cast<uint32_t>(motion_->channelCount());
        return limb->declaredChannels == 0 ? limb->firstChannel : (last < count ? last : count);
    }

    const MotionTable* motion_;
    int frame_;
};

double distance(const PiPoint& a, const Vec& b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                     (a.z - b.z) * (a.z - b.z));
}

class CapturedPoseTest : public SceneTest {
  protected:
    int pose(Limb* root, const MotionTable* motion, int frame, int posing,
             int style = kSegmentLines) {
        return poseFigure(handle, root, motion, frame, style, posing);
    }
    // The largest distance between a drawn line's ends and the reference's segment's.
    double worstError(const std::vector<Segment>& expected) const {
        const auto drawn = lines();
        EXPECT_EQ(drawn.size(), expected.size());
        double worst = 0;
        for (size_t n = 0; n < drawn.size() && n < expected.size(); ++n) {
            worst = std::max(worst, distance(drawn[n][0], expected[n].from));
            worst = std::max(worst, distance(drawn[n][1], expected[n].to));
        }
        return worst;
    }
    int sceneObject(const char* name) { return piCreateObject(name, 1); }

    testing_support::TempDir dir;
};

//   Hips        Xposition Yposition Zposition Zrotation Xrotation Yrotation (ZXY)
//    ├── Spine  Zrotation Yrotation Xrotation (ZYX)
//    │    ├── Neck  Xrotation Yrotation Zrotation (XYZ)
//    │    │    └── Head  Yrotation alone
//    │    │         └── End
//    │    └── Arm   no channels (made with Add Limb)
//    │         └── Hand  Zrotation Xrotation Yrotation
//    │              └── End
//    └── Leg    Yrotation Zrotation
//         └── End
// Rotation values run over the whole circle and differ from channel to channel and frame to
// frame.
std::string mixedOrders() {
    std::string text =
        "HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\n"
        "CHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n"
        "JOINT Spine\n{\nOFFSET 0 3 0.5\nCHANNELS 3 Zrotation Yrotation Xrotation\n"
        "JOINT Neck\n{\nOFFSET 0.2 2 1\nCHANNELS 3 Xrotation Yrotation Zrotation\n"
        "JOINT Head\n{\nOFFSET 0.5 1 0\nCHANNELS 1 Yrotation\n"
        "End Site\n{\nOFFSET 0 1 0.5\n}\n}\n}\n"
        "JOINT Arm\n{\nOFFSET 2 0 0\n"
        "JOINT Hand\n{\nOFFSET 2 0.5 -0.3\nCHANNELS 3 Zrotation Xrotation Yrotation\n"
        "End Site\n{\nOFFSET 1 0 0\n}\n}\n}\n}\n"
        "JOINT Leg\n{\nOFFSET 1 -1 0\nCHANNELS 2 Yrotation Zrotation\n"
        "End Site\n{\nOFFSET 0 -4 1\n}\n}\n}\n"
        "MOTION\nFrames: 4\nFrame Time: 0.1\n";
    const int channels = 6 + 3 + 3 + 1 + 3 + 2;
    for (int f = 0; f < 4; ++f) {
        for (int c = 0; c < channels; ++c) {
            double v = c < 3 ? (c + 1) * 0.5 * (f + 1)
                             : std::fmod(c * 53.0 + f * 97.0 + 11.0, 360.0) - 180.0;
            text += std::to_string(v) + (c + 1 < channels ? " " : "\n");
        }
    }
    return text;
}

TEST_F(CapturedPoseTest, MixedChannelOrdersLandWhereForwardKinematicsPutsThem) {
    testing_support::FigureRead read(dir.write("mixed.bvh", mixedOrders()));
    ASSERT_TRUE(read.opened());
    read.parseAll();
    ASSERT_EQ(read.motion()->channelCount(), 18);
    for (int frame = 0; frame < 4; ++frame) {
        const std::vector<Segment> expected = Reference(read.motion(), frame).segments(read.root());
        ASSERT_EQ(expected.size(), 9u);
        pose(read.root(), read.motion(), frame, kPosingCaptured);
        EXPECT_LT(worstError(expected), 1e-4) << "frame " << frame;
        // The world-axes posing puts them elsewhere: the two are not the same walk.
        pose(read.root(), read.motion(), frame, kPosingWorldAxes);
        EXPECT_GT(worstError(expected), 0.1) << "frame " << frame;
    }
}

TEST_F(CapturedPoseTest, GrandchildFollowsTheRootsTurn) {
    // root (Zrotation 90) -- child (1, 0, 0) -- grandchild (1, 0, 0) -- end (1, 0, 0)
    std::unique_ptr<MotionTable> motion(MotionTable::create(nullptr));
    ASSERT_EQ(motion->declareChannel("Zrotation"), 0);
    motion->setValue(0, 0, 90.0);
    TreeGuard tree(newLimb());
    tree.root->declaredChannels = 1;
    Limb* grandchild = addChildAt(addChildAt(tree.root, 1, 0, 0), 1, 0, 0);
    addChildAt(grandchild, 1, 0, 0);
    const struct {
        int posing;
        PiPoint child, grandchild, end;
    } cases[] = {
        {kPosingCaptured, {0, 1, 0}, {0, 2, 0}, {0, 3, 0}},
        {kPosingWorldAxes, {0, 1, 0}, {1, 1, 0}, {2, 1, 0}},
    };
    for (const auto& c : cases) {
        pose(tree.root, motion.get(), 0, c.posing);
        const auto drawn = lines();
        ASSERT_EQ(drawn.size(), 3u);
        EXPECT_TRUE(pointNear(drawn[0][1], c.child.x, c.child.y, c.child.z)) << c.posing;
        EXPECT_TRUE(pointNear(drawn[1][1], c.grandchild.x, c.grandchild.y, c.grandchild.z))
            << c.posing;
        EXPECT_TRUE(pointNear(drawn[2][1], c.end.x, c.end.y, c.end.z)) << c.posing;
    }
}

TEST_F(CapturedPoseTest, EveryStyleDrawsFromTheCapturedJoints) {
    // root (Zrotation 90) -- elbow (2, 0, 0), Xrotation 90 -- hand (2, 0, 0).
    // As captured the hand's offset is turned by Rz(90) Rx(90): the elbow is at (0, 2, 0) and the
    // hand at (0, 4, 0). About world axes the hand would be at (2, 2, 0).
    std::unique_ptr<MotionTable> motion(MotionTable::create(nullptr));
    motion->declareChannel("Zrotation");
    motion->declareChannel("Xrotation");
    motion->setValue(0, 0, 90.0);
    motion->setValue(1, 0, 90.0);
    TreeGuard tree(newLimb());
    tree.root->declaredChannels = 1;
    Limb* elbow = addChildAt(tree.root, 2, 0, 0);
    elbow->firstChannel = 1;
    elbow->declaredChannels = 1;
    addChildAt(elbow, 2, 0, 0);
    for (int style = kSegmentLines; style <= kSegmentBalloons; ++style) {
        pose(tree.root, motion.get(), 0, kPosingCaptured, style);
        const size_t items = target().geometry.size();
        ASSERT_GT(items, 0u) << style;
        ASSERT_EQ(items % 2, 0u) << "two segments of one length and radius";
        // The second segment's geometry stays within its radius of the line from the elbow to
        // the hand, and reaches both.
        float low = 1e9f, high = -1e9f;
        for (size_t n = items / 2; n < items; ++n) {
            for (const PiPoint& p : itemPoints(target(), n)) {
                EXPECT_LE(std::hypot(p.x, p.z), elbow->radius + 1e-4) << style;
                low = std::min(low, p.y);
                high = std::max(high, p.y);
            }
        }
        EXPECT_NEAR(low, 2.0, 1e-4) << style;
        EXPECT_NEAR(high, 4.0, 1e-4) << style;
    }
}

TEST_F(CapturedPoseTest, AssociatedObjectTurnedByTheHostLiesAlongTheLimb) {
    // Arm (ZXY channels, the object "Bone") -- Hand at (0, 3, 0): the object's own geometry
    // lies along +Y as the arm does at rest, so turned by property 4 as the host turns it, it
    // must lie along the drawn segment, and its whole turn must be the arm's world rotation.
    const struct {
        double z, x, y;
    } angles[] = {{0, 0, 0},  {30, 40, 50},  {-120, 75, 160}, {10, 90, 0},
                  {0, 0, 90}, {45, -90, 30}, {170, 10, -90},  {90, 90, 90}};
    const int bone = sceneObject("Bone");
    for (const auto& a : angles) {
        std::unique_ptr<MotionTable> motion(MotionTable::create(nullptr));
        for (const char* name : {"Zrotation", "Xrotation", "Yrotation"})
            motion->declareChannel(name);
        motion->setValue(0, 0, a.z);
        motion->setValue(1, 0, a.x);
        motion->setValue(2, 0, a.y);
        TreeGuard tree(newLimb());
        tree.root->declaredChannels = 3;
        setMapName(tree.root, "Bone");
        addChildAt(tree.root, 0, 3, 0);
        pose(tree.root, motion.get(), 0, kPosingCaptured);

        const standin::SceneObject& object = *standin::object(bone);
        ASSERT_TRUE(object.hasRotation && object.hasPosition);
        const auto drawn = lines();
        ASSERT_EQ(drawn.size(), 1u);
        const PiPoint& to = drawn[0][1];
        EXPECT_TRUE(pointNear(object.position, to.x / 2, to.y / 2, to.z / 2));
        const Mat turn = hostTurn(object.rotation);
        const Vec along = times(turn, Vec{0, 3, 0});
        EXPECT_LT(distance(to, along), 1e-4) << a.z << " " << a.x << " " << a.y;
        const Mat world = times(turnZ(a.z), times(turnX(a.x), turnY(a.y)));
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                EXPECT_NEAR(turn.a[i][j], world.a[i][j], 1e-5)
                    << a.z << " " << a.x << " " << a.y << " at " << i << j;
    }
}

TEST_F(CapturedPoseTest, ObjectOfALimbWithoutChannelsTurnsWithItsParent) {
    // Root (Zrotation 90) -- Arm (no channels, "Bone") -- Hand at (2, 0, 0) from the arm.
    std::unique_ptr<MotionTable> motion(MotionTable::create(nullptr));
    motion->declareChannel("Zrotation");
    motion->setValue(0, 0, 90.0);
    TreeGuard tree(newLimb());
    tree.root->declaredChannels = 1;
    Limb* arm = addChildAt(tree.root, 1, 0, 0);
    setMapName(arm, "Bone");
    addChildAt(arm, 2, 0, 0);
    const int bone = sceneObject("Bone");
    pose(tree.root, motion.get(), 0, kPosingCaptured);
    EXPECT_TRUE(pointNear(lines()[1][1], 0, 3, 0));
    EXPECT_TRUE(pointNear(standin::object(bone)->rotation, 0, 0, 90, 1e-4f));
    EXPECT_TRUE(pointNear(standin::object(bone)->position, 0, 2, 0));
}

TEST_F(CapturedPoseTest, BadAnglesDrawNothingWrong) {
    const struct {
        double value;
        bool drawsSegments;
    } cases[] = {
        {std::numeric_limits<double>::quiet_NaN(), false},
        {std::numeric_limits<double>::infinity(), false},
        {1e300, false},  // infinite as a float
        {1e30, true},    // finite: a turn, however large
    };
    for (const auto& c : cases) {
        std::unique_ptr<MotionTable> motion(MotionTable::create(nullptr));
        motion->declareChannel("Zrotation");
        motion->declareChannel("Xrotation");
        motion->setValue(0, 0, c.value);
        motion->setValue(1, 0, 10.0);
        TreeGuard tree(newLimb());
        tree.root->declaredChannels = 2;
        setMapName(tree.root, "Bone");
        addChildAt(addChildAt(tree.root, 1, 0, 0), 0, 1, 0);
        standin::resetScene();
        geometryCleared = true;
        handle = piCreateObject("figure", host::kFigureObjectType);
        const int placed = sceneObject("Bone");
        for (int style = kSegmentLines; style <= kSegmentBalloons; ++style) {
            pose(tree.root, motion.get(), 0, kPosingCaptured, style);
            for (const PiPoint& p : target().points)
                ASSERT_TRUE(isFinite(p)) << c.value << " style " << style;
            EXPECT_EQ(!target().geometry.empty(), c.drawsSegments) << c.value;
        }
        const standin::SceneObject& object = *standin::object(placed);
        EXPECT_EQ(object.hasRotation, c.drawsSegments) << c.value;
        if (object.hasRotation) {
            EXPECT_TRUE(isFinite(object.rotation));
            EXPECT_TRUE(isFinite(object.position));
        }
    }
}

TEST_F(CapturedPoseTest, DrawingStopsAtTheDepthLimit) {
    // Far deeper than any file may nest, each limb turning a little: drawn down to the limit.
    std::unique_ptr<MotionTable> motion(MotionTable::create(nullptr));
    motion->declareChannel("Xrotation");
    motion->setValue(0, 0, 0.5);
    TreeGuard tree(newLimb());
    Limb* limb = tree.root;
    for (int i = 0; i < kMaxLimbDepth * 5; ++i) {
        limb->declaredChannels = 1;
        limb = addChildAt(limb, 0, 0, 1);
    }
    pose(tree.root, motion.get(), 0, kPosingCaptured);
    EXPECT_EQ(target().geometry.size(), static_cast<size_t>(kMaxLimbDepth));
}

TEST_F(CapturedPoseTest, RestPoseIsTheSameInBothPosings) {
    // A figure's first draw is its rest pose whatever its posing; so is a frame of zeros.
    std::string text = mixedOrders();
    text = text.substr(0, text.find("MOTION"));
    std::vector<std::vector<PiPoint>> drawn[2];
    for (int posing : {kPosingWorldAxes, kPosingCaptured}) {
        FigureData* figure = FigureData::create(nullptr);
        ASSERT_NE(figure, nullptr);
        figure->posing = posing;
        testing_support::FigureRead read(dir.write("rest.bvh", text));
        read.parseAll();
        figure->root = read.root();
        const PiPoint origin{0, 0, 0};
        redrawFigure(handle, figure->root, &origin, 0, kSegmentLines);
        drawn[posing] = lines();
        figure->pose(handle, 0);  // no frames: every value reads 0
        EXPECT_EQ(lines().size(), drawn[posing].size());
        for (size_t n = 0; n < drawn[posing].size(); ++n) {
            for (int k = 0; k < 2; ++k) {
                const PiPoint& p = drawn[posing][n][k];
                EXPECT_TRUE(pointNear(lines()[n][k], p.x, p.y, p.z)) << posing << " " << n;
            }
        }
        figure->root = nullptr;
        delete figure;
    }
    ASSERT_EQ(drawn[0].size(), drawn[1].size());
    for (size_t n = 0; n < drawn[0].size(); ++n) {
        EXPECT_TRUE(
            pointNear(drawn[1][n][1], drawn[0][n][1].x, drawn[0][n][1].y, drawn[0][n][1].z));
    }
}

// The captures of Debian's assimp test models, where they are installed.
const char* const kCaptures[] = {"01_01.bvh", "01_03.bvh", "Boxing_Toes.bvh"};
const std::string kCaptureFolder = "/usr/share/assimp/models/BVH/";

// The figure's height: how far its joints reach up and down in the rest pose.
double restHeight(const Limb* root, const MotionTable* motion) {
    std::unique_ptr<MotionTable> still(MotionTable::create(nullptr));
    for (int c = 0; c < motion->channelCount(); ++c)
        still->declareChannel(motion->channels[c].name);
    double low = 1e300, high = -1e300;
    for (const Segment& s : Reference(still.get(), 0).segments(root)) {
        low = std::min({low, s.from.y, s.to.y});
        high = std::max({high, s.from.y, s.to.y});
    }
    return high - low;
}

TEST_F(CapturedPoseTest, CapturesLandWhereForwardKinematicsPutsThem) {
    for (const char* name : kCaptures) {
        const std::string path = kCaptureFolder + name;
        if (!std::ifstream(path).good())
            GTEST_SKIP() << path << " is missing (Debian's assimp-testmodels installs it)";
    }
    std::printf("capture       height  mean joint error     worst joint\n");
    for (const char* name : kCaptures) {
        testing_support::FigureRead read(kCaptureFolder + name);
        ASSERT_TRUE(read.opened()) << name;
        read.parseAll();
        const MotionTable* motion = read.motion();
        ASSERT_EQ(motion->frameCount, 256u) << name;
        const double height = restHeight(read.root(), motion);
        ASSERT_GT(height, 1.0) << name;
        double worst = 0;
        for (int frame = 1; frame <= 255; ++frame) {
            const std::vector<Segment> expected = Reference(motion, frame).segments(read.root());
            pose(read.root(), motion, frame, kPosingCaptured);
            const double error = worstError(expected);
            worst = std::max(worst, error);
            ASSERT_LE(error, 2e-4 * height) << name << " frame " << frame;
        }
        // How far the world-axes posing puts the joints from the capture, at 11 frames.
        double sum = 0, far = 0;
        int joints = 0;
        for (int frame = 5; frame <= 255; frame += 25) {
            const std::vector<Segment> expected = Reference(motion, frame).segments(read.root());
            pose(read.root(), motion, frame, kPosingWorldAxes);
            const auto drawn = lines();
            ASSERT_EQ(drawn.size(), expected.size());
            for (size_t n = 0; n < drawn.size(); ++n) {
                const double d = distance(drawn[n][1], expected[n].to);
                sum += d;
                far = std::max(far, d);
                ++joints;
            }
        }
        const double mean = sum / joints;
        std::printf("%-13s %6.1f  %5.1f (%3.0f %%)  %6.1f (%3.0f %%)   captured worst %.2g\n", name,
                    height, mean, 100 * mean / height, far, 100 * far / height, worst);
        EXPECT_GT(mean, 0.05 * height) << name << ": the world-axes posing should stray";
    }
}

}  // namespace
