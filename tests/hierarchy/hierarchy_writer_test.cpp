// Saving figures as .fig files, and reading them back.
#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <unistd.h>
#endif

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "host/stand_in_host.h"
#include "model/figure_data.h"
#include "support/figure_reading.h"
#include "support/temp_dir.h"
#include "support/windows_files.h"

namespace {

using testing_support::FigureRead;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::treeText;

// A figure data that frees what the test gives it.
struct OwnedFigure {
    FigureData* figure = FigureData::create(nullptr);
    ~OwnedFigure() {
        figure->destroy();
        delete figure;
    }
    FigureData* operator->() { return figure; }
};

Limb* child(Limb* parent, const char* name, float x, float y, float z) {
    Limb* limb = addChild(parent);
    setName(limb, name);
    limb->offset = PiPoint{x, y, z};
    return limb;
}

//   Hips ── Chest ── End (an End Site)      9 channels of motion, 2 frames
void buildExample(OwnedFigure& f) {
    f->root = newLimb();
    setName(f->root, "Hips");
    Limb* chest = child(f->root, "Chest", 0, 5.21f, 0);
    child(chest, "End", 0, 1, 0);
    f->motion = MotionTable::create(nullptr);
    for (int c = 0; c < 9; ++c)
        f->motion->declareChannel("c");
    for (int frame = 0; frame < 2; ++frame)
        for (int c = 0; c < 9; ++c)
            f->motion->setValue(c, frame, frame * 10 + c + 0.5);
}

const char kExample[] =
    "HIERARCHY\r\nROOT Hips\r\n{\r\n\tOFFSET 0 0 0\r\n"
    "\tCHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\r\n"
    "\tJOINT Chest\r\n\t{\r\n\t\tOFFSET 0 5.21 0\r\n"
    "\t\tCHANNELS 3 Zrotation Xrotation Yrotation\r\n"
    "\t\tEnd Site\r\n\t\t{\r\n\t\t\tOFFSET 0 1 0\r\n\t\t}\r\n\t}\r\n}\r\n"
    "MOTION\r\nFrames:     2\r\nFrame Time: 0.033333\r\n"
    "0.5 1.5 2.5 3.5 4.5 5.5 6.5 7.5 8.5 \r\n"
    "10.5 11.5 12.5 13.5 14.5 15.5 16.5 17.5 18.5 \r\n";

class HierarchyWriterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        standin::resetScene();
        standin::setEchoErrors(false);
    }
    TempDir dir;
};

TEST_F(HierarchyWriterTest, HandBuiltFigureGetsTheFixedLayout) {
    OwnedFigure f;
    buildExample(f);
    ASSERT_EQ(f->save(dir.path("example").c_str()), 1);
    EXPECT_EQ(readFile(dir.path("example.fig")), kExample);
}

// A hand-built motion with fewer channels than the fixed layout declares has its frame lines
// filled out with zeros, so that the file reads back with all its frames and says nothing of a
// file cut short; one with as many or more is written as it stands.
TEST_F(HierarchyWriterTest, FixedLayoutFrameLinesAreWhole) {
    const struct {
        int channels;
        const char* firstLine;
    } cases[] = {{2, "0.5 1.5 0 0 0 0 0 0 0 \r\n"},
                 {9, "0.5 1.5 2.5 3.5 4.5 5.5 6.5 7.5 8.5 \r\n"},
                 {10, "0.5 1.5 2.5 3.5 4.5 5.5 6.5 7.5 8.5 9.5 \r\n"}};
    for (const auto& c : cases) {
        OwnedFigure f;
        buildExample(f);
        delete f->motion;
        f->motion = MotionTable::create(nullptr);
        for (int ch = 0; ch < c.channels; ++ch)
            f->motion->declareChannel("c");
        for (int frame = 0; frame < 2; ++frame)
            for (int ch = 0; ch < c.channels; ++ch)
                f->motion->setValue(ch, frame, frame * 10 + ch + 0.5);
        const std::string path = dir.path("filled.fig");
        ASSERT_EQ(f->save(path.c_str()), 1);
        const std::string text = readFile(path);
        EXPECT_NE(text.find("Frame Time: 0.033333\r\n" + std::string(c.firstLine)),
                  std::string::npos)
            << text;
        standin::resetScene();
        OwnedFigure back;
        ASSERT_EQ(back->read(path.c_str(), 0), 1);
        EXPECT_EQ(back->motion->frameCount, 2u) << c.channels;
        EXPECT_FALSE(back->motion->endedEarly()) << c.channels;
        EXPECT_TRUE(standin::scene().errors.empty()) << standin::scene().errors.front();
    }
}

TEST_F(HierarchyWriterTest, StandardFileSavesBackByteForByte) {
    std::string original = dir.write("in.fig", kExample);
    FigureRead read(original);
    ASSERT_TRUE(read.opened());
    read.parseAll();
    OwnedFigure f;
    f->root = read.root();
    f->motion = read.motion();
    ASSERT_EQ(f->save(dir.path("out.fig").c_str()), 1);
    f->root = nullptr;  // the reader's guard frees them
    f->motion = nullptr;
    EXPECT_EQ(readFile(dir.path("out.fig")), kExample);
}

TEST_F(HierarchyWriterTest, DeletedSubtreesMapLinesAndTheRoot) {
    //   Hips (deleted, still written) ─┬─ Arm (MAP Lamp) ── End
    //                                  └─ Leg (deleted) ── Foot
    OwnedFigure f;
    f->root = newLimb();
    setName(f->root, "Hips");
    f->root->deleted = 1;
    Limb* arm = child(f->root, "Arm", 0.4f, -1.5f, 0);
    setMapName(arm, "Lamp");
    child(arm, "End", 0, 1, 0);
    Limb* leg = child(f->root, "Leg", 0, -1, 0);
    leg->deleted = 1;
    child(leg, "Foot", 0, -1, 0);
    ASSERT_EQ(f->save(dir.path("d.fig").c_str()), 1);
    std::string text = readFile(dir.path("d.fig"));
    EXPECT_NE(text.find("ROOT Hips"), std::string::npos);
    EXPECT_NE(text.find("\tJOINT Arm\r\n\t{\r\n\t\tOFFSET 0.4 -1.5 0\r\n"
                        "\t\tCHANNELS 3 Zrotation Xrotation Yrotation\r\n\t\tMAP Lamp\r\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("Leg"), std::string::npos);
    EXPECT_EQ(text.find("Foot"), std::string::npos);
    EXPECT_EQ(text.find("MOTION"), std::string::npos) << "no motion table, no motion section";
}

// The figure-access exports can leave a childCount past the 32 slots a limb has: the writer
// writes the children there are and reads nothing beyond the slots.
TEST_F(HierarchyWriterTest, ChildCountPastTheSlotsWritesTheSlots) {
    const struct {
        uint32_t childCount;
        size_t joints;
    } cases[] = {{33, 32}, {40, 32}, {0xFFFFFFFFu, 32}};
    for (const auto& c : cases) {
        OwnedFigure f;
        f->root = newLimb();
        setName(f->root, "Hips");
        for (int i = 0; i < kMaxChildren; ++i)
            child(f->root, ("J" + std::to_string(i)).c_str(), 0, 1, 0);
        f->root->childCount = c.childCount;
        const std::string path = dir.path("many.fig");
        const int saved = f->save(path.c_str());
        f->root->childCount = kMaxChildren;
        ASSERT_EQ(saved, 1) << c.childCount;
        const std::string text = readFile(path);
        size_t joints = 0;
        for (size_t at = text.find("JOINT J"); at != std::string::npos;
             at = text.find("JOINT J", at + 1))
            ++joints;
        EXPECT_EQ(joints, c.joints) << c.childCount;
        standin::resetScene();
        OwnedFigure back;
        ASSERT_EQ(back->read(path.c_str(), 0), 1) << c.childCount;
        EXPECT_EQ(back->root->childCount, static_cast<uint32_t>(kMaxChildren)) << c.childCount;
    }
}

TEST_F(HierarchyWriterTest, LonelyRootAndEmptyFrameLines) {
    OwnedFigure f;
    f->root = newLimb();
    f->motion = MotionTable::create(nullptr);
    f->motion->setValue(0, 2, 1.0);  // three frames, no channels
    ASSERT_EQ(f->save(dir.path("e").c_str()), 1);
    EXPECT_EQ(readFile(dir.path("e.fig")),
              "HIERARCHY\r\nROOT .\r\n{\r\n\tOFFSET 0 0 0\r\n}\r\n"
              "MOTION\r\nFrames:     3\r\nFrame Time: 0.033333\r\n\r\n\r\n\r\n");
}

TEST_F(HierarchyWriterTest, DepthStartsAtZeroForEverySave) {
    OwnedFigure f;
    buildExample(f);
    f->depth = 7;
    ASSERT_EQ(f->save(dir.path("a").c_str()), 1);
    EXPECT_EQ(f->depth, 0);
    f->depth = 3;
    ASSERT_EQ(f->save(dir.path("b").c_str()), 1);
    EXPECT_EQ(readFile(dir.path("a.fig")), readFile(dir.path("b.fig")));
}

TEST_F(HierarchyWriterTest, FailuresAreReportedWithThePathAsPassed) {
    OwnedFigure empty;
    EXPECT_EQ(empty->save(dir.path("none").c_str()), 0) << "no root";
    EXPECT_TRUE(standin::scene().errors.empty());

    OwnedFigure f;
    buildExample(f);
    std::string unreachable = dir.path("no/such/folder/walk");
    EXPECT_EQ(f->save(unreachable.c_str()), 0);
    ASSERT_EQ(standin::scene().errors.size(), 1u);
    EXPECT_EQ(standin::scene().errors[0], "Unable to create Figure data file " + unreachable);

#ifdef _WIN32
    // No full device to link to here; a file held open by another program cannot be replaced:
    // the figure is written beside it, the replacing fails, and the file keeps its content.
    std::string held = dir.path("held");
    dir.write("held.fig", "kept");
    {
        testing_support::ExclusiveOpen lock(held + ".fig");
        ASSERT_TRUE(lock.held());
        EXPECT_EQ(f->save(held.c_str()), 0);
    }
    EXPECT_EQ(readFile(held + ".fig"), "kept");
    // The file written beside it is gone again.
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.root()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"held.fig"});
    ASSERT_EQ(standin::scene().errors.size(), 2u);
    EXPECT_EQ(standin::scene().errors[1], "Unable to write Figure data file " + held);
#else
    // A full disk: every write fails, and the save must not claim success.
    std::string full = dir.path("full");
    ASSERT_EQ(symlink("/dev/full", (full + ".fig").c_str()), 0);
    EXPECT_EQ(f->save(full.c_str()), 0);
    ASSERT_EQ(standin::scene().errors.size(), 2u);
    EXPECT_EQ(standin::scene().errors[1], "Unable to write Figure data file " + full);
#endif
}

TEST_F(HierarchyWriterTest, NamesThatAreNotOneTokenAreQuoted) {
    //   "Left Arm" ─┬─ a"b ── End
    //               └─ (empty name) ── End
    OwnedFigure f;
    f->root = newLimb();
    setName(f->root, "Left Arm");
    Limb* quote = child(f->root, "a\"b", 0, 1, 0);
    setMapName(quote, "my lamp, 2");
    child(quote, "End", 0, 1, 0);
    Limb* unnamed = child(f->root, "", 1, 0, 0);
    child(unnamed, "End", 1, 0, 0);
    ASSERT_EQ(f->save(dir.path("q").c_str()), 1);
    std::string text = readFile(dir.path("q.fig"));
    EXPECT_NE(text.find("ROOT \"Left Arm\"\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("JOINT \"a\\\"b\"\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("MAP \"my lamp, 2\"\r\n"), std::string::npos) << text;

    FigureRead back(dir.path("q.fig"));
    ASSERT_TRUE(back.opened());
    back.parseAll();
    EXPECT_EQ(treeText(back.root()), "Left Arm[a\"b[End],[End]]");
    EXPECT_STREQ(back.root()->children[0]->mapName, "my lamp, 2");
}

// Reads a file, saves it, reads the save, and compares what the two reads hold.
class RoundTripTest : public HierarchyWriterTest {
  protected:
    // The channels of every limb in pre-order, with their names and values at every frame.
    static void collect(const Limb* limb, const MotionTable* motion,
                        std::vector<std::string>* out) {
        char line[256];
        std::snprintf(line, sizeof line, "%s %g %g %g map=%s", limb->name, limb->offset.x,
                      limb->offset.y, limb->offset.z, limb->mapName);
        std::string text = line;
        for (uint32_t c = 0; c < limb->declaredChannels; ++c) {
            const MotionChannel& channel = motion->channels[limb->firstChannel + c];
            text += std::string(" ") + std::to_string(channel.type);
            if (channel.type == kChannelNone)
                text += std::string(":") + channel.name;
            for (uint32_t frame = 0; frame < motion->frameCount; ++frame) {
                std::snprintf(line, sizeof line, ",%.6g",
                              motion->value(static_cast<int>(limb->firstChannel + c),
                                            static_cast<int>(frame)));
                text += line;
            }
        }
        out->push_back(text);
        for (uint32_t i = 0; i < limb->childCount; ++i)
            if (limb->children[i]->deleted != 1)
                collect(limb->children[i], motion, out);
    }

    void expectRoundTrip(const std::string& path, void (*edit)(Limb* root) = nullptr) {
        FigureRead first(path);
        ASSERT_TRUE(first.opened());
        first.parseAll();
        if (edit != nullptr)
            edit(first.root());
        OwnedFigure f;
        f->root = first.root();
        f->motion = first.motion();
        ASSERT_EQ(f->save(dir.path("round").c_str()), 1);
        f->root = nullptr;
        f->motion = nullptr;

        FigureRead second(dir.path("round.fig"));
        ASSERT_TRUE(second.opened());
        second.parseAll();
        std::vector<std::string> before, after;
        collect(first.root(), first.motion(), &before);
        collect(second.root(), second.motion(), &after);
        EXPECT_EQ(before, after);
        EXPECT_EQ(first.motion()->frameCount, second.motion()->frameCount);
    }
};

TEST_F(RoundTripTest, HumanCaptureInBothRotationOrders) {
    expectRoundTrip(std::string(FIGURE_SOURCE_DIR) + "/examples/human.bvh");
}

TEST_F(RoundTripTest, DeletingALimbWithChannelsKeepsTheOthersInTheirColumns) {
    expectRoundTrip(std::string(FIGURE_SOURCE_DIR) + "/examples/human.bvh", [](Limb* root) {
        ASSERT_GT(root->childCount, 1u);
        root->children[1]->deleted = 1;
    });
}

TEST_F(RoundTripTest, ChannelsOnEndSitesAndSixOnJoints) {
    //   Hips ── Knee(6 channels) ── End(2 channels, one with an unknown name)
    std::string path = dir.write(
        "odd.bvh",
        "HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 3 Zrotation Yrotation Xrotation\n"
        "JOINT Knee\n{\nOFFSET 0 -4 0\nCHANNELS 6 Xposition Yposition Zposition Zrotation "
        "Yrotation Xrotation\nEnd Site\n{\nOFFSET 0 -4 0\nCHANNELS 2 Xrotation Twist\n}\n}\n}\n"
        "MOTION\nFrames: 2\nFrame Time: 0.01\n"
        "1 2 3 4 5 6 7 8 9 10 11\n12 13 14 15 16 17 18 19 20 21 22\n");
    expectRoundTrip(path);
}

TEST_F(RoundTripTest, LinesLongerThanOnePutAndLineBreaksInsideNames) {
    //   "arm\r\nleft" (128 channels of 31-character quoted names: a CHANNELS line over 4 KB)
    //     └─ "a\rb" ── End
    std::string text = "HIERARCHY\nROOT \"arm\r\nleft\"\n{\nOFFSET 1 2 3\nCHANNELS 128";
    for (int c = 0; c < 128; ++c) {
        char name[40];
        std::snprintf(name, sizeof name, " \"channel, number %03d of the many\"", c);
        text += name;
    }
    text +=
        "\nJOINT \"a\rb\"\n{\nOFFSET 0 1 0\nEnd Site\n{\nOFFSET 0 1 0\n}\n}\n}\n"
        "MOTION\nFrames: 2\nFrame Time: 0.1\n";
    for (int v = 0; v < 256; ++v)
        text += std::to_string(v * 0.25) + " ";
    expectRoundTrip(dir.write("long.bvh", text));
    std::string saved = readFile(dir.path("round.fig"));
    EXPECT_NE(saved.find("ROOT \"arm\r\nleft\"\r\n"), std::string::npos);
    EXPECT_NE(saved.find("\tJOINT \"a\rb\"\r\n"), std::string::npos);
}

}  // namespace

namespace {

// A figure that used to read back as another, what it must read back as, and a line the file
// must hold.
struct ReadBackCase {
    const char* what;
    void (*build)(Limb* root);
    const char* tree;  // as treeText shows it
    const char* line;
};

const ReadBackCase kReadBackCases[] = {
    //   "Left Arm\" ─┬─ "Hand 1\\" ── End        (map "my lamp\")
    //                └─ Foot ── End
    {"quoted names ending in a backslash",
     [](Limb* root) {
         setName(root, "Left Arm\\");
         Limb* hand = child(root, "Hand 1\\\\", 0, 1, 0);
         setMapName(hand, "my lamp\\");
         child(hand, "End", 0, 1, 0);
         child(child(root, "Foot", 0, -1, 0), "End", 0, -1, 0);
     },
     "Left Arm[Hand 1\\\\[End],Foot[End]]", "\tJOINT \"Hand 1\\\\\"\r\n"},
    //   "x\"y z" ── a ── End: a quote after one backslash loses the backslash
    {"a backslash before a quote",
     [](Limb* root) {
         setName(root, "x\\\"y z");
         child(child(root, "a", 0, 1, 0), "End", 0, 1, 0);
     },
     "x\"y z[a[End]]", "ROOT \"x\\\"y z\"\r\n"},
    //   Hips ── Knee ── Toe (a leaf joint, not an End Site)
    {"a leaf joint",
     [](Limb* root) {
         setName(root, "Hips");
         child(child(root, "Knee", 0, -4, 0), "Toe", 0, -1, 1);
     },
     "Hips[Knee[Toe]]", "\t\tJOINT Toe\r\n"},
    //   Hips alone
    {"a root without children", [](Limb* root) { setName(root, "Hips"); }, "Hips", "ROOT Hips\r\n"},
    //   Hips ── End: an End Site stays one
    {"an End Site leaf",
     [](Limb* root) {
         setName(root, "Hips");
         child(root, "End", 0, 1, 0);
     },
     "Hips[End]", "\tEnd Site\r\n"},
};

class ReadBackTest : public HierarchyWriterTest,
                     public ::testing::WithParamInterface<ReadBackCase> {};

TEST_P(ReadBackTest, SavedFigureReadsBackAsItWas) {
    const ReadBackCase& c = GetParam();
    OwnedFigure f;
    f->root = newLimb();
    c.build(f->root);
    ASSERT_EQ(f->save(dir.path("back").c_str()), 1);
    const std::string text = readFile(dir.path("back.fig"));
    EXPECT_NE(text.find(c.line), std::string::npos) << c.what << "\n" << text;
    FigureRead back(dir.path("back.fig"));
    ASSERT_TRUE(back.opened());
    back.parseAll();
    EXPECT_EQ(treeText(back.root()), c.tree) << c.what << "\n" << text;
    if (f->root->childCount > 0 && f->root->children[0]->mapName[0] != '\0') {
        EXPECT_STREQ(back.root()->children[0]->mapName, "my lamp") << c.what;
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, ReadBackTest, ::testing::ValuesIn(kReadBackCases));

}  // namespace
