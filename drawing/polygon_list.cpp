#include "drawing/polygon_list.h"

#include <cstdlib>

#include "platform/memory_check.h"

PolygonList* addPolygon(uint32_t count, PolygonList* previous, const PiPoint* points) {
    auto* node = static_cast<PolygonList*>(std::malloc(sizeof(PolygonList)));
    if (node == nullptr) {
        ErrorMessage("Error_allocating_llist %d", kNodeAllocationFailed);
        return nullptr;
    }
    node->next = nullptr;
    node->points = nullptr;
    node->pointCount = count;
    if (count > kMaxPolygonPoints || (count != 0 && points == nullptr)) {
        ErrorMessage("Error_invalid_polygon");
        std::free(node);
        return nullptr;
    }
    node->reserved = 0;
    const size_t bytes = sizeof(PiPoint) * (count == 0 ? 1 : count);
    node->points = static_cast<PiPoint*>(std::malloc(bytes));
    if (node->points == nullptr) {
        ErrorMessage("Error_allocating_llist %d", kPointAllocationFailed);
        std::free(node);
        return nullptr;
    }
    if (win::IsBadWritePtr(node->points, bytes)) {
        ErrorMessage("Error_allocating_llist %d", kPointsNotWritable);
        std::free(node->points);
        std::free(node);
        return nullptr;
    }
    for (uint32_t i = 0; i < count; ++i)
        CopyPoint(&points[i], &node->points[i]);
    if (previous != nullptr)
        previous->next = node;
    return node;
}

PolygonList* nextPolygon(const PolygonList* node) {
    return node == nullptr ? nullptr : node->next;
}

int freePolygonList(PolygonList* head) {
    if (head == nullptr)
        return 0;
    PolygonList* node = head;
    while (node != nullptr && node->pointCount <= kMaxPolygonPoints) {
        PolygonList* next = node->next;
        std::free(node->points);
        std::free(node);
        node = next;
    }
    return 1;
}

int isPointPath(const PolygonList* head) {
    if (head == nullptr)
        return 0;
    if (head->pointCount != 1) {
        ErrorMessage("Unable to Convert Facets to Cable");
        return 0;
    }
    return 1;
}
