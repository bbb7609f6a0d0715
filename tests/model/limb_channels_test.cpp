#include "model/limb_channels.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct TreeGuard {
    Limb* root;
    ~TreeGuard() { freeTree(root); }
};

std::unique_ptr<MotionTable> tableOf(std::initializer_list<const char*> names) {
    std::unique_ptr<MotionTable> motion(MotionTable::create(nullptr));
    for (const char* name : names)
        motion->declareChannel(name);
    return motion;
}

// Whatever firstChannel says, a limb owns only what it declared, and only what the table holds.
TEST(LimbChannelsTest, OwnChannelsComeFromTheDeclaration) {
    const struct {
        uint32_t first, declared;
        int held;
        uint32_t count;
    } cases[] = {
        {0, 0, 6, 0},  // firstChannel 0 without a declaration: none, not the root's
        {0, 6, 6, 6}, {3, 3, 9, 3}, {4, 3, 5, 1}, {6, 3, 6, 0}, {2, 0xFFFFFFFFu, 4, 2},
    };
    for (const auto& c : cases) {
        TreeGuard limb{newLimb()};
        limb.root->firstChannel = c.first;
        limb.root->declaredChannels = c.declared;
        std::unique_ptr<MotionTable> motion(MotionTable::create(nullptr));
        for (int i = 0; i < c.held; ++i)
            motion->declareChannel("Xrotation");
        ChannelSpan span = limbChannels(limb.root, motion.get());
        EXPECT_EQ(span.count, c.count) << c.first << "+" << c.declared << " of " << c.held;
        if (c.count != 0) {
            EXPECT_EQ(span.first, c.first);
        }
    }
    EXPECT_EQ(limbChannels(nullptr, nullptr).count, 0u);
}

// A BioVision root's rotations stand after its positions; the first channel of each type counts.
TEST(LimbChannelsTest, RotationChannelsAreFoundWhereverTheyStand) {
    auto motion = tableOf({"Xposition", "Yposition", "Zposition", "Zrotation", "Xrotation",
                           "Yrotation", "Zrotation"});
    TreeGuard root{newLimb()};
    root.root->declaredChannels = 6;
    EXPECT_EQ(rotationChannel(root.root, motion.get(), kChannelXRotation), 4);
    EXPECT_EQ(rotationChannel(root.root, motion.get(), kChannelYRotation), 5);
    EXPECT_EQ(rotationChannel(root.root, motion.get(), kChannelZRotation), 3);
    Limb* child = addChild(root.root);  // firstChannel 0, nothing declared
    EXPECT_EQ(rotationChannel(child, motion.get(), kChannelZRotation), -1);
}

// A limb without channels gets three at the end of the table, zeroed, and no other channel or
// limb changes; a limb with channels or a full table gets none.
TEST(LimbChannelsTest, AddedRotationChannelsAreTheLimbsOwn) {
    auto motion = tableOf({"Xposition", "Yposition", "Zposition", "Zrotation"});
    motion->setValue(3, 2, 45.0);
    TreeGuard root{newLimb()};
    root.root->declaredChannels = 4;
    Limb* child = addChild(root.root);
    ASSERT_EQ(addRotationChannels(child, motion.get()), 1);
    EXPECT_EQ(child->firstChannel, 4u);
    EXPECT_EQ(child->declaredChannels, 3u);
    EXPECT_EQ(motion->channelCount(), 7);
    EXPECT_EQ(rotationChannel(child, motion.get(), kChannelZRotation), 4);
    EXPECT_EQ(rotationChannel(child, motion.get(), kChannelXRotation), 5);
    EXPECT_EQ(rotationChannel(child, motion.get(), kChannelYRotation), 6);
    for (int c = 4; c < 7; ++c)
        EXPECT_EQ(motion->value(c, 2), 0.0);
    EXPECT_EQ(motion->value(3, 2), 45.0);
    EXPECT_EQ(rotationChannel(root.root, motion.get(), kChannelZRotation), 3);

    EXPECT_EQ(addRotationChannels(child, motion.get()), 0) << "it has its own already";
    EXPECT_EQ(addRotationChannels(root.root, motion.get()), 0);
    auto full = tableOf({});
    for (int i = 0; i < kMaxChannels - 2; ++i)
        full->declareChannel("Xrotation");
    Limb* late = addChild(root.root);
    EXPECT_EQ(addRotationChannels(late, full.get()), 0);
    EXPECT_EQ(full->channelCount(), kMaxChannels - 2);
    EXPECT_EQ(late->declaredChannels, 0u);
}

}  // namespace
