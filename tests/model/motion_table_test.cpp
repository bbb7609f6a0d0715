#include "model/motion_table.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

namespace {

std::unique_ptr<MotionTable> makeTable() {
    return std::unique_ptr<MotionTable>(MotionTable::create(nullptr));
}

TEST(MotionTableTest, NewTableIsEmptyAndKeepsItsSource) {
    tagStandardFile* source = reinterpret_cast<tagStandardFile*>(0x1000);
    std::unique_ptr<MotionTable> table(MotionTable::create(source));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->source, source);
    EXPECT_EQ(table->channelCount(), 0);
    EXPECT_EQ(table->frameCount, 0u);
    EXPECT_EQ(table->mapCount, 0);
    EXPECT_EQ(table->columnCount(), 0);
    // Channels never declared read as 0.0, not as whatever the heap held.
    for (int c = 0; c < kMaxChannels; c += 17) {
        EXPECT_EQ(table->value(c, 0), 0.0);
    }
}

TEST(MotionTableTest, ClearedTableIsAsNew) {
    std::unique_ptr<MotionTable> table = makeTable();
    table->declareChannel("Xrotation");
    table->skipColumns(3);
    table->setValue(100, 200, 7.5);  // a channel never declared
    table->mapCount = 2;
    tagStandardFile* source = reinterpret_cast<tagStandardFile*>(0x2000);
    table->clear(source);
    EXPECT_EQ(table->source, source);
    EXPECT_EQ(table->channelCount(), 0);
    EXPECT_EQ(table->frameCount, 0u);
    EXPECT_EQ(table->mapCount, 0);
    EXPECT_EQ(table->columnCount(), 0);
    EXPECT_EQ(table->channels[0].name[0], '\0');
    EXPECT_EQ(table->channels[0].type, kChannelNone);
    EXPECT_EQ(table->channels[100].values[200], 0.0);
    EXPECT_EQ(table->declareChannel("Yrotation"), 0);
    EXPECT_EQ(table->channelColumn(0), 0);
}

TEST(MotionTableTest, ChannelNamesMapToTypesWhateverTheirCase) {
    EXPECT_EQ(channelTypeForName("Xposition"), kChannelXPosition);
    EXPECT_EQ(channelTypeForName("YPOSITION"), kChannelYPosition);
    EXPECT_EQ(channelTypeForName("zposition"), kChannelZPosition);
    EXPECT_EQ(channelTypeForName("Xrotation"), kChannelXRotation);
    EXPECT_EQ(channelTypeForName("yRotation"), kChannelYRotation);
    EXPECT_EQ(channelTypeForName("Zrotation"), kChannelZRotation);
    EXPECT_EQ(channelTypeForName("Xrot"), kChannelNone);
    EXPECT_EQ(channelTypeForName("Zrotations"), kChannelNone);
    EXPECT_EQ(channelTypeForName(""), kChannelNone);
    EXPECT_EQ(channelTypeForName(nullptr), kChannelNone);
}

TEST(MotionTableTest, DeclaringAChannelNamesItTypesItAndZeroesItsValues) {
    auto table = makeTable();
    table->setValue(0, 3, 7.5);
    EXPECT_EQ(table->declareChannel("Zrotation"), 0);
    EXPECT_EQ(table->declareChannel("Xrot"), 1);
    EXPECT_EQ(table->channelCount(), 2);
    EXPECT_STREQ(table->channels[0].name, "Zrotation");
    EXPECT_EQ(table->channelType(0), kChannelZRotation);
    EXPECT_EQ(table->channelType(1), kChannelNone);
    for (double v : table->channels[0].values) {
        ASSERT_EQ(v, 0.0);
    }
    // A name longer than its field is cut to 31 characters.
    const std::string longName(40, 'q');
    EXPECT_EQ(table->declareChannel(longName.c_str()), 2);
    EXPECT_EQ(std::string(table->channels[2].name), std::string(31, 'q'));
}

TEST(MotionTableTest, ChannelTypeOutsideTheDeclaredChannelsIsNone) {
    auto table = makeTable();
    table->declareChannel("Xposition");
    EXPECT_EQ(table->channelType(0), kChannelXPosition);
    EXPECT_EQ(table->channelType(1), kChannelNone);
    EXPECT_EQ(table->channelType(-1), kChannelNone);
    EXPECT_EQ(table->channelType(kMaxChannels), kChannelNone);
}

TEST(MotionTableTest, AFullTableRefusesTheNextChannel) {
    auto table = makeTable();
    for (int i = 0; i < kMaxChannels; ++i) {
        ASSERT_EQ(table->declareChannel("Yrotation"), i);
    }
    EXPECT_EQ(table->declareChannel("Yrotation"), -1);
    EXPECT_EQ(table->channelCount(), kMaxChannels);
}

TEST(MotionTableTest, ReadingClampsTheFrameToTheFramesHeld) {
    auto table = makeTable();
    table->declareChannel("Xrotation");
    // No frames: every frame reads frame 0.
    table->channels[0].values[0] = 1.5;
    table->channels[0].values[4] = 9.0;
    EXPECT_EQ(table->value(0, 0), 1.5);
    EXPECT_EQ(table->value(0, 4), 1.5);

    for (int f = 0; f < 10; ++f) {
        table->setValue(0, f, 100.0 + f);
    }
    ASSERT_EQ(table->frameCount, 10u);
    EXPECT_EQ(table->value(0, 0), 100.0);
    EXPECT_EQ(table->value(0, 9), 109.0);
    EXPECT_EQ(table->value(0, 10), 109.0);
    EXPECT_EQ(table->value(0, 200), 109.0);
    EXPECT_EQ(table->value(0, 255), 109.0);
    EXPECT_EQ(table->value(0, 256), 0.0);
    EXPECT_EQ(table->value(0, -1), 0.0);
    EXPECT_EQ(table->value(-1, 0), 0.0);
    EXPECT_EQ(table->value(kMaxChannels, 0), 0.0);
}

TEST(MotionTableTest, WritingGrowsTheFrameCountAndRefusesOutsideTheTable) {
    auto table = makeTable();
    EXPECT_EQ(table->setValue(0, 5, 2.0), 1);
    EXPECT_EQ(table->frameCount, 6u);
    EXPECT_EQ(table->setValue(0, 3, 4.0), 1);
    EXPECT_EQ(table->frameCount, 6u);
    EXPECT_EQ(table->value(0, 3), 4.0);
    EXPECT_EQ(table->value(0, 5), 2.0);

    EXPECT_EQ(table->setValue(kMaxChannels, 0, 1.0), 0);
    EXPECT_EQ(table->setValue(0, kMaxFrames, 1.0), 0);
    EXPECT_EQ(table->setValue(-1, 0, 1.0), 0);
    EXPECT_EQ(table->setValue(0, -1, 1.0), 0);
    EXPECT_EQ(table->frameCount, 6u);
    EXPECT_EQ(table->value(0, 0), 0.0);

    EXPECT_EQ(table->setValue(kMaxChannels - 1, kMaxFrames - 1, 8.0), 1);
    EXPECT_EQ(table->frameCount, 256u);
    EXPECT_EQ(table->value(kMaxChannels - 1, kMaxFrames - 1), 8.0);
}

TEST(MotionTableTest, RefusedChannelsKeepTheirColumnsSoLaterChannelsStayInTheirOwn) {
    auto table = makeTable();
    table->declareChannel("Xposition");
    table->declareChannel("Yposition");
    table->skipColumns(3);
    table->skipColumns(0);
    table->skipColumns(-4);
    table->declareChannel("Zrotation");
    EXPECT_EQ(table->channelCount(), 3);
    EXPECT_EQ(table->columnCount(), 6);
    EXPECT_EQ(table->channelColumn(0), 0);
    EXPECT_EQ(table->channelColumn(1), 1);
    EXPECT_EQ(table->channelColumn(2), 5);
    EXPECT_EQ(table->channelColumn(3), -1);
    EXPECT_EQ(table->channelColumn(-1), -1);
}

TEST(MotionTableTest, TheColumnCountStopsAtTheLargestIntInsteadOfWrapping) {
    auto table = makeTable();
    table->declareChannel("Xposition");
    table->skipColumns(INT_MAX);
    EXPECT_EQ(table->columnCount(), INT_MAX);
    table->skipColumns(INT_MAX);
    EXPECT_EQ(table->columnCount(), INT_MAX);
    // No column is left for another channel.
    EXPECT_EQ(table->declareChannel("Yposition"), -1);
    EXPECT_EQ(table->channelCount(), 1);
}

}  // namespace
