#include "hierarchy/hierarchy_reader.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <string>
#include <vector>

#include "host/stand_in_host.h"
#include "support/figure_reading.h"
#include "support/temp_dir.h"

namespace {

using testing_support::FigureRead;
using testing_support::TempDir;
using testing_support::treeText;

// A figure file written into a temporary folder and read the way the loader reads it.
struct ReadText {
    TempDir dir;
    FigureRead read;
    int calls = 0;

    explicit ReadText(const std::string& text, bool readAll = true)
        : read(dir.write("figure.bvh", text)) {
        if (readAll) {
            calls = read.parseAll();
        }
    }
    Limb* root() const { return read.root(); }
    MotionTable& motion() const { return *read.motion(); }
};

TEST(HierarchyReaderTest, KeywordTableHoldsTheThirteenWordsInOrder) {
    const char* words[] = {"#",     "{",      "}",   "HIERARCHY", "ROOT", "OFFSET", "CHANNELS",
                           "JOINT", "MOTION", "END", "MAP",       "LOAD", "NAME"};
    int row = 0;
    for (; kHierarchyKeywords[row].id != -1; ++row) {
        ASSERT_LT(row, 13);
        EXPECT_EQ(kHierarchyKeywords[row].id, row + 1);
        EXPECT_STREQ(kHierarchyKeywords[row].word, words[row]);
    }
    EXPECT_EQ(row, 13);
}

TEST(HierarchyReaderTest, KeywordsAreLookedUpWhateverTheirCase) {
    EXPECT_EQ(lookupKeyword("root", kHierarchyKeywords), kKeywordRoot);
    EXPECT_EQ(lookupKeyword("Root", kHierarchyKeywords), kKeywordRoot);
    EXPECT_EQ(lookupKeyword("ROOT", kHierarchyKeywords), kKeywordRoot);
    EXPECT_EQ(lookupKeyword("End", kHierarchyKeywords), kKeywordEnd);
    EXPECT_EQ(lookupKeyword("END", kHierarchyKeywords), kKeywordEnd);
    EXPECT_EQ(lookupKeyword("Hierarchy", kHierarchyKeywords), kKeywordHierarchy);
    EXPECT_EQ(lookupKeyword("name", kHierarchyKeywords), kKeywordName);
    EXPECT_EQ(lookupKeyword("}", kHierarchyKeywords), kKeywordClose);
    EXPECT_EQ(lookupKeyword("Roots", kHierarchyKeywords), 0);
    EXPECT_EQ(lookupKeyword("", kHierarchyKeywords), 0);
    EXPECT_EQ(lookupKeyword(nullptr, kHierarchyKeywords), 0);
    EXPECT_EQ(lookupKeyword("ROOT", nullptr), 0);
    // The first matching row wins, and the walk stops at the row with id -1.
    const KeywordEntry rows[] = {{7, "twin"}, {8, "TWIN"}, {-1, "hidden"}, {9, "after"}};
    EXPECT_EQ(lookupKeyword("Twin", rows), 7);
    EXPECT_EQ(lookupKeyword("hidden", rows), 0);
    EXPECT_EQ(lookupKeyword("after", rows), 0);
}

TEST(HierarchyReaderTest, SmallestFileNamesTheRootAndEndsOnTheLoadersSecondCall) {
    ReadText file("HIERARCHY\r\nROOT Hips\r\n{\r\n\tOFFSET 0 0 0\r\n}\r\n", false);
    ASSERT_TRUE(file.read.opened());
    EXPECT_EQ(file.read.parseOnce(), 1);
    EXPECT_EQ(file.read.parseOnce(), 0);
    EXPECT_STREQ(file.root()->name, "Hips");
    EXPECT_DOUBLE_EQ(file.root()->radius, 2.0);
    EXPECT_EQ(file.root()->childCount, 0u);
    EXPECT_EQ(file.motion().channelCount(), 0);
    EXPECT_EQ(file.motion().frameCount, 0u);
    EXPECT_EQ(file.motion().mapCount, 0);
}

//   Hips
//   +-- Chest
//   |   +-- End
//   +-- MOTION
//   +-- End
TEST(HierarchyReaderTest, BlocksBuildChildrenInFileOrderAndArgumentsAreNotKeywords) {
    ReadText file(
        "hierarchy root Hips { Offset 1 2 3\n"
        "  joint Chest { OFFSET 0 5.21 0 end Site { OFFSET 0 1 0 } }\n"
        "  JOINT MOTION { }\n"
        "  End Whatever { }\n"
        "}\n");
    EXPECT_EQ(treeText(file.root()), "Hips[Chest[End],MOTION,End]");
    Limb* chest = file.root()->children[0];
    EXPECT_FLOAT_EQ(file.root()->offset.x, 1.0f);
    EXPECT_FLOAT_EQ(file.root()->offset.y, 2.0f);
    EXPECT_FLOAT_EQ(file.root()->offset.z, 3.0f);
    EXPECT_FLOAT_EQ(chest->offset.y, 5.21f);
    EXPECT_FLOAT_EQ(chest->children[0]->offset.y, 1.0f);
    EXPECT_DOUBLE_EQ(chest->radius, 2.0);
    // No default row is named End.
    EXPECT_DOUBLE_EQ(chest->children[0]->radius, 0.4);
    EXPECT_EQ(file.motion().frameCount, 0u);
}

TEST(HierarchyReaderTest, ASignOfTheWrongKindOrNoNumberReadsAsZero) {
    ReadText file(
        "ROOT a OFFSET Hips 2x -.5e1 JOINT b { OFFSET 1,2,3 } JOINT c { OFFSET nan inf 0x10 }");
    EXPECT_EQ(file.root()->offset.x, 0.0f);
    EXPECT_EQ(file.root()->offset.y, 2.0f);
    EXPECT_EQ(file.root()->offset.z, -5.0f);
    Limb* b = file.root()->children[0];
    EXPECT_EQ(b->offset.x, 1.0f);
    EXPECT_EQ(b->offset.y, 2.0f);
    EXPECT_EQ(b->offset.z, 3.0f);
    Limb* c = file.root()->children[1];
    EXPECT_EQ(c->offset.x, 0.0f);
    EXPECT_EQ(c->offset.y, 0.0f);
    EXPECT_EQ(c->offset.z, 0.0f);
}

TEST(HierarchyReaderTest, QuotedNamesKeepTheirSpacesAndLongNamesAreCut) {
    ReadText file("ROOT \"Left Arm\" JOINT ABCDEFGHIJKLMNOPQRSTUVWXYZ { MAP \"" +
                  std::string(50, 'm') + "\" }");
    EXPECT_STREQ(file.root()->name, "Left Arm");
    ASSERT_EQ(file.root()->childCount, 1u);
    EXPECT_STREQ(file.root()->children[0]->name, "ABCDEFGHIJKLMNO");
    EXPECT_EQ(std::string(file.root()->children[0]->mapName), std::string(43, 'm'));
}

TEST(HierarchyReaderTest, ChannelsAreNumberedAcrossLimbsInFileOrder) {
    ReadText file(
        "ROOT Hips { CHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n"
        "  JOINT Chest { CHANNELS 3 Zrotation Xrotation Yrotation\n"
        "    JOINT Neck { CHANNELS 2 Xrot " +
        std::string(40, 'c') +
        " }\n"
        "    End Site { CHANNELS 0 } } }\n");
    const MotionTable& motion = file.motion();
    ASSERT_EQ(motion.channelCount(), 11);
    const ChannelType expected[] = {kChannelXPosition, kChannelYPosition, kChannelZPosition,
                                    kChannelZRotation, kChannelXRotation, kChannelYRotation,
                                    kChannelZRotation, kChannelXRotation, kChannelYRotation,
                                    kChannelNone,      kChannelNone};
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(motion.channelType(i), expected[i]) << "channel " << i;
    }
    EXPECT_STREQ(motion.channels[3].name, "Zrotation");
    EXPECT_STREQ(motion.channels[9].name, "Xrot");
    EXPECT_EQ(std::string(motion.channels[10].name), std::string(31, 'c'));

    Limb* hips = file.root();
    Limb* chest = hips->children[0];
    Limb* neck = chest->children[0];
    Limb* site = chest->children[1];
    EXPECT_EQ(hips->firstChannel, 0u);
    EXPECT_EQ(hips->declaredChannels, 6u);
    EXPECT_EQ(chest->firstChannel, 6u);
    EXPECT_EQ(chest->declaredChannels, 3u);
    EXPECT_EQ(neck->firstChannel, 9u);
    EXPECT_EQ(neck->declaredChannels, 2u);
    // A count of 0 still marks where the limb's channels would begin.
    EXPECT_EQ(site->firstChannel, 11u);
    EXPECT_EQ(site->declaredChannels, 0u);
}

TEST(HierarchyReaderTest, ChannelsPastTheTableAreRefusedAndTheirNamesReadAsWords) {
    std::string text = "ROOT Hips { CHANNELS 126";
    for (int i = 0; i < 126; ++i) {
        text += " Xrotation";
    }
    // The refused names hold a keyword's look-alike only as plain words; the ROOT after them
    // is a statement of its own again.
    text +=
        " JOINT Chest { CHANNELS 3 Zrotation Xrotation Yrotation ROOT Renamed }"
        " JOINT Neck { CHANNELS -2 Zrotation Xrotation } }";
    ReadText file(text);
    const MotionTable& motion = file.motion();
    EXPECT_EQ(motion.channelCount(), 126);
    EXPECT_EQ(motion.columnCount(), 129);
    ASSERT_EQ(file.root()->childCount, 2u);
    Limb* chest = file.root()->children[0];
    EXPECT_EQ(chest->firstChannel, 0u);
    EXPECT_EQ(chest->declaredChannels, 0u);
    EXPECT_STREQ(chest->name, "Renamed");
    EXPECT_EQ(file.root()->children[1]->declaredChannels, 0u);
    EXPECT_EQ(file.root()->declaredChannels, 126u);
}

// About 150 channels, as a capture with finger joints has: the root's 6 and 48 joints. The first
// 40 joints take the table to 126; the 41st joint's 3 are refused, the 42nd declares 2 that fit
// into columns 129 and 130, and the remaining joints' are refused too. Each value is its frame
// times 1000 plus its column, so a value in the wrong column shows at once.
TEST(HierarchyReaderTest, MotionColumnsStayAlignedPastRefusedChannels) {
    constexpr int kFrames = 3;
    std::string text =
        "HIERARCHY ROOT Hips { CHANNELS 6 Xposition Yposition Zposition "
        "Zrotation Xrotation Yrotation\n";
    int columns = 6;
    for (int joint = 0; joint < 48; ++joint) {
        const int count = (joint == 41) ? 2 : 3;
        text += " JOINT J" + std::to_string(joint) + " { CHANNELS " + std::to_string(count);
        for (int i = 0; i < count; ++i) {
            text += " Zrotation";
        }
        text += "\n";
        columns += count;
    }
    // The joints form one chain (a limb holds at most 32 children), closed here.
    for (int joint = 0; joint < 48; ++joint)
        text += "}\n";
    text += "}\nMOTION\nFrames: " + std::to_string(kFrames) + "\nFrame Time: 0.033333\n";
    for (int f = 0; f < kFrames; ++f) {
        for (int c = 0; c < columns; ++c) {
            text += std::to_string(f * 1000 + c) + " ";
        }
        text += "\n";
    }
    text += "after ROOT Done\n";
    ReadText file(text);
    const MotionTable& motion = file.motion();
    ASSERT_EQ(columns, 149);
    ASSERT_EQ(motion.channelCount(), 128);
    EXPECT_EQ(motion.columnCount(), 149);
    EXPECT_EQ(motion.frameCount, static_cast<uint32_t>(kFrames));
    for (int c = 0; c < 128; ++c) {
        const int column = c < 126 ? c : c + 3;
        EXPECT_EQ(motion.channelColumn(c), column);
        for (int f = 0; f < kFrames; ++f) {
            ASSERT_EQ(motion.value(c, f), f * 1000 + column) << "channel " << c << " frame " << f;
        }
    }
    std::vector<Limb*> joints;
    for (Limb* limb = file.root(); limb->childCount > 0; limb = limb->children[0])
        joints.push_back(limb->children[0]);
    ASSERT_EQ(joints.size(), 48u);
    EXPECT_EQ(joints[39]->firstChannel, 123u);
    EXPECT_EQ(joints[40]->firstChannel, 0u);
    EXPECT_EQ(joints[40]->declaredChannels, 0u);
    EXPECT_EQ(joints[41]->firstChannel, 126u);
    EXPECT_EQ(joints[41]->declaredChannels, 2u);
    EXPECT_EQ(joints[42]->declaredChannels, 0u);
    // The statements after the values are read in step: the first token after the last value
    // is dropped, the rest apply to the root.
    EXPECT_STREQ(file.root()->name, "Done");
}

TEST(HierarchyReaderTest, MotionValuesGoFrameByFrameAndTheTokenAfterTheLastIsDropped) {
    ReadText file(
        "ROOT Hips { CHANNELS 3 Zrotation Xrotation Yrotation }\n"
        "motion frames: 2\nFRAME time: 0.033333\n1 2 3\n4 5 6\nROOT Later\n",
        false);
    EXPECT_EQ(file.read.parseOnce(), 1);  // the root's block
    EXPECT_EQ(file.read.parseOnce(), 1);  // the motion
    EXPECT_EQ(file.read.parseOnce(), 0);
    const MotionTable& motion = file.motion();
    EXPECT_EQ(motion.frameCount, 2u);
    EXPECT_EQ(motion.value(0, 0), 1.0);
    EXPECT_EQ(motion.value(1, 0), 2.0);
    EXPECT_EQ(motion.value(2, 0), 3.0);
    EXPECT_EQ(motion.value(0, 1), 4.0);
    EXPECT_EQ(motion.value(1, 1), 5.0);
    EXPECT_EQ(motion.value(2, 1), 6.0);
    // ROOT was the dropped token; Later is then a word and passed over.
    EXPECT_STREQ(file.root()->name, "Hips");
}

TEST(HierarchyReaderTest, FrameCountsAreHeldWithinTheTable) {
    // 1000 frames of one channel: 256 are read, the token after them dropped, the rest are
    // words, and the statement after them applies to the root again.
    std::string text = "ROOT Hips CHANNELS 1 Xrotation MOTION Frames: 1000 Frame Time: 0.1\n";
    for (int f = 0; f < 1000; ++f) {
        text += std::to_string(f) + "\n";
    }
    text += "ROOT After";
    ReadText many(text);
    EXPECT_EQ(many.motion().frameCount, 256u);
    EXPECT_EQ(many.motion().value(0, 255), 255.0);
    EXPECT_EQ(many.motion().value(0, 100), 100.0);
    EXPECT_STREQ(many.root()->name, "After");

    // A negative count reads no frames: the token that ended the header is dropped.
    ReadText negative("ROOT Hips CHANNELS 1 Xrotation MOTION Frames: -5 Frame Time: 0.1 ROOT Z");
    EXPECT_EQ(negative.motion().frameCount, 0u);
    EXPECT_STREQ(negative.root()->name, "Hips");

    // With no channels nothing is read either, whatever the frame count.
    ReadText noChannels("ROOT Hips MOTION Frames: 3 ROOT Named ROOT Last");
    EXPECT_EQ(noChannels.motion().frameCount, 3u);
    EXPECT_STREQ(noChannels.root()->name, "Last");
}

TEST(HierarchyReaderTest, CommentsArePassedOverOnlyAsWholeTokensWhereAStatementBegins) {
    ReadText plain("ROOT Hips /* ROOT Chest JOINT Arm { } */ OFFSET 1 2 3");
    EXPECT_STREQ(plain.root()->name, "Hips");
    EXPECT_EQ(plain.root()->childCount, 0u);
    EXPECT_EQ(plain.root()->offset.z, 3.0f);

    // Glued to a word, the marker is just a word; so is the closing one.
    ReadText glued("ROOT Hips /*ROOT Chest */");
    EXPECT_STREQ(glued.root()->name, "Hips");

    // Among a statement's arguments the marker is an argument.
    ReadText argument("ROOT /* JOINT x { } */");
    EXPECT_STREQ(argument.root()->name, "/*");
    EXPECT_EQ(treeText(argument.root()), "/*[x]");

    // A "#" starts no comment.
    ReadText hash("ROOT Hips # ROOT Head");
    EXPECT_STREQ(hash.root()->name, "Head");
}

TEST(HierarchyReaderTest, AFileEndingInsideACommentKeepsWhatCameBefore) {
    ReadText file("ROOT Hips { JOINT Chest { OFFSET 1 2 3 /* JOINT Lost { } ", false);
    EXPECT_EQ(file.read.parseOnce(), 0);
    EXPECT_EQ(treeText(file.root()), "Hips[Chest]");
    EXPECT_EQ(file.root()->children[0]->offset.z, 3.0f);
}

TEST(HierarchyReaderTest, ExtraClosingBracesEndTopLevelCallsAndReadingGoesOn) {
    ReadText file("ROOT Hips } } JOINT Chest { } ", false);
    EXPECT_EQ(file.read.parseOnce(), 1);
    EXPECT_EQ(file.read.parseOnce(), 1);
    EXPECT_EQ(file.read.parseOnce(), 0);
    EXPECT_EQ(treeText(file.root()), "Hips[Chest]");
}

TEST(HierarchyReaderTest, ASecondRootRenamesTheOneRootWhichHoldsTheJointsOfBoth) {
    ReadText file("ROOT A { JOINT X { } }\nROOT B { JOINT Y { } }\n");
    EXPECT_EQ(file.calls, 3);
    EXPECT_EQ(treeText(file.root()), "B[X,Y]");
}

// A 33rd child cannot be made. Its block is still read in step, storing nothing in any limb,
// but its channels are declared so that the motion keeps its columns.
//   Hips
//   +-- C0 ... C31
//   (C32 is not made: its offset, map, channels and End Site go nowhere)
TEST(HierarchyReaderTest, AChildThatCannotBeMadeIsReadInStepAndStillDeclaresItsChannels) {
    std::string text = "ROOT Hips { OFFSET 1 1 1\n";
    for (int i = 0; i < 32; ++i) {
        text += "JOINT C" + std::to_string(i) + " { }\n";
    }
    text +=
        "JOINT C32 { OFFSET 9 9 9 MAP Lamp CHANNELS 2 Zrotation Xrotation\n"
        "  JOINT Deeper { OFFSET 7 7 7 CHANNELS 1 Yrotation End Site { OFFSET 5 5 5 } }\n"
        "} MAP Rope }\n"
        "MOTION Frames: 1 Frame Time: 0.1 10 20 30";
    ReadText file(text);
    Limb* hips = file.root();
    ASSERT_EQ(hips->childCount, 32u);
    EXPECT_STREQ(hips->children[31]->name, "C31");
    EXPECT_EQ(hips->children[31]->childCount, 0u);
    EXPECT_EQ(hips->offset.x, 1.0f);
    EXPECT_STREQ(hips->mapName, "Rope");
    EXPECT_EQ(file.motion().mapCount, 2);
    const MotionTable& motion = file.motion();
    ASSERT_EQ(motion.channelCount(), 3);
    EXPECT_EQ(motion.channelType(2), kChannelYRotation);
    EXPECT_EQ(motion.value(0, 0), 10.0);
    EXPECT_EQ(motion.value(2, 0), 30.0);
    for (uint32_t i = 0; i < hips->childCount; ++i) {
        EXPECT_EQ(hips->children[i]->offset.x, 0.0f);
        EXPECT_EQ(hips->children[i]->declaredChannels, 0u);
    }
}

TEST(HierarchyReaderTest, MapNamesAreSetAndCounted) {
    ReadText file("ROOT Hips MAP Lamp JOINT Arm { MAP Rope } MAP Cable");
    EXPECT_STREQ(file.root()->mapName, "Cable");
    EXPECT_STREQ(file.root()->children[0]->mapName, "Rope");
    EXPECT_EQ(file.motion().mapCount, 3);
}

TEST(HierarchyReaderTest, LoadHasTheHostLoadTheFileAndNormalizeOnlyWhenItCould) {
    standin::resetScene();
    TempDir scenes;
    const std::string prop = scenes.write("prop.scn", "scene");
    ReadText file("ROOT Hips LOAD \"" + prop + "\" LOAD " + scenes.path("missing.scn") +
                  " NAME ROOT JOINT Arm { }");
    ASSERT_EQ(standin::scene().loadedFiles.size(), 1u);
    EXPECT_EQ(standin::scene().loadedFiles[0], prop);
    ASSERT_EQ(standin::scene().transforms.size(), 1u);
    EXPECT_EQ(standin::scene().transforms[0].first, -3);
    EXPECT_EQ(standin::scene().transforms[0].second, "normalize");
    // NAME passed over the word after it, which was ROOT.
    EXPECT_EQ(treeText(file.root()), "Hips[Arm]");
}

TEST(HierarchyReaderTest, AFileEndingInsideAStatementNeverUsesTheMissingToken) {
    // Each file ends right where the next token of a statement should come.
    ReadText afterRoot("ROOT Hips JOINT Chest { } ROOT");
    EXPECT_EQ(treeText(afterRoot.root()), "Hips[Chest]");

    ReadText afterJoint("ROOT Hips JOINT Chest { } JOINT");
    EXPECT_EQ(treeText(afterJoint.root()), "Hips[Chest]");

    ReadText afterEnd("ROOT Hips End");
    EXPECT_EQ(treeText(afterEnd.root()), "Hips");

    ReadText insideOffset("ROOT Hips OFFSET 4 5");
    EXPECT_EQ(insideOffset.root()->offset.x, 0.0f);
    EXPECT_EQ(insideOffset.root()->offset.y, 0.0f);

    ReadText insideChannels("ROOT Hips CHANNELS 3 Zrotation Xrotation");
    EXPECT_EQ(insideChannels.motion().channelCount(), 2);
    EXPECT_EQ(insideChannels.root()->declaredChannels, 2u);

    ReadText afterChannels("ROOT Hips CHANNELS");
    EXPECT_EQ(afterChannels.motion().channelCount(), 0);

    ReadText afterMap("ROOT Hips MAP");
    EXPECT_EQ(afterMap.motion().mapCount, 0);
    EXPECT_STREQ(afterMap.root()->mapName, "");

    standin::resetScene();
    ReadText afterLoad("ROOT Hips LOAD");
    EXPECT_TRUE(standin::scene().loadedFiles.empty());
    EXPECT_TRUE(standin::scene().transforms.empty());

    ReadText afterFrames("ROOT Hips CHANNELS 1 Xrotation MOTION Frames:");
    EXPECT_EQ(afterFrames.motion().frameCount, 0u);

    // Only the row that came whole is kept; the 9 of the row cut short is not.
    ReadText fewValues("ROOT Hips CHANNELS 2 Xrotation Yrotation MOTION Frames: 3 7 8 9");
    EXPECT_EQ(fewValues.motion().frameCount, 1u);
    EXPECT_EQ(fewValues.motion().value(0, 0), 7.0);
    EXPECT_EQ(fewValues.motion().value(1, 0), 8.0);
    EXPECT_EQ(fewValues.motion().channels[0].values[1], 0.0);
    EXPECT_TRUE(fewValues.motion().endedEarly());
}

// A motion section the file ends inside keeps the rows that came whole, and the table says how
// many of how many came; the rows past the 256 kept are counted too. Statements after a whole
// section still apply.
TEST(HierarchyReaderTest, MotionCutShortKeepsTheRowsThatCameWhole) {
    auto rows = [](int count, int columns) {
        std::string text;
        for (int f = 0; f < count; ++f) {
            for (int c = 0; c < columns; ++c)
                text += std::to_string(f * 10 + c) + " ";
            text += "\n";
        }
        return text;
    };
    const std::string head2 = "ROOT Hips CHANNELS 2 Xrotation Yrotation MOTION Frames: ";
    const struct {
        std::string text;
        uint32_t frameCount;
        int declared, complete;
        bool endedEarly;
    } cases[] = {
        {head2 + "4 Frame Time: 0.1 " + rows(4, 2), 4, 4, 4, false},
        {head2 + "4 Frame Time: 0.1 " + rows(2, 2) + "20", 2, 4, 2, true},
        {head2 + "4 Frame Time: 0.1 " + rows(3, 2), 3, 4, 3, true},
        {head2 + "4 Frame Time:", 0, 4, 0, true},
        {head2 + "4", 0, 4, 0, true},
        {head2 + "300 " + rows(280, 2) + "1", 256, 300, 280, true},
        {head2 + "300 " + rows(300, 2) + "ROOT After", 256, 300, 300, false},
        {head2 + "0 ", 0, 0, 0, false},
        {head2 + "-3 7 8", 0, 0, 0, false},
        // Without columns every row is whole.
        {"ROOT Hips MOTION Frames: 5", 5, 5, 5, false},
    };
    for (const auto& c : cases) {
        ReadText read(c.text);
        const MotionTable& motion = read.motion();
        const std::string where = c.text.substr(0, 80);
        EXPECT_EQ(motion.frameCount, c.frameCount) << where;
        EXPECT_EQ(motion.declaredFrames(), c.declared) << where;
        EXPECT_EQ(motion.completeFrames(), c.complete) << where;
        EXPECT_EQ(motion.endedEarly(), c.endedEarly) << where;
        for (uint32_t f = 0; f < motion.frameCount && motion.channelCount() == 2; ++f) {
            EXPECT_EQ(motion.value(0, static_cast<int>(f)), f * 10.0) << where;
            EXPECT_EQ(motion.value(1, static_cast<int>(f)), f * 10.0 + 1) << where;
        }
    }
    ReadText after(cases[6].text);
    EXPECT_STREQ(after.root()->name, "After");
}

// "Time:" gives the frame time; none, or one that is no positive number, leaves 0.
TEST(HierarchyReaderTest, FrameTimeIsKept) {
    const struct {
        const char* time;
        double kept;
    } cases[] = {{"Frame Time: 0.008333", 0.008333},
                 {"Frame Time: 0.041666666666", 0.041666666666},
                 {"time: 2", 2.0},
                 {"", 0.0},
                 {"Frame Time: 0", 0.0},
                 {"Frame Time: -1", 0.0},
                 {"Frame Time: x", 0.0},
                 {"Frame Time: 1e400", static_cast<double>(FLT_MAX)}};
    for (const auto& c : cases) {
        ReadText read(std::string("ROOT Hips CHANNELS 1 Xrotation MOTION Frames: 1 ") + c.time +
                      " 5");
        EXPECT_EQ(read.motion().frameTime, c.kept) << c.time;
        EXPECT_EQ(read.motion().value(0, 0), 5.0) << c.time;
    }
}

TEST(HierarchyReaderTest, AnEmptyOrMissingFileReadsNothing) {
    ReadText empty("");
    EXPECT_EQ(empty.calls, 1);
    EXPECT_EQ(treeText(empty.root()), ".");

    ReadText separators(" \r\n\t,,  ");
    EXPECT_EQ(separators.calls, 1);

    TempDir dir;
    FigureRead missing(dir.path("absent.bvh"));
    EXPECT_FALSE(missing.opened());
    EXPECT_EQ(parseBlock(nullptr, nullptr), 0);
}

}  // namespace
