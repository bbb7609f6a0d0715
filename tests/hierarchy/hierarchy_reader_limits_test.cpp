// The reader at its limits: nesting far beyond any skeleton, and files cut off anywhere.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <string>

#include "hierarchy/hierarchy_reader.h"
#include "hierarchy/number_reading.h"
#include "support/figure_reading.h"
#include "support/temp_dir.h"

namespace {

using testing_support::FigureRead;
using testing_support::sourceFile;
using testing_support::TempDir;

// Levels of limbs below the root along the chain of first children.
int firstChildDepth(const Limb* root) {
    int depth = 0;
    for (const Limb* limb = root; limb->childCount > 0; limb = limb->children[0]) {
        ++depth;
    }
    return depth;
}

const Limb* deepestFirstChild(const Limb* root) {
    const Limb* limb = root;
    while (limb->childCount > 0) {
        limb = limb->children[0];
    }
    return limb;
}

// A root holding a chain of `levels` nested joints, each with a MAP line; the innermost block
// holds `innermost`, and `closes` braces follow it. After them come a sibling of the chain and the
// root's own closing brace, then a motion of one frame for one channel.
//   Hips
//   +-- L1 (MAP m)
//   |   +-- L2 (MAP m)
//   |       +-- ... L<levels>: innermost
//   +-- Sibling
std::string nestedFile(int levels, const std::string& innermost, int closes) {
    std::string text = "HIERARCHY ROOT Hips {\n";
    for (int i = 1; i <= levels; ++i) {
        text += "JOINT L" + std::to_string(i) + " { MAP m\n";
    }
    text += innermost + "\n";
    for (int i = 0; i < closes; ++i) {
        text += "}\n";
    }
    text += "JOINT Sibling { }\n}\nMOTION Frames: 1 Frame Time: 0.1 42\n";
    return text;
}

TEST(HierarchyReaderLimitsTest, ChainsUpToTheNestingLimitAreReadWhole) {
    TempDir dir;
    FigureRead read(dir.write(
        "deep.bvh", nestedFile(kMaxLimbDepth, "CHANNELS 1 Xrotation OFFSET 4 5 6", kMaxLimbDepth)));
    read.parseAll();
    Limb* root = read.root();
    EXPECT_EQ(firstChildDepth(root), kMaxLimbDepth);
    const Limb* deepest = deepestFirstChild(root);
    EXPECT_EQ(std::string(deepest->name), "L" + std::to_string(kMaxLimbDepth));
    EXPECT_EQ(deepest->offset.z, 6.0f);
    EXPECT_EQ(deepest->declaredChannels, 1u);
    EXPECT_STREQ(deepest->mapName, "m");
    ASSERT_EQ(root->childCount, 2u);
    EXPECT_STREQ(root->children[1]->name, "Sibling");
    EXPECT_EQ(read.motion()->mapCount, kMaxLimbDepth);
    EXPECT_EQ(read.motion()->value(0, 0), 42.0);
}

TEST(HierarchyReaderLimitsTest, BlocksPastTheNestingLimitAreReadInStepWithoutLimbs) {
    TempDir dir;
    FigureRead read(dir.write(
        "deeper.bvh",
        nestedFile(kMaxLimbDepth + 1, "CHANNELS 1 Xrotation OFFSET 4 5 6", kMaxLimbDepth + 1)));
    read.parseAll();
    Limb* root = read.root();
    EXPECT_EQ(firstChildDepth(root), kMaxLimbDepth);
    const Limb* deepest = deepestFirstChild(root);
    EXPECT_EQ(std::string(deepest->name), "L" + std::to_string(kMaxLimbDepth));
    // The innermost block's statements were read, but had no limb to go to; its channel still
    // takes its column.
    EXPECT_EQ(deepest->offset.z, 0.0f);
    EXPECT_EQ(deepest->declaredChannels, 0u);
    EXPECT_EQ(read.motion()->channelCount(), 1);
    EXPECT_EQ(read.motion()->mapCount, kMaxLimbDepth + 1);
    ASSERT_EQ(root->childCount, 2u);
    EXPECT_STREQ(root->children[1]->name, "Sibling");
    EXPECT_EQ(read.motion()->value(0, 0), 42.0);
}

TEST(HierarchyReaderLimitsTest, EndSitesNestedBeyondTheLimitCountLevelsLikeJoints) {
    // Past the limit, End blocks and JOINT blocks nest alike, and each "}" closes one level.
    std::string innermost = "End Site { End Site { JOINT x { } } } CHANNELS 1 Xrotation";
    TempDir dir;
    FigureRead read(
        dir.write("ends.bvh", nestedFile(kMaxLimbDepth + 2, innermost, kMaxLimbDepth + 2)));
    read.parseAll();
    EXPECT_EQ(firstChildDepth(read.root()), kMaxLimbDepth);
    ASSERT_EQ(read.root()->childCount, 2u);
    EXPECT_STREQ(read.root()->children[1]->name, "Sibling");
    EXPECT_EQ(read.motion()->value(0, 0), 42.0);
}

TEST(HierarchyReaderLimitsTest, MotionPastTheNestingLimitEndsOnlyItsOwnBlock) {
    // MOTION ends the innermost block as a "}" would, so one brace fewer follows it.
    const std::string innermost = "CHANNELS 1 Xrotation MOTION Frames: 1 Frame Time: 0.1 7 dropped";
    TempDir dir;
    FigureRead read(
        dir.write("motion.bvh", nestedFile(kMaxLimbDepth + 3, innermost, kMaxLimbDepth + 2)));
    read.parseAll();
    ASSERT_EQ(read.root()->childCount, 2u);
    EXPECT_STREQ(read.root()->children[1]->name, "Sibling");
    // The motion at the end of the file replaces the value read deep inside.
    EXPECT_EQ(read.motion()->value(0, 0), 42.0);
    EXPECT_EQ(read.motion()->frameCount, 1u);
}

TEST(HierarchyReaderLimitsTest, AMillionNestedJointsNeitherExhaustTheStackNorLoseStep) {
    constexpr int kLevels = 1000000;
    std::string text = "ROOT Hips\n";
    text.reserve(static_cast<size_t>(kLevels) * 12 + 100);
    for (int i = 0; i < kLevels; ++i) {
        text += "JOINT a {\n";
    }
    const std::string opened = text;
    for (int i = 0; i < kLevels; ++i) {
        text += "}\n";
    }
    text += "JOINT Sibling { } ROOT Done\n";
    TempDir dir;
    {
        FigureRead read(dir.write("million.bvh", text));
        read.parseAll();
        EXPECT_EQ(firstChildDepth(read.root()), kMaxLimbDepth);
        EXPECT_STREQ(read.root()->name, "Done");
        ASSERT_EQ(read.root()->childCount, 2u);
        EXPECT_STREQ(read.root()->children[1]->name, "Sibling");
    }
    {
        // The same file cut off a million levels deep.
        FigureRead read(dir.write("unclosed.bvh", opened));
        EXPECT_EQ(read.parseOnce(), 0);
        EXPECT_EQ(firstChildDepth(read.root()), kMaxLimbDepth);
    }
}

// --- Every prefix of the sample capture ---------------------------------------------------

bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',';
}

// When a prefix ends inside a token, the part of the token it holds; that token is read as
// whatever this part says, a cut name or a cut number. Empty when the prefix ends between tokens.
std::string cutToken(const std::string& whole, size_t length) {
    if (length == 0 || length >= whole.size() || isSeparator(whole[length]) ||
        isSeparator(whole[length - 1])) {
        return "";
    }
    size_t start = length;
    while (start > 0 && !isSeparator(whole[start - 1])) {
        --start;
    }
    return whole.substr(start, length - start);
}

// Checks that what a prefix gave is part of what the whole file gives: every limb stands where
// it stands in the whole tree with the same name and offset, or holds what the cut token says,
// or has not been reached yet; and so on for channels and values.
// Only the root is ever unnamed: a limb is made once its name has come.
void expectPartOf(const Limb* part, const Limb* whole, const std::string& cut,
                  const std::string& where) {
    ASSERT_NE(whole, nullptr) << where << ": a limb the whole file does not have";
    const std::string name = part->name;
    const bool isRoot = where.find('/') == std::string::npos;
    EXPECT_TRUE(name == whole->name || (name == cut && !cut.empty()) || (isRoot && name == "."))
        << where << ": " << name;
    const float cutValue = static_cast<float>(readNumber(cut.c_str()));
    const float px[] = {part->offset.x, part->offset.y, part->offset.z};
    const float wx[] = {whole->offset.x, whole->offset.y, whole->offset.z};
    const bool unread = px[0] == 0.0f && px[1] == 0.0f && px[2] == 0.0f;
    const bool same = px[0] == wx[0] && px[1] == wx[1] && px[2] == wx[2];
    const bool lastCut = px[0] == wx[0] && px[1] == wx[1] && px[2] == cutValue && !cut.empty();
    EXPECT_TRUE(unread || same || lastCut) << where << ": offset";
    EXPECT_TRUE(part->declaredChannels == 0 || part->firstChannel == whole->firstChannel) << where;
    EXPECT_LE(part->declaredChannels, whole->declaredChannels) << where;
    ASSERT_LE(part->childCount, whole->childCount) << where << ": children";
    for (uint32_t i = 0; i < part->childCount; ++i) {
        expectPartOf(part->children[i], whole->children[i], cut, where + "/" + std::to_string(i));
    }
}

void expectMotionPartOf(const MotionTable& part, const MotionTable& whole, const std::string& cut,
                        const std::string& where) {
    ASSERT_LE(part.channelCount(), whole.channelCount()) << where;
    for (int c = 0; c < part.channelCount(); ++c) {
        const std::string name = part.channels[c].name;
        EXPECT_TRUE(name == whole.channels[c].name || name == cut) << where << ": channel " << c;
    }
    // The frames kept are the rows that came whole; the last value of the last of them may be
    // the cut token, and every other value is the whole file's.
    const uint32_t frames = part.frameCount;
    ASSERT_LE(frames, whole.frameCount) << where;
    if (part.channelCount() != whole.channelCount() || frames == 0) {
        return;
    }
    const double cutValue = readNumber(cut.c_str());
    for (uint32_t f = 0; f < frames; ++f) {
        for (int c = 0; c < part.channelCount(); ++c) {
            const double got = part.channels[c].values[f];
            const double expected = whole.channels[c].values[f];
            const bool lastRead = f + 1 == frames && c + 1 == part.channelCount();
            EXPECT_TRUE(got == expected || (lastRead && got == cutValue))
                << where << ": channel " << c << " frame " << f << ": " << got;
        }
    }
    // A row the file ended inside is not kept, not even in part.
    if (frames < static_cast<uint32_t>(kMaxFrames)) {
        for (int c = 0; c < part.channelCount(); ++c) {
            ASSERT_EQ(part.channels[c].values[frames], 0.0) << where << ": channel " << c;
        }
    }
}

class HierarchyReaderPrefixTest : public testing::TestWithParam<int> {};

// The prefixes are shared out over the shards by their length, so that the sweep runs in
// parallel; together the shards read every prefix of the file, the empty one and the whole one.
constexpr int kPrefixShards = 8;

TEST_P(HierarchyReaderPrefixTest, EveryPrefixOfTheSampleCaptureReadsAsPartOfTheWhole) {
    const std::string whole = sourceFile("examples/human.bvh");
    ASSERT_GT(whole.size(), 10000u);
    TempDir dir;
    FigureRead full(dir.write("whole.bvh", whole));
    full.parseAll();
    ASSERT_EQ(full.motion()->frameCount, 150u);
    ASSERT_EQ(full.motion()->channelCount(), 63);

    // One file is cut shorter and shorter in place, so that no prefix has to be written out.
    const std::string path = dir.write("prefix.bvh", whole);
    for (size_t length = whole.size() + 1; length-- > 0;) {
        if (static_cast<int>(length % kPrefixShards) != GetParam()) {
            continue;
        }
        ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(length)), 0);
        FigureRead part(path);
        part.parseAll();
        const std::string cut = cutToken(whole, length);
        const std::string where = "prefix of " + std::to_string(length) + " bytes";
        expectPartOf(part.root(), full.root(), cut, where + " root");
        expectMotionPartOf(*part.motion(), *full.motion(), cut, where);
        if (HasFatalFailure() || HasFailure()) {
            return;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Shards, HierarchyReaderPrefixTest, testing::Range(0, kPrefixShards));

}  // namespace
