// The FigureData record's layout: other modules of the host read its fields at fixed offsets
// through GetFigure, so no field may move, whatever the record keeps privately.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "model/figure_data.h"

namespace {

// offsetof on a record with virtual operations is allowed by the compilers the module is built
// with, which warn that the standard does not promise it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
#if INTPTR_MAX == INT32_MAX
constexpr size_t kRoot = 4, kOutputFile = 8, kSegmentStyle = 12, kDepth = 16, kMotion = 20,
                 kOwner = 24, kAttachedObject = 28, kPosing = 32, kSize = 36;
#else
constexpr size_t kRoot = 8, kOutputFile = 16, kSegmentStyle = 24, kDepth = 28, kMotion = 32,
                 kOwner = 40, kAttachedObject = 48, kPosing = 52, kSize = 56;
#endif
static_assert(offsetof(FigureData, root) == kRoot &&
                  offsetof(FigureData, outputFile) == kOutputFile &&
                  offsetof(FigureData, segmentStyle) == kSegmentStyle &&
                  offsetof(FigureData, depth) == kDepth &&
                  offsetof(FigureData, motion) == kMotion &&
                  offsetof(FigureData, owner) == kOwner &&
                  offsetof(FigureData, attachedObject) == kAttachedObject &&
                  offsetof(FigureData, posing) == kPosing,
              "hosts read the figure record's fields at these offsets");
static_assert(sizeof(FigureData) == kSize, "hosts that copy the record copy this many bytes");
#pragma GCC diagnostic pop

template <typename T>
T readAt(const FigureData* figure, size_t offset) {
    T value;
    std::memcpy(&value, reinterpret_cast<const unsigned char*>(figure) + offset, sizeof value);
    return value;
}

// What a host reading the raw record sees is what the module stored in each field.
TEST(FigureDataLayoutTest, FieldsAreWhereHostsReadThem) {
    FigureData* figure = FigureData::create(nullptr);
    ASSERT_NE(figure, nullptr);
    Limb limb{};
    tagStandardFile* file = reinterpret_cast<tagStandardFile*>(&limb.name);
    MotionTable* motion = reinterpret_cast<MotionTable*>(&limb.mapName);
    FigurePlugin* owner = reinterpret_cast<FigurePlugin*>(&limb.offset);
    figure->root = &limb;
    figure->outputFile = file;
    figure->segmentStyle = kSegmentBalloons;
    figure->depth = 17;
    figure->motion = motion;
    figure->owner = owner;
    figure->attachedObject = 4242;
    figure->posing = kPosingCaptured;

    EXPECT_EQ(readAt<Limb*>(figure, kRoot), &limb);
    EXPECT_EQ(readAt<tagStandardFile*>(figure, kOutputFile), file);
    EXPECT_EQ(readAt<int32_t>(figure, kSegmentStyle), kSegmentBalloons);
    EXPECT_EQ(readAt<int32_t>(figure, kDepth), 17);
    EXPECT_EQ(readAt<MotionTable*>(figure, kMotion), motion);
    EXPECT_EQ(readAt<FigurePlugin*>(figure, kOwner), owner);
    EXPECT_EQ(readAt<int32_t>(figure, kAttachedObject), 4242);
    EXPECT_EQ(readAt<int32_t>(figure, kPosing), kPosingCaptured);

    // Not destroyed: the record does not own what these point at.
    delete figure;
}

}  // namespace
