#include "drawing/polygon_list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include "drawing/double_array.h"
#include "drawing_scene.h"

namespace {

using drawing_test::SceneTest;

class PolygonListTest : public SceneTest {};

TEST_F(PolygonListTest, NodeCopiesItsPointsAndLinksBehindThePrevious) {
    PiPoint points[3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    PolygonList* head = addPolygon(1, nullptr, points);
    ASSERT_NE(head, nullptr);
    PolygonList* second = addPolygon(3, head, points);
    ASSERT_NE(second, nullptr);
    points[0].x = 100;  // the nodes hold copies
    EXPECT_EQ(nextPolygon(head), second);
    EXPECT_EQ(nextPolygon(second), nullptr);
    EXPECT_EQ(head->pointCount, 1u);
    EXPECT_EQ(head->reserved, 0);
    EXPECT_EQ(head->points[0].x, 1.0f);
    EXPECT_EQ(second->pointCount, 3u);
    EXPECT_EQ(second->points[2].z, 9.0f);
    EXPECT_EQ(freePolygonList(head), 1);
    EXPECT_TRUE(errors().empty());
}

TEST_F(PolygonListTest, EightPointsAreAcceptedNineRefused) {
    PiPoint points[9] = {};
    PolygonList* eight = addPolygon(8, nullptr, points);
    ASSERT_NE(eight, nullptr);
    EXPECT_TRUE(errors().empty());
    EXPECT_EQ(addPolygon(9, eight, points), nullptr);
    ASSERT_EQ(errors().size(), 1u);
    EXPECT_EQ(errors()[0], "Error_invalid_polygon");
    EXPECT_EQ(nextPolygon(eight), nullptr);  // the refused node was not linked
    freePolygonList(eight);
}

TEST_F(PolygonListTest, PointsAreRequiredForANonEmptyPolygon) {
    EXPECT_EQ(addPolygon(2, nullptr, nullptr), nullptr);
    ASSERT_EQ(errors().size(), 1u);
    EXPECT_EQ(errors()[0], "Error_invalid_polygon");
}

TEST_F(PolygonListTest, FreeingNoneAnswersZero) {
    EXPECT_EQ(freePolygonList(nullptr), 0);
    EXPECT_EQ(nextPolygon(nullptr), nullptr);
}

TEST_F(PolygonListTest, FreeingStopsAtADamagedNode) {
    PiPoint point{0, 0, 0};
    PolygonList* head = addPolygon(1, nullptr, &point);
    // A node claiming more points than any polygon holds is left alone with the rest.
    auto* damaged = static_cast<PolygonList*>(std::calloc(1, sizeof(PolygonList)));
    damaged->pointCount = 9;
    head->next = damaged;
    EXPECT_EQ(freePolygonList(head), 1);
    EXPECT_EQ(damaged->pointCount, 9u);
    std::free(damaged);
}

TEST_F(PolygonListTest, OnlyAOnePointHeadMarksASegmentPath) {
    PiPoint points[2] = {};
    PolygonList* one = addPolygon(1, nullptr, points);
    PolygonList* two = addPolygon(2, nullptr, points);
    addPolygon(2, one, points);  // only the head is looked at
    EXPECT_EQ(isPointPath(one), 1);
    EXPECT_TRUE(errors().empty());
    EXPECT_EQ(isPointPath(nullptr), 0);
    EXPECT_TRUE(errors().empty());
    EXPECT_EQ(isPointPath(two), 0);
    ASSERT_EQ(errors().size(), 1u);
    EXPECT_EQ(errors()[0], "Unable to Convert Facets to Cable");
    freePolygonList(one);
    freePolygonList(two);
}

class DoubleArrayTest : public SceneTest {};

TEST_F(DoubleArrayTest, GrowingKeepsTheLeadingValues) {
    double* array = allocDoubles(3);
    ASSERT_NE(array, nullptr);
    array[0] = 1.5;
    array[2] = -2.5;
    double* grown = reallocDoubles(array, 1000);
    ASSERT_NE(grown, nullptr);
    EXPECT_EQ(grown[0], 1.5);
    EXPECT_EQ(grown[2], -2.5);
    grown[999] = 4.0;
    std::free(grown);
    EXPECT_TRUE(errors().empty());
}

TEST_F(DoubleArrayTest, EmptyArrayIsNoFailure) {
    double* array = allocDoubles(0);
    EXPECT_NE(array, nullptr);
    std::free(array);
    EXPECT_TRUE(errors().empty());
}

TEST_F(DoubleArrayTest, SizeBeyondMemoryReportsNotEnoughMemory) {
    EXPECT_EQ(allocDoubles(SIZE_MAX), nullptr);
    double* array = allocDoubles(4);
    ASSERT_NE(array, nullptr);
    array[3] = 9.0;
    EXPECT_EQ(reallocDoubles(array, SIZE_MAX / 2), nullptr);
    EXPECT_EQ(array[3], 9.0);  // still the caller's
    std::free(array);
    ASSERT_EQ(errors().size(), 2u);
    EXPECT_EQ(errors()[0], "Not enough memory");
    EXPECT_EQ(errors()[1], "Not enough memory");
}

}  // namespace
