#include "model/limb_channels.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct TreeGuard {
    Limb* root;
    ~TreeGuard() { freeTree(root); }
};

std::unique_ptr<MotionTable> tableOf(int count, const char* name) {
    std::unique_ptr<MotionTable> motion(MotionTable::create(nullptr));
    for (int i = 0; i < count; ++i)
        motion->declareChannel(name);
    return motion;
}

// Whatever firstChannel says, a limb owns only what it declared, as far as the table holds it.
TEST(LimbChannelsTest, OwnChannelsComeFromTheDeclaration) {
    const struct {
        uint32_t first, declared;
        int held;
        uint32_t count;
    } cases[] = {{0, 0, 6, 0}, {0, 6, 6, 6}, {3, 3, 9, 3},
                 {4, 3, 5, 1}, {6, 3, 6, 0}, {2, 0xFFFFFFFFu, 4, 2}};
    for (const auto& c : cases) {
        TreeGuard limb{newLimb()};
        limb.root->firstChannel = c.first;
        limb.root->declaredChannels = c.declared;
        ChannelSpan span = limbChannels(limb.root, tableOf(c.held, "Xrotation").get());
        EXPECT_EQ(span.count, c.count) << c.first << "+" << c.declared << " of " << c.held;
        EXPECT_EQ(span.first, c.count != 0 ? c.first : 0u);
    }
}

// A limb without channels gets three zeroed ones at the end of the table, found by type; nobody
// else's move. A limb with channels, or a table without room for three, gets none.
TEST(LimbChannelsTest, AddedRotationChannelsAreTheLimbsOwn) {
    auto motion = tableOf(3, "Xposition");
    motion->declareChannel("Zrotation");
    motion->setValue(3, 2, 45.0);
    TreeGuard root{newLimb()};
    root.root->declaredChannels = 4;
    Limb* child = addChild(root.root);  // firstChannel 0, the root's
    EXPECT_EQ(rotationChannel(child, motion.get(), kChannelZRotation), -1);
    ASSERT_EQ(addRotationChannels(child, motion.get()), 1);
    EXPECT_EQ(motion->channelCount(), 7);
    const int expected[][2] = {
        {kChannelZRotation, 4}, {kChannelXRotation, 5}, {kChannelYRotation, 6}};
    for (const auto& [type, channel] : expected) {
        EXPECT_EQ(rotationChannel(child, motion.get(), static_cast<ChannelType>(type)), channel);
        EXPECT_EQ(motion->value(channel, 2), 0.0);
    }
    EXPECT_EQ(rotationChannel(root.root, motion.get(), kChannelZRotation), 3);
    EXPECT_EQ(motion->value(3, 2), 45.0);

    EXPECT_EQ(addRotationChannels(child, motion.get()), 0) << "it has its own already";
    auto full = tableOf(kMaxChannels - 2, "Xrotation");
    Limb* late = addChild(root.root);
    EXPECT_EQ(addRotationChannels(late, full.get()), 0);
    EXPECT_EQ(full->channelCount(), kMaxChannels - 2);
    EXPECT_EQ(late->declaredChannels, 0u);
}

}  // namespace
