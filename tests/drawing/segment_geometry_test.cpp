#include "drawing/segment_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <vector>

#include "drawing/rotation_transform.h"
#include "drawing_scene.h"

namespace {

using drawing_test::isFinite;
using drawing_test::itemPoints;
using drawing_test::kTolerance;
using drawing_test::pointNear;
using drawing_test::SceneTest;

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

struct Vec {
    double x, y, z;
};
Vec sub(const PiPoint& a, const PiPoint& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec cross(const Vec& a, const Vec& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double dot(const Vec& a, const Vec& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// The facet normal by the right-hand rule over the vertices in the order the host got them.
Vec normal(const std::vector<PiPoint>& t) {
    return cross(sub(t[1], t[0]), sub(t[2], t[0]));
}

std::vector<PiPoint> pathPoints(const PolygonList* head) {
    std::vector<PiPoint> points;
    for (const PolygonList* node = head; node != nullptr; node = nextPolygon(node)) {
        EXPECT_EQ(node->pointCount, 1u);
        points.push_back(node->points[0]);
    }
    return points;
}

class SegmentPathTest : public SceneTest {};

TEST_F(SegmentPathTest, ElevenPointsAtEighthsOneBeyondEachJoint) {
    const PiPoint from{1, 2, 3}, to{9, -6, 11};
    PolygonList* path = makeSegmentPath(&from, &to);
    const std::vector<PiPoint> points = pathPoints(path);
    ASSERT_EQ(points.size(), 11u);
    for (int k = 0; k < 11; ++k)
        EXPECT_TRUE(pointNear(points[k], static_cast<float>(k), 3.0f - k, 2.0f + k)) << k;
    EXPECT_EQ(isPointPath(path), 1);
    freePolygonList(path);
}

TEST_F(SegmentPathTest, MidpointWorksInFloats) {
    const PiPoint a{1, -2, 0.5f}, b{2, 4, 0.5f};
    PiPoint m{};
    EXPECT_EQ(midpoint(&a, &b, &m), 1);
    EXPECT_TRUE(pointNear(m, 1.5f, 1, 0.5f, 0));
}

TEST_F(SegmentPathTest, NearZeroIsStrictlyBelowTheLimit) {
    EXPECT_EQ(isNearZero(0.0), 1);
    EXPECT_EQ(isNearZero(-0.0000099), 1);
    EXPECT_EQ(isNearZero(0.00001), 0);
    EXPECT_EQ(isNearZero(-0.5), 0);
}

TEST(BalloonProfileTest, ThinAtTheJointsFullBetween) {
    EXPECT_EQ(makeBalloonProfile(2.0), 1);
    const double expected[11] = {0.2, 1.6666666666666667, 2,   2, 2, 2,
                                 2,   1.6666666666666667, 0.2, 2, 2};
    for (int k = 0; k < 11; ++k)
        EXPECT_DOUBLE_EQ(balloonProfile()[k], expected[k]) << k;
}

TEST(RingTest, VerticalChordStartsAlongY) {
    const PiPoint p0{0, 0, 0}, p1{0, 0, 1}, p2{0, 0, 2};
    const PiPoint* ring = makeRing(&p0, &p1, &p2, 8, 0.5);
    EXPECT_TRUE(pointNear(ring[0], 0, 0.5f, 1));
    EXPECT_TRUE(pointNear(ring[1], -0.35355f, 0.35355f, 1));
    for (int i = 0; i < 8; ++i) {
        EXPECT_NEAR(std::hypot(ring[i].x, ring[i].y), 0.5, kTolerance) << i;
        EXPECT_NEAR(ring[i].z, 1.0, kTolerance) << i;
    }
}

TEST(RingTest, HorizontalChordStartsSquareInTheXYPlane) {
    const PiPoint p0{0, 0, 0}, p1{1, 0, 0}, p2{2, 0, 0};
    const PiPoint* ring = makeRing(&p0, &p1, &p2, 3, 2.0);
    EXPECT_TRUE(pointNear(ring[0], 1, -2, 0));
    EXPECT_TRUE(pointNear(ring[1], 1, 1, -1.73205f));
    EXPECT_TRUE(pointNear(ring[2], 1, 1, 1.73205f));
}

TEST(RingTest, PointsRunCounterClockwiseAboutASlantedChord) {
    const PiPoint p0{1, 2, 3}, p1{2, 0, 4}, p2{3, -2, 5};
    const Vec chord = sub(p2, p0);
    const PiPoint* ring = makeRing(&p0, &p1, &p2, 8, 1.5);
    for (int i = 0; i < 8; ++i) {
        const Vec r = sub(ring[i], p1);
        const Vec next = sub(ring[(i + 1) % 8], p1);
        EXPECT_NEAR(std::sqrt(dot(r, r)), 1.5, kTolerance) << i;
        EXPECT_NEAR(dot(r, chord), 0.0, kTolerance) << i;  // square to the chord
        EXPECT_GT(dot(cross(r, next), chord), 0.0) << i;   // turning about +chord
    }
}

TEST(RingTest, NearlyVerticalChordStillStartsAlongY) {
    // Both X and Y of the chord are below the limit, though not zero.
    const PiPoint p0{0, 0, 0}, p1{0.0000025f, 0.0000015f, 1}, p2{0.000005f, 0.000003f, 2};
    const PiPoint* ring = makeRing(&p0, &p1, &p2, 8, 1.0);
    EXPECT_TRUE(pointNear(ring[0], 0, 1, 1, 1e-4f));
}

TEST(RingTest, AtMostTheRingCapacityIsWritten) {
    const PiPoint p0{0, 0, 0}, p1{0, 0, 1}, p2{0, 0, 2};
    const PiPoint* ring = makeRing(&p0, &p1, &p2, 1000, 1.0);
    // Clamped to 30 points: the thirtieth is one step short of the first.
    const double step = 2.0 * radiansPerHalfTurn() / 30;
    EXPECT_NEAR(ring[29].x, -std::sin(29 * step), kTolerance);
    EXPECT_NEAR(ring[29].y, std::cos(29 * step), kTolerance);
}

TEST(TriangleTest, VerticesComeInReverseOrder) {
    const double xs[] = {0, 1, 2, 3}, ys[] = {10, 11, 12, 13}, zs[] = {20, 21, 22, 23};
    const PiPoint* t = makeTriangle(xs, ys, zs, 0, 2, 3);
    EXPECT_TRUE(pointNear(t[0], 3, 13, 23, 0));
    EXPECT_TRUE(pointNear(t[1], 2, 12, 22, 0));
    EXPECT_TRUE(pointNear(t[2], 0, 10, 20, 0));
}

class DrawSegmentTest : public SceneTest {
  protected:
    int draw(const PiPoint& from, const PiPoint& to, double radius, int style) {
        return drawSegment(handle, &from, &to, radius, style);
    }
    void expectAllPointsFinite() const {
        for (const PiPoint& p : target().points)
            ASSERT_TRUE(isFinite(p));
    }
};

TEST_F(DrawSegmentTest, LineIsOneItemWithBothJoints) {
    EXPECT_EQ(draw({1, 2, 3}, {-4, 5, 6}, 1.0, kSegmentLines), 1);
    ASSERT_EQ(target().geometry.size(), 1u);
    EXPECT_EQ(target().geometry[0].kind, host::kGeometryLine);
    const std::vector<PiPoint> line = itemPoints(target(), 0);
    EXPECT_TRUE(pointNear(line[0], 1, 2, 3, 0));
    EXPECT_TRUE(pointNear(line[1], -4, 5, 6, 0));
}

TEST_F(DrawSegmentTest, UnknownStyleDrawsNothingAndSucceeds) {
    EXPECT_EQ(draw({0, 0, 0}, {1, 1, 1}, 1.0, 3), 1);
    EXPECT_EQ(draw({0, 0, 0}, {1, 1, 1}, 1.0, -1), 1);
    EXPECT_TRUE(target().geometry.empty());
}

TEST_F(DrawSegmentTest, NothingIsDrawnUntilTheGeometryIsCleared) {
    geometryCleared = false;
    EXPECT_EQ(draw({0, 0, 0}, {0, 0, 8}, 1.0, kSegmentLines), 0);
    EXPECT_EQ(draw({0, 0, 0}, {0, 0, 8}, 1.0, kSegmentCylinders), 0);
    EXPECT_TRUE(target().geometry.empty());
}

TEST_F(DrawSegmentTest, CylinderIs128TrianglesOnNineRings) {
    EXPECT_EQ(draw({0, 0, 0}, {0, 0, 8}, 1.0, kSegmentCylinders), 1);
    EXPECT_EQ(target().geometry.size(), 128u);
    EXPECT_EQ(target().count(host::kGeometryTriangle), 128u);
    std::set<int> ringLevels;
    for (const PiPoint& p : target().points) {
        EXPECT_NEAR(std::hypot(p.x, p.y), 1.0, kTolerance);
        EXPECT_NEAR(p.z, std::round(p.z), kTolerance);
        ringLevels.insert(static_cast<int>(std::lround(p.z)));
    }
    EXPECT_EQ(ringLevels, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(DrawSegmentTest, FacetsFaceAwayFromTheAxis) {
    draw({0, 0, 0}, {0, 0, 8}, 1.0, kSegmentCylinders);
    ASSERT_EQ(target().geometry.size(), 128u);
    // The first triangle: ring 0's points 1 and 0, then ring 1's point 1, handed over reversed.
    const std::vector<PiPoint> first = itemPoints(target(), 0);
    EXPECT_NEAR(first[0].z, 1.0, kTolerance);
    EXPECT_NEAR(first[1].z, 0.0, kTolerance);
    EXPECT_TRUE(pointNear(first[1], 0, 1, 0));  // ring 0, point 0
    for (size_t n = 0; n < target().geometry.size(); ++n) {
        const std::vector<PiPoint> t = itemPoints(target(), n);
        const Vec outward{(t[0].x + t[1].x + t[2].x) / 3, (t[0].y + t[1].y + t[2].y) / 3, 0};
        EXPECT_GT(dot(normal(t), outward), 0.0) << "triangle " << n;
    }
}

TEST_F(DrawSegmentTest, SlantedCylinderKeepsItsRadius) {
    const PiPoint from{1, 2, 3}, to{4, -2, 5};
    draw(from, to, 0.75, kSegmentCylinders);
    EXPECT_EQ(target().count(host::kGeometryTriangle), 128u);
    const Vec axis = sub(to, from);
    const double length = std::sqrt(dot(axis, axis));
    for (const PiPoint& p : target().points) {
        const Vec c = cross(sub(p, from), axis);
        EXPECT_NEAR(std::sqrt(dot(c, c)) / length, 0.75, kTolerance);
    }
}

TEST_F(DrawSegmentTest, BalloonSwellsFromTheJoints) {
    EXPECT_EQ(draw({0, 0, 0}, {0, 0, 8}, 2.0, kSegmentBalloons), 1);
    EXPECT_EQ(target().count(host::kGeometryTriangle), 128u);
    const double expected[9] = {0.2, 1.6666666666666667, 2, 2, 2, 2, 2, 1.6666666666666667, 0.2};
    for (const PiPoint& p : target().points) {
        const long ring = std::lround(p.z);
        ASSERT_TRUE(ring >= 0 && ring <= 8);
        EXPECT_NEAR(std::hypot(p.x, p.y), expected[ring], kTolerance) << "ring " << ring;
    }
}

TEST_F(DrawSegmentTest, FailedTriangleEndsTheTubeButNotTheSegment) {
    standin::Faults faults;
    faults.putGeometryFailsFrom = 11;
    standin::setFaults(faults);
    EXPECT_EQ(draw({0, 0, 0}, {0, 0, 8}, 1.0, kSegmentCylinders), 1);
    EXPECT_EQ(target().geometry.size(), 10u);
    EXPECT_EQ(standin::scene().errors.size(), 0u);
}

TEST_F(DrawSegmentTest, FailedLineFailsTheSegment) {
    standin::Faults faults;
    faults.putGeometryFailsFrom = 1;
    standin::setFaults(faults);
    EXPECT_EQ(draw({0, 0, 0}, {0, 0, 8}, 1.0, kSegmentLines), 0);
    EXPECT_TRUE(target().geometry.empty());
}

TEST_F(DrawSegmentTest, ZeroLengthSegmentIsOnlyALine) {
    const PiPoint joint{2, 3, 4};
    EXPECT_EQ(draw(joint, joint, 1.0, kSegmentLines), 1);
    ASSERT_EQ(target().geometry.size(), 1u);
    EXPECT_EQ(target().geometry[0].kind, host::kGeometryLine);
    EXPECT_EQ(draw(joint, joint, 1.0, kSegmentCylinders), 1);
    EXPECT_EQ(draw(joint, joint, 1.0, kSegmentBalloons), 1);
    EXPECT_EQ(target().geometry.size(), 1u);
    expectAllPointsFinite();
}

TEST_F(DrawSegmentTest, NonFiniteJointDrawsNothing) {
    const PiPoint bad[] = {{kNaN, 0, 0}, {0, kInf, 0}, {0, 0, -kInf}};
    for (const PiPoint& joint : bad) {
        for (int style = kSegmentLines; style <= kSegmentBalloons; ++style) {
            EXPECT_EQ(draw(joint, {1, 1, 1}, 1.0, style), 0);
            EXPECT_EQ(draw({1, 1, 1}, joint, 1.0, style), 0);
        }
    }
    EXPECT_TRUE(target().geometry.empty());
}

TEST_F(DrawSegmentTest, RadiusThatIsNotFiniteOrOverflowsDrawsNoTube) {
    const double radii[] = {std::nan(""), HUGE_VAL, 1e300};
    for (double radius : radii) {
        draw({0, 0, 0}, {0, 0, 8}, radius, kSegmentCylinders);
        draw({0, 0, 0}, {0, 0, 8}, radius, kSegmentBalloons);
    }
    EXPECT_TRUE(target().geometry.empty());
}

TEST_F(DrawSegmentTest, HugeJointsNeverHandTheHostInfinity) {
    // The joints are finite, but the eighths beyond them overflow the float range.
    const float big = std::numeric_limits<float>::max();
    for (int style = kSegmentLines; style <= kSegmentBalloons; ++style)
        draw({-big, 0, 0}, {big, 0, 0}, 1.0, style);
    expectAllPointsFinite();
}

TEST_F(DrawSegmentTest, TinySegmentNeverHandsTheHostNaN) {
    // So short that rounding makes neighbouring path points equal: some chords vanish.
    const float tiny = std::numeric_limits<float>::denorm_min();
    for (int style = kSegmentLines; style <= kSegmentBalloons; ++style) {
        draw({0, 0, 0}, {tiny, 0, 0}, 1.0, style);
        draw({1, 1, 1}, {1, 1, 1.0000001f}, 1.0, style);
    }
    expectAllPointsFinite();
}

class FacetTubeTest : public SceneTest {
  protected:
    // A segment path along Z with `count` of its 11 nodes.
    PolygonList* pathAlongZ(int count) {
        PolygonList* head = nullptr;
        PolygonList* last = nullptr;
        for (int k = 0; k < count; ++k) {
            const PiPoint point{0, 0, static_cast<float>(k - 1)};
            last = addPolygon(1, last, &point);
            if (head == nullptr)
                head = last;
        }
        return head;
    }
};

TEST_F(FacetTubeTest, ShortPathMakesFewerRings) {
    PolygonList* path = pathAlongZ(5);
    // Five points give three rings, joined by two bands of 16 triangles.
    EXPECT_EQ(putFacetTube(handle, path, 11, 8, 1.0, nullptr), 1);
    EXPECT_EQ(target().count(host::kGeometryTriangle), 32u);
    freePolygonList(path);
}

TEST_F(FacetTubeTest, PathCountLimitsThePointsRead) {
    PolygonList* path = pathAlongZ(11);
    EXPECT_EQ(putFacetTube(handle, path, 4, 8, 1.0, nullptr), 1);
    EXPECT_EQ(target().count(host::kGeometryTriangle), 16u);
    for (const PiPoint& p : target().points)
        EXPECT_LE(p.z, 1.0f + kTolerance);
    freePolygonList(path);
}

TEST_F(FacetTubeTest, ProfileSetsEachRingsRadius) {
    PolygonList* path = pathAlongZ(11);
    const double profile[11] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    EXPECT_EQ(putFacetTube(handle, path, 11, 4, 1.0, profile), 1);
    EXPECT_EQ(target().count(host::kGeometryTriangle), 64u);
    for (const PiPoint& p : target().points)
        EXPECT_NEAR(std::hypot(p.x, p.y), std::lround(p.z) + 1.0, kTolerance);
    freePolygonList(path);
}

TEST_F(FacetTubeTest, RefusesWhatIsNoSegmentPath) {
    const PiPoint pair[2] = {{0, 0, 0}, {0, 0, 1}};
    PolygonList* facets = addPolygon(2, nullptr, pair);
    EXPECT_EQ(putFacetTube(handle, facets, 11, 8, 1.0, nullptr), 0);
    ASSERT_EQ(errors().size(), 1u);
    EXPECT_EQ(errors()[0], "Unable to Convert Facets to Cable");
    freePolygonList(facets);

    PolygonList* path = pathAlongZ(11);
    EXPECT_EQ(putFacetTube(handle, nullptr, 11, 8, 1.0, nullptr), 0);
    EXPECT_EQ(putFacetTube(handle, path, 11, 0, 1.0, nullptr), 0);
    EXPECT_EQ(putFacetTube(handle, path, 11, kRingCapacity + 1, 1.0, nullptr), 0);
    EXPECT_EQ(putFacetTube(handle, path, -1, 8, 1.0, nullptr), 0);
    EXPECT_EQ(errors().size(), 1u);
    EXPECT_TRUE(target().geometry.empty());
    freePolygonList(path);
}

TEST_F(FacetTubeTest, FailedTriangleStopsAtOnce) {
    PolygonList* path = pathAlongZ(11);
    standin::Faults faults;
    faults.putGeometryFailsFrom = 2;
    standin::setFaults(faults);
    EXPECT_EQ(putFacetTube(handle, path, 11, 8, 1.0, nullptr), 0);
    EXPECT_EQ(target().geometry.size(), 1u);
    freePolygonList(path);
}

}  // namespace
