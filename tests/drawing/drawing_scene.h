// What the drawing tests share: a fresh stand-in scene with a target object, point checks with a
// stated tolerance, and small builders for limb trees that free themselves.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "drawing/figure_renderer.h"
#include "host/stand_in_host.h"
#include "model/limb.h"

namespace drawing_test {

// Coordinates come back as floats worked out in doubles: a few float steps on values up to
// about 10 stay well inside this.
constexpr float kTolerance = 1e-5f;

inline ::testing::AssertionResult pointNear(const PiPoint& actual, float x, float y, float z,
                                            float tolerance = kTolerance) {
    if (std::fabs(actual.x - x) <= tolerance && std::fabs(actual.y - y) <= tolerance &&
        std::fabs(actual.z - z) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ", " << actual.z
                                         << ") is not (" << x << ", " << y << ", " << z << ")";
}

inline bool isFinite(const PiPoint& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// The points of geometry item n of an object.
inline std::vector<PiPoint> itemPoints(const standin::SceneObject& object, size_t n) {
    const standin::GeometryItem& item = object.geometry.at(n);
    return std::vector<PiPoint>(object.points.begin() + item.first,
                                object.points.begin() + item.first + item.kind);
}

// A fresh scene holding one figure object to draw into, with the module's drawing flag set as
// it is when the module starts. Error texts are kept, not echoed.
class SceneTest : public ::testing::Test {
  protected:
    void SetUp() override {
        standin::setEchoErrors(false);
        standin::resetScene();
        geometryCleared = true;
        handle = piCreateObject("figure", host::kFigureObjectType);
    }
    void TearDown() override { standin::setEchoErrors(true); }

    const standin::SceneObject& target() const { return *standin::object(handle); }
    const std::vector<std::string>& errors() const { return standin::scene().errors; }
    // The lines drawn, each as its two joints.
    std::vector<std::vector<PiPoint>> lines() const {
        std::vector<std::vector<PiPoint>> found;
        for (size_t n = 0; n < target().geometry.size(); ++n) {
            EXPECT_EQ(target().geometry[n].kind, host::kGeometryLine);
            found.push_back(itemPoints(target(), n));
        }
        return found;
    }

    int handle = -1;
};

// Owns a limb tree for one test.
struct TreeGuard {
    Limb* root;
    explicit TreeGuard(Limb* limb) : root(limb) {}
    TreeGuard(const TreeGuard&) = delete;
    TreeGuard& operator=(const TreeGuard&) = delete;
    ~TreeGuard() { freeTree(root); }
};

inline Limb* addChildAt(Limb* parent, float x, float y, float z) {
    Limb* child = addChild(parent);
    child->offset = PiPoint{x, y, z};
    return child;
}

}  // namespace drawing_test
