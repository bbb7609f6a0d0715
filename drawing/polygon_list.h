// Small point polygons in a singly linked list. A segment path is such a list of one-point
// polygons; the list owns its nodes and their point arrays, and freePolygonList frees them.
#pragma once

#include <cstdint>

#include "plugin/host_library.h"

// The largest polygon a node holds: enough for every face the drawing code makes.
constexpr uint32_t kMaxPolygonPoints = 8;

// Failure codes shown with "Error_allocating_llist %d", one per step that can fail.
constexpr int kNodeAllocationFailed = 105;
constexpr int kPointAllocationFailed = 124;
constexpr int kPointsNotWritable = 131;

struct PolygonList {
    PolygonList* next;    // null at the end of the list
    PiPoint* points;      // pointCount copies of the points the node was made from; owned
    int32_t reserved;     // 0; kept for the record's layout
    uint32_t pointCount;  // 1 to kMaxPolygonPoints
};

// Makes a node holding copies of count points and, when previous is given, links it behind
// previous. Null after showing "Error_allocating_llist %d" (105 node, 124 points, 131 points not
// writable) or "Error_invalid_polygon" (more than kMaxPolygonPoints points); nothing is kept then.
PolygonList* addPolygon(uint32_t count, PolygonList* previous, const PiPoint* points);
// The node after node; null at the end or for a null node.
PolygonList* nextPolygon(const PolygonList* node);
// Frees the list from head on. A node with more than kMaxPolygonPoints points is taken as
// damaged: it and the rest are left alone. 0 for a null head, else 1.
int freePolygonList(PolygonList* head);
// 1 when head is a one-point polygon, the mark of a segment path. A null head yields 0 quietly;
// any other head shows "Unable to Convert Facets to Cable" and yields 0.
int isPointPath(const PolygonList* head);
