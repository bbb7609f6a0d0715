// How fighost poses what it loads: as captured unless --posing world says otherwise, for .bvh and
// .fig alike, on every command that loads; info says which, and convert writes the same file
// either way.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QJsonObject>
#include <array>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "fighost_run.h"
#include "support/temp_dir.h"

namespace {

using fighost_test::examplePath;
using fighost_test::runFighost;
using fighost_test::RunResult;
using testing_support::readFile;
using testing_support::TempDir;

using Point = std::array<double, 3>;

// A root turned 90 degrees about Z at frame 1, with two limbs in line along X below it; at frame
// 2 Upper turns 90 degrees about Z and 90 about X, in the order of its CHANNELS line:
//
//   Root (6 channels)
//    └─ Upper  offset (1, 0, 0), 3 channels
//        └─ Lower  offset (1, 0, 0)
const char kChain[] =
    "HIERARCHY\n"
    "ROOT Root\n"
    "{\n"
    "\tOFFSET 0 0 0\n"
    "\tCHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n"
    "\tJOINT Upper\n"
    "\t{\n"
    "\t\tOFFSET 1 0 0\n"
    "\t\tCHANNELS 3 Zrotation Xrotation Yrotation\n"
    "\t\tEnd Site\n"
    "\t\t{\n"
    "\t\t\tOFFSET 1 0 0\n"
    "\t\t}\n"
    "\t}\n"
    "}\n"
    "MOTION\n"
    "Frames: 3\n"
    "Frame Time: 0.033333\n"
    "0 0 0 0 0 0 0 0 0\n"
    "0 0 0 90 0 0 0 0 0\n"
    "0 0 0 0 0 0 90 90 0\n";

// The joints an info --json run gives at a frame, in the tree's pre-order; empty when it failed.
std::vector<Point> jointsAt(const std::vector<std::string>& args) {
    RunResult run = runFighost(args);
    EXPECT_EQ(run.status, 0) << run.err;
    QJsonObject document = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
    std::vector<Point> joints;
    for (const QJsonValue& joint : document["frame"].toObject()["joints"].toArray()) {
        QJsonArray p = joint.toObject()["position"].toArray();
        joints.push_back({p[0].toDouble(), p[1].toDouble(), p[2].toDouble()});
    }
    return joints;
}

void expectJoints(const std::vector<Point>& joints, const std::vector<Point>& expected) {
    ASSERT_EQ(joints.size(), expected.size());
    for (size_t i = 0; i < joints.size(); ++i)
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(joints[i][k], expected[i][k], 1e-5) << "joint " << i << " axis " << k;
}

TEST(FighostPosingTest, InfoSaysThePosingTheFigureWasLoadedWith) {
    struct Case {
        std::vector<std::string> options;
        const char* text;
        const char* json;
    } cases[] = {
        {{}, "posing    as captured\n", "captured"},
        {{"--posing", "world"}, "posing    world axes\n", "world"},
        {{"--posing=captured"}, "posing    as captured\n", "captured"},
        {{"--posing", "world", "--posing", "captured"}, "posing    as captured\n", "captured"},
    };
    // The module gives a new figure the "Posing" fighost set before the load: info reads it back
    // from the figure's record, whichever loader read the file.
    for (const char* file : {"walk.fig", "human.bvh"}) {
        for (const Case& c : cases) {
            std::vector<std::string> args = {"info", examplePath(file)};
            args.insert(args.end(), c.options.begin(), c.options.end());
            SCOPED_TRACE(std::string(file) + " " + (c.options.empty() ? "" : c.options.back()));
            RunResult text = runFighost(args);
            ASSERT_EQ(text.status, 0) << text.err;
            EXPECT_NE(text.out.find(c.text), std::string::npos) << text.out;
            args.push_back("--json");
            RunResult json = runFighost(args);
            ASSERT_EQ(json.status, 0) << json.err;
            QJsonObject document =
                QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).object();
            EXPECT_EQ(document["posing"].toString().toStdString(), c.json);
        }
    }
}

TEST(FighostPosingTest, ConvertWritesTheSameFileEitherWay) {
    TempDir folder;
    for (const char* file : {"walk.fig", "human.bvh"}) {
        std::string world = folder.path(std::string("world-") + file + ".fig");
        std::string captured = folder.path(std::string("captured-") + file + ".fig");
        ASSERT_EQ(runFighost({"convert", examplePath(file), world, "--posing", "world"}).status, 0);
        ASSERT_EQ(runFighost({"convert", "--posing=captured", examplePath(file), captured}).status,
                  0);
        EXPECT_NE(readFile(world), "") << file;
        EXPECT_EQ(readFile(world), readFile(captured)) << file;
        // A batch takes the option too, and writes the same.
        std::string batch = folder.path(std::string("batch-") + file);
        ASSERT_EQ(mkdir(batch.c_str(), 0755), 0);
        RunResult run =
            runFighost({"convert", examplePath(file), "-d", batch, "--posing", "world"});
        ASSERT_EQ(run.status, 0) << run.err;
        std::string name = std::string(file).substr(0, std::string(file).find('.'));
        EXPECT_EQ(readFile(batch + "/" + name + ".fig"), readFile(captured)) << file;
    }
}

TEST(FighostPosingTest, WorldAxesTurnOnlyTheLimbsOwnChildren) {
    TempDir folder;
    for (const char* name : {"chain.bvh", "chain.fig"}) {
        std::string path = folder.write(name, kChain);
        // The root's turn takes Upper's offset to (0, 1, 0); Upper does not turn, so Lower lies
        // along X from it.
        expectJoints(jointsAt({"info", path, "--frame", "1", "--json", "--posing", "world"}),
                     {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}});
        // Upper turns Lower's offset about Z first, then about X: (1, 0, 0) -> (0, 1, 0) ->
        // (0, 0, 1).
        expectJoints(jointsAt({"info", path, "--frame", "2", "--json", "--posing", "world"}),
                     {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}});
    }
}

// Needs the module's posing as captured.
TEST(FighostPosingTest, AsCapturedTheGrandchildFollowsTheRootsTurn) {
    TempDir folder;
    for (const char* name : {"chain.bvh", "chain.fig"}) {
        SCOPED_TRACE(name);
        std::string path = folder.write(name, kChain);
        // The root's turn passes down: Lower lies along Y above Upper. The default is this posing.
        const std::vector<Point> captured = {{0, 0, 0}, {0, 1, 0}, {0, 2, 0}};
        expectJoints(jointsAt({"info", path, "--frame", "1", "--json"}), captured);
        expectJoints(jointsAt({"info", path, "--frame", "1", "--json", "--posing", "captured"}),
                     captured);
        // R = Rz · Rx applied to Lower's offset: Rx leaves (1, 0, 0), Rz takes it to (0, 1, 0).
        expectJoints(jointsAt({"info", path, "--frame", "2", "--json"}),
                     {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
        // The rest pose is the same in both posings.
        expectJoints(jointsAt({"info", path, "--frame", "0", "--json", "--posing", "world"}),
                     jointsAt({"info", path, "--frame", "0", "--json"}));
    }
}

// Whether an .obj text has a vertex within 1e-5 of p.
bool hasVertex(const std::string& obj, const Point& p) {
    std::istringstream lines(obj);
    for (std::string line; std::getline(lines, line);) {
        Point v{};
        if (std::sscanf(line.c_str(), "v %lf %lf %lf", &v[0], &v[1], &v[2]) == 3 &&
            std::fabs(v[0] - p[0]) < 1e-5 && std::fabs(v[1] - p[1]) < 1e-5 &&
            std::fabs(v[2] - p[2]) < 1e-5)
            return true;
    }
    return false;
}

// Needs the module's posing as captured.
TEST(FighostPosingTest, RenderDrawsThePosingAsked) {
    TempDir folder;
    std::string path = folder.write("chain.bvh", kChain);
    auto render = [&](const char* posing) {
        std::string out = folder.path(std::string(posing) + ".obj");
        RunResult run = runFighost(
            {"render", path, "--frame", "1", "--style", "lines", "--posing", posing, "-o", out});
        EXPECT_EQ(run.status, 0) << run.err;
        return readFile(out);
    };
    std::string world = render("world"), captured = render("captured");
    // Lower's segment ends at (1, 1, 0) about world axes and at (0, 2, 0) as captured.
    EXPECT_TRUE(hasVertex(world, {1, 1, 0})) << world;
    EXPECT_FALSE(hasVertex(world, {0, 2, 0})) << world;
    EXPECT_TRUE(hasVertex(captured, {0, 2, 0})) << captured;
    EXPECT_FALSE(hasVertex(captured, {1, 1, 0})) << captured;
}

}  // namespace
