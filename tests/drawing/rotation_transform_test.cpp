#include "drawing/rotation_transform.h"

#include <gtest/gtest.h>

#include <cmath>

#include "drawing_scene.h"

namespace {

using drawing_test::pointNear;

// The transform is worked out in doubles from a handful of sines and cosines.
constexpr double kExact = 1e-12;
const double kPi = 4.0 * std::atan(1.0);

struct Turned {
    double x, y, z;
};

Turned turn(double x, double y, double z) {
    Turned out;
    applyRotation(x, y, z, &out.x, &out.y, &out.z);
    return out;
}

void expectTurned(const Turned& t, double x, double y, double z) {
    EXPECT_NEAR(t.x, x, kExact);
    EXPECT_NEAR(t.y, y, kExact);
    EXPECT_NEAR(t.z, z, kExact);
}

RotationTransform snapshot() {
    return currentRotationTransform();
}

void expectSameTransform(const RotationTransform& a, const RotationTransform& b) {
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(a.matrix[r][c], b.matrix[r][c], kExact);
        EXPECT_NEAR(a.translation[r], b.translation[r], kExact);
    }
}

TEST(RotationTransformTest, PiIsFourArcTangentsOfOne) {
    EXPECT_EQ(radiansPerHalfTurn(), 4.0 * std::atan(1.0));
}

TEST(RotationTransformTest, ZeroAngleIsTheIdentityForAnyAxisAndPoint) {
    const double axes[][3] = {{0, 0, 1}, {1, 2, 3}, {-4, 0.5, -2}, {0, 0, 0}, {0, -2, 1}};
    for (const auto& d : axes) {
        setRotation(7.5, -3.0, 2.25, d[0], d[1], d[2], 0.0);
        const RotationTransform& t = currentRotationTransform();
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c)
                EXPECT_NEAR(t.matrix[r][c], r == c ? 1.0 : 0.0, kExact);
            EXPECT_NEAR(t.translation[r], 0.0, kExact);
        }
    }
}

TEST(RotationTransformTest, ZeroAxisMeansPlusZ) {
    setRotation(0, 0, 0, 0, 0, 0, kPi / 2);
    const RotationTransform zero = snapshot();
    expectTurned(turn(1, 0, 0), 0, 1, 0);
    setRotation(0, 0, 0, 0, 0, 1, kPi / 2);
    expectSameTransform(zero, snapshot());
}

TEST(RotationTransformTest, PositiveAngleTurnsCounterClockwiseAboutEachAxis) {
    setRotation(0, 0, 0, 0, 0, 1, kPi / 2);
    expectTurned(turn(1, 0, 0), 0, 1, 0);
    setRotation(0, 0, 0, 0, 2, 0, kPi / 2);
    expectTurned(turn(1, 0, 0), 0, 0, -1);
    setRotation(0, 0, 0, 1, 0, 0, kPi / 2);
    expectTurned(turn(0, 1, 0), 0, 0, 1);
}

TEST(RotationTransformTest, NegativeAxisIsTheOppositeTurn) {
    const double angle = 0.7;
    setRotation(1, 2, 3, 0, 0, -3, angle);
    const RotationTransform down = snapshot();
    setRotation(1, 2, 3, 0, 0, 1, -angle);
    expectSameTransform(down, snapshot());
    // Straight down along -X as well: the azimuth takes the half turn.
    setRotation(0, 0, 0, -5, 0, 0, angle);
    const RotationTransform minusX = snapshot();
    setRotation(0, 0, 0, 1, 0, 0, -angle);
    expectSameTransform(minusX, snapshot());
}

TEST(RotationTransformTest, AxisWithoutXInTheLowerHalfMatchesItsUnitAxis) {
    // dx is 0 and dy is below 0: the azimuth is three quarter turns.
    const double angle = 1.1;
    setRotation(0, 0, 0, 0, -2, 1, angle);
    const RotationTransform t = snapshot();
    const double nx = 0.0, ny = -2.0 / std::sqrt(5.0), nz = 1.0 / std::sqrt(5.0);
    const double c = std::cos(angle), s = std::sin(angle), k = 1.0 - c;
    const double expected[3][3] = {
        {c + k * nx * nx, k * nx * ny - s * nz, k * nx * nz + s * ny},
        {k * nx * ny + s * nz, c + k * ny * ny, k * ny * nz - s * nx},
        {k * nx * nz - s * ny, k * ny * nz + s * nx, c + k * nz * nz},
    };
    for (int r = 0; r < 3; ++r)
        for (int col = 0; col < 3; ++col)
            EXPECT_NEAR(t.matrix[r][col], expected[r][col], kExact);
}

TEST(RotationTransformTest, AxisPointStaysFixed) {
    const double axes[][3] = {{0, 0, 1}, {1, 1, 1}, {-2, 3, 0.5}, {0, -1, 0}};
    for (const auto& d : axes) {
        setRotation(1, 1, 0, d[0], d[1], d[2], 2.3);
        expectTurned(turn(1, 1, 0), 1, 1, 0);
    }
    setRotation(1, 1, 0, 0, 0, 1, kPi / 2);
    expectTurned(turn(2, 1, 0), 1, 2, 0);
}

TEST(RotationTransformTest, TurnKeepsDistancesAndPointsOnTheAxis) {
    // Any proper rotation: the matrix is orthonormal and points on the axis do not move.
    setRotation(0.5, -1, 2, 3, -4, 12, 0.9);
    const RotationTransform& t = currentRotationTransform();
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 3; ++b) {
            double dot = 0;
            for (int i = 0; i < 3; ++i)
                dot += t.matrix[i][a] * t.matrix[i][b];
            EXPECT_NEAR(dot, a == b ? 1.0 : 0.0, kExact);
        }
    expectTurned(turn(0.5 + 3, -1 - 4, 2 + 12), 3.5, -5, 14);
}

TEST(RotationTransformTest, ApplyLeavesTheTransformAlone) {
    setRotation(1, 2, 3, 1, 1, 0, 0.4);
    const RotationTransform before = snapshot();
    turn(5, 6, 7);
    turn(-1, 0, 1);
    expectSameTransform(before, snapshot());
}

TEST(RotateAboutJointTest, TurnsZFirstThenX) {
    const PiPoint pivot{0, 0, 0}, q{1, 0, 0};
    PiPoint result;
    rotateAboutJoint(static_cast<float>(kPi / 2), 0.0f, static_cast<float>(kPi / 2), &pivot, &q,
                     &result);
    // X first would have left the point at (0, 1, 0).
    EXPECT_TRUE(pointNear(result, 0, 0, 1));
}

TEST(RotateAboutJointTest, TurnsXBeforeY) {
    const PiPoint pivot{0, 0, 0}, q{0, 1, 0};
    PiPoint result;
    rotateAboutJoint(static_cast<float>(kPi / 2), static_cast<float>(kPi / 2), 0.0f, &pivot, &q,
                     &result);
    EXPECT_TRUE(pointNear(result, 1, 0, 0));
}

TEST(RotateAboutJointTest, ZeroAnglesKeepThePoint) {
    const PiPoint pivot{3, -2, 1}, q{1.5f, 2.25f, -7};
    PiPoint result;
    rotateAboutJoint(0, 0, 0, &pivot, &q, &result);
    EXPECT_EQ(result.x, q.x);
    EXPECT_EQ(result.y, q.y);
    EXPECT_EQ(result.z, q.z);
}

TEST(RotateAboutJointTest, TurnsAboutThePivotAndLeavesTheYTurnSet) {
    const PiPoint pivot{1, 1, 1}, q{2, 1, 1};
    PiPoint result;
    const float ry = 0.6f;
    rotateAboutJoint(0.0f, ry, static_cast<float>(kPi / 2), &pivot, &q, &result);
    // Z takes (2, 1, 1) to (1, 2, 1), which lies on the Y axis through the pivot.
    EXPECT_TRUE(pointNear(result, 1, 2, 1));
    const RotationTransform last = snapshot();
    setRotation(1, 1, 1, 0, 1, 0, ry);
    expectSameTransform(last, snapshot());
}

TEST(RotateAboutJointTest, ResultMayBeThePointItself) {
    const PiPoint pivot{0, 0, 0};
    PiPoint q{1, 0, 0};
    rotateAboutJoint(0.0f, 0.0f, static_cast<float>(kPi / 2), &pivot, &q, &q);
    EXPECT_TRUE(pointNear(q, 0, 1, 0));
}

}  // namespace
