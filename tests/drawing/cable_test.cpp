#include "drawing/cable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "drawing/segment_geometry.h"
#include "drawing_scene.h"

namespace {

using drawing_test::kTolerance;
using drawing_test::pointNear;
using drawing_test::SceneTest;

class CableTest : public SceneTest {
  protected:
    // The cable objects made so far, in order.
    std::vector<const standin::SceneObject*> cables() const {
        std::vector<const standin::SceneObject*> found;
        for (const standin::SceneObject& object : standin::scene().objects)
            if (object.name.rfind("_Cable", 0) == 0)
                found.push_back(&object);
        return found;
    }
    static int cableNumber(const standin::SceneObject* cable) {
        return std::stoi(cable->name.substr(6));
    }
    const PiPoint from{0, 0, 0};
    const PiPoint to{1, 0, 0};
};

TEST_F(CableTest, TestSegmentIsSeventyTwoPointsInNineRings) {
    EXPECT_EQ(drawTestSegment(&from, &to), 1);
    ASSERT_EQ(cables().size(), 1u);
    const standin::SceneObject& cable = *cables()[0];
    EXPECT_EQ(cable.type, host::kCableObjectType);
    ASSERT_EQ(cable.geometry.size(), 72u);
    EXPECT_EQ(cable.count(host::kGeometryPoint), 72u);
    EXPECT_TRUE(pointNear(cable.points[0], 0, -0.4f, 0));
    for (int ring = 0; ring < 9; ++ring) {
        for (int i = 0; i < 8; ++i) {
            const PiPoint& p = cable.points[ring * 8 + i];
            EXPECT_NEAR(p.x, ring * 0.125, kTolerance);
            EXPECT_NEAR(std::hypot(p.y, p.z), 0.4, kTolerance);
        }
    }
    EXPECT_TRUE(cable.released);
    EXPECT_EQ(standin::scene().redrawCount, 1);
    EXPECT_TRUE(target().geometry.empty());  // the figure object is not touched
}

TEST_F(CableTest, EachCableGetsTheNextNumber) {
    drawTestSegment(&from, &to);
    drawTestSegment(&from, &to);
    ASSERT_EQ(cables().size(), 2u);
    EXPECT_EQ(cableNumber(cables()[1]), cableNumber(cables()[0]) + 1);
    EXPECT_EQ(cables()[0]->name, "_Cable" + std::to_string(cableNumber(cables()[0])));
}

TEST_F(CableTest, RefusedObjectPutsNothing) {
    standin::Faults faults;
    faults.createObjectFailsFrom = 1;
    standin::setFaults(faults);
    PolygonList* path = makeSegmentPath(&from, &to);
    EXPECT_EQ(putCable(path, 11, 8, 0.4), 0);
    EXPECT_TRUE(cables().empty());
    EXPECT_EQ(standin::scene().redrawCount, 0);
    freePolygonList(path);
}

TEST_F(CableTest, RefusedPointEndsTheCableAndReleasesIt) {
    standin::Faults faults;
    faults.putGeometryFailsFrom = 5;
    standin::setFaults(faults);
    PolygonList* path = makeSegmentPath(&from, &to);
    EXPECT_EQ(putCable(path, 11, 8, 0.4), 0);
    ASSERT_EQ(cables().size(), 1u);
    EXPECT_EQ(cables()[0]->geometry.size(), 4u);
    EXPECT_TRUE(cables()[0]->released);
    EXPECT_EQ(standin::scene().redrawCount, 0);
    freePolygonList(path);
}

TEST_F(CableTest, NoSegmentPathMakesNoObject) {
    const PiPoint pair[2] = {from, to};
    PolygonList* facets = addPolygon(2, nullptr, pair);
    EXPECT_EQ(putCable(facets, 11, 8, 0.4), 0);
    EXPECT_EQ(putCable(nullptr, 11, 8, 0.4), 0);
    EXPECT_TRUE(cables().empty());
    ASSERT_EQ(errors().size(), 1u);
    EXPECT_EQ(errors()[0], "Unable to Convert Facets to Cable");
    freePolygonList(facets);
}

TEST_F(CableTest, NonFiniteCableIsReleasedEmpty) {
    const PiPoint bad{0, std::numeric_limits<float>::quiet_NaN(), 0};
    EXPECT_EQ(drawTestSegment(&bad, &to), 1);
    ASSERT_EQ(cables().size(), 1u);
    EXPECT_TRUE(cables()[0]->geometry.empty());
    EXPECT_TRUE(cables()[0]->released);
}

}  // namespace
