// fighost run as a user runs it: on the examples and on figures the tests write, checking what it
// prints and the files it writes.
#include <gtest/gtest.h>

#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QJsonObject>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtSvg/QSvgRenderer>
#include <cmath>
#include <regex>
#include <sstream>

#include "fighost_run.h"
#include "support/temp_dir.h"

namespace {

using fighost_test::examplePath;
using fighost_test::runFighost;
using fighost_test::RunResult;
using fighost_test::testDataPath;
using testing_support::readFile;
using testing_support::TempDir;

QJsonObject parseJson(const std::string& text) {
    QJsonParseError error{};
    QJsonDocument document =
        QJsonDocument::fromJson(QByteArray(text.data(), static_cast<int>(text.size())), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << text;
    return document.object();
}

// The joints array of an info --json document at a frame, as points in limb order.
std::vector<std::array<double, 3>> jointsOf(const QJsonObject& document) {
    std::vector<std::array<double, 3>> joints;
    for (const QJsonValue& joint : document["frame"].toObject()["joints"].toArray()) {
        QJsonArray p = joint.toObject()["position"].toArray();
        joints.push_back({p[0].toDouble(), p[1].toDouble(), p[2].toDouble()});
    }
    return joints;
}

// Whether two JSON values agree, numbers to six significant digits (what a .fig keeps).
bool sameJson(const QJsonValue& a, const QJsonValue& b, std::string* where) {
    if (a.type() != b.type())
        return false;
    if (a.isDouble()) {
        double x = a.toDouble(), y = b.toDouble();
        return std::fabs(x - y) <= 1e-5 * std::max({1.0, std::fabs(x), std::fabs(y)});
    }
    if (a.isArray()) {
        QJsonArray x = a.toArray(), y = b.toArray();
        if (x.size() != y.size())
            return false;
        for (int i = 0; i < x.size(); ++i)
            if (!sameJson(x[i], y[i], where)) {
                *where = "[" + std::to_string(i) + "]" + *where;
                return false;
            }
        return true;
    }
    if (a.isObject()) {
        QJsonObject x = a.toObject(), y = b.toObject();
        if (x.keys() != y.keys())
            return false;
        for (const QString& key : x.keys())
            if (!sameJson(x[key], y[key], where)) {
                *where = "." + key.toStdString() + *where;
                return false;
            }
        return true;
    }
    return a == b;
}

int countLines(const std::string& text, const std::string& prefix) {
    int count = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        count += text.compare(start, prefix.size(), prefix) == 0;
        start = end + 1;
    }
    return count;
}

// Base, one joint and its end, with a motion that tells apart the orders rotations could be
// applied in:
//
//   Base (root, 6 channels)
//    └─ Arm  offset (0, 2, 0), 3 channels
//        └─ End  offset (1, 0, 0)
const char kTwoLimbFigure[] =
    "HIERARCHY\n"
    "ROOT Base\n"
    "{\n"
    "\tOFFSET 0 0 0\n"
    "\tCHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n"
    "\tJOINT Arm\n"
    "\t{\n"
    "\t\tOFFSET 0 2 0\n"
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
    "1 2 3 90 0 0 90 0 0\n"
    "0 0 0 0 0 0 90 90 0\n";

void expectJoints(const std::vector<std::array<double, 3>>& joints,
                  const std::vector<std::array<double, 3>>& expected) {
    ASSERT_EQ(joints.size(), expected.size());
    for (size_t i = 0; i < joints.size(); ++i)
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(joints[i][k], expected[i][k], 1e-5) << "joint " << i << " axis " << k;
}

TEST(FighostInfoTest, JsonOfTheSmallFigureMatchesItsGoldenDocument) {
    RunResult run = runFighost({"info", examplePath("walk.fig"), "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, readFile(testDataPath("walk_info.json")));
}

TEST(FighostInfoTest, TextNamesTheObjectAndCountsLimbsChannelsAndFrames) {
    RunResult run = runFighost({"info", examplePath("walk.fig")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("object    walk\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("limbs     11\n"), std::string::npos);
    EXPECT_NE(run.out.find("channels  27\n"), std::string::npos);
    EXPECT_NE(run.out.find("frames    4\n"), std::string::npos);
    EXPECT_NE(run.out.find("    Chest  offset (0, 5.21, 0)  radius 2  first channel 6  channels "
                           "Zrotation Xrotation Yrotation\n"),
              std::string::npos);
    // Without a frame nothing is posed and no joints are listed.
    EXPECT_EQ(run.out.find("joints"), std::string::npos);
}

TEST(FighostInfoTest, JointsAtAFrameAreWhereTheLimbsRotationsPutThem) {
    TempDir folder;
    std::string path = folder.write("arm.fig", kTwoLimbFigure);
    // Each limb turns its children about the world's axes.
    const std::string world = "--posing=world";

    // Frame 1: Base stands at (1, 2, 3) turned 90 degrees about Z, which takes Arm's offset
    // (0, 2, 0) to (-2, 0, 0). Arm's own 90 degrees about Z take End's offset (1, 0, 0) to
    // (0, 1, 0); Base's turn is not passed down to End.
    QJsonObject frame1 = parseJson(runFighost({"info", path, "--frame", "1", "--json", world}).out);
    EXPECT_TRUE(frame1["frame"].toObject()["posed"].toBool());
    expectJoints(jointsOf(frame1), {{1, 2, 3}, {-1, 2, 3}, {-1, 3, 3}});

    // Frame 2: Arm turns 90 degrees about Z first, then 90 about X: (1, 0, 0) -> (0, 1, 0) ->
    // (0, 0, 1). The other order would give (0, 1, 0).
    QJsonObject frame2 = parseJson(runFighost({"info", path, "--frame=2", "--json", world}).out);
    expectJoints(jointsOf(frame2), {{0, 0, 0}, {0, 2, 0}, {0, 2, 1}});
    QJsonArray values = frame2["frame"].toObject()["values"].toArray();
    ASSERT_EQ(values.size(), 9);
    EXPECT_EQ(values[7].toObject()["limb"].toString(), "Arm");
    EXPECT_EQ(values[7].toObject()["channel"].toString(), "Xrotation");
    EXPECT_EQ(values[7].toObject()["value"].toDouble(), 90.0);

    // Frame 0 reads as "no frame" to the module: the figure stays in its rest pose.
    QJsonObject frame0 = parseJson(runFighost({"info", path, "--frame", "0", "--json", world}).out);
    EXPECT_FALSE(frame0["frame"].toObject()["posed"].toBool());
    expectJoints(jointsOf(frame0), {{0, 0, 0}, {0, 2, 0}, {1, 2, 0}});
}

TEST(FighostInfoTest, JointsFollowTheOrderTheModuleDrawsIn) {
    // Both of Base's segments are drawn before A's, so the third line is A's to A1:
    //
    //   Base
    //    ├─ A   offset (1, 0, 0)
    //    │   └─ A1  offset (0, 1, 0)
    //    └─ B   offset (-1, 0, 0)
    TempDir folder;
    std::string path = folder.write("fork.fig",
                                    "HIERARCHY\nROOT Base\n{\nOFFSET 0 0 0\n"
                                    "JOINT A\n{\nOFFSET 1 0 0\nJOINT A1\n{\nOFFSET 0 1 0\n}\n}\n"
                                    "JOINT B\n{\nOFFSET -1 0 0\n}\n}\n");
    RunResult run = runFighost({"info", path, "--frame", "0", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    QJsonObject document = parseJson(run.out);
    QJsonArray joints = document["frame"].toObject()["joints"].toArray();
    ASSERT_EQ(joints.size(), 4);
    EXPECT_EQ(joints[2].toObject()["limb"].toString(), "A1");
    expectJoints(jointsOf(document), {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {-1, 0, 0}});
}

TEST(FighostInfoTest, FramesBeyondTheMotionShowItsLastFrame) {
    TempDir folder;
    std::string path = folder.write("arm.fig", kTwoLimbFigure);
    QJsonObject last = parseJson(runFighost({"info", path, "--frame", "2", "--json"}).out);
    QJsonObject beyond = parseJson(runFighost({"info", path, "--frame", "255", "--json"}).out);
    EXPECT_EQ(beyond["frame"].toObject()["index"].toInt(), 255);
    expectJoints(jointsOf(beyond), jointsOf(last));
}

TEST(FighostRenderTest, ObjHoldsOneItemPerSegmentInEachStyle) {
    TempDir folder;
    // The small figure has ten segments: one per limb below the root.
    struct Case {
        const char* style;
        int lines, faces;
    } cases[] = {{"lines", 10, 0}, {"cylinders", 0, 1280}, {"balloons", 0, 1280}};
    for (const Case& c : cases) {
        std::string out = folder.path(std::string(c.style) + ".obj");
        RunResult run = runFighost(
            {"render", examplePath("walk.fig"), "--style", c.style, "--frame", "2", "-o", out});
        ASSERT_EQ(run.status, 0) << run.err;
        std::string obj = readFile(out);
        EXPECT_EQ(countLines(obj, "l "), c.lines) << c.style;
        EXPECT_EQ(countLines(obj, "f "), c.faces) << c.style;
        EXPECT_EQ(countLines(obj, "v "), 2 * c.lines + 3 * c.faces) << c.style;
        // Every index names a vertex that is there.
        std::regex index("^[lf]( [0-9]+)+$");
        int vertices = countLines(obj, "v ");
        std::istringstream lines(obj);
        for (std::string line; std::getline(lines, line);) {
            if (line.empty() || (line[0] != 'l' && line[0] != 'f'))
                continue;
            ASSERT_TRUE(std::regex_match(line, index)) << line;
            std::istringstream numbers(line.substr(2));
            for (int n; numbers >> n;)
                EXPECT_TRUE(n >= 1 && n <= vertices) << line;
        }
    }
}

TEST(FighostRenderTest, PngIsFittedToTheFigureAndDrawsIt) {
    TempDir folder;
    std::string out = folder.path("walk.png");
    RunResult run =
        runFighost({"render", examplePath("walk.fig"), "--frame", "1", "--size", "200", "-o", out});
    ASSERT_EQ(run.status, 0) << run.err;
    QImage image(QString::fromStdString(out));
    ASSERT_FALSE(image.isNull());
    ASSERT_EQ(image.size(), QSize(200, 200));
    int drawn = 0, top = 200, bottom = -1, left = 200, right = -1;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                ++drawn;
                top = std::min(top, y), bottom = std::max(bottom, y);
                left = std::min(left, x), right = std::max(right, x);
            }
    EXPECT_GT(drawn, 400);
    // The margin of 10 pixels stays clear but for the width of the outlines, and the figure,
    // taller than wide, fills the height between the margins.
    EXPECT_GE(top, 8);
    EXPECT_LE(bottom, 191);
    EXPECT_GE(left, 8);
    EXPECT_LE(right, 191);
    EXPECT_LE(top, 12);
    EXPECT_GE(bottom, 187);
}

TEST(FighostRenderTest, SvgIsAPictureQtCanDrawAgain) {
    TempDir folder;
    std::string out = folder.path("walk.svg");
    RunResult run = runFighost({"render", examplePath("walk.fig"), "--style", "lines", "--view",
                                "iso", "-o", out, "--size", "100"});
    ASSERT_EQ(run.status, 0) << run.err;
    QSvgRenderer svg(QString::fromStdString(out));
    ASSERT_TRUE(svg.isValid());
    EXPECT_EQ(svg.viewBox(), QRect(0, 0, 100, 100));
    QImage image(100, 100, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    svg.render(&painter);
    painter.end();
    int drawn = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            drawn += image.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(drawn, 50);
}

TEST(FighostFramesTest, WritesOnePicturePerFrameWithProgress) {
    TempDir folder;
    std::string out = folder.path("frames");
    RunResult run = runFighost(
        {"frames", examplePath("walk.fig"), "--size", "64", "--style", "lines", "-o", out});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* name : {"frame-000.png", "frame-001.png", "frame-002.png", "frame-003.png"})
        EXPECT_FALSE(QImage(QString::fromStdString(out + "/" + name)).isNull()) << name;
    EXPECT_TRUE(QImage(QString::fromStdString(out + "/frame-004.png")).isNull());
    EXPECT_NE(run.err.find("frame 4 of 4\n"), std::string::npos) << run.err;
    // Frames 0 and 1 differ: the hips move and the legs swing.
    EXPECT_NE(QImage(QString::fromStdString(out + "/frame-000.png")),
              QImage(QString::fromStdString(out + "/frame-001.png")));
}

// info --json of the file at a frame, without the object's name and the loader, which tell
// where the figure came from rather than what it is.
QJsonObject figureAt(const std::string& path, const char* frame) {
    RunResult run = runFighost({"info", path, "--frame", frame, "--json"});
    EXPECT_EQ(run.status, 0) << run.err;
    QJsonObject document = parseJson(run.out);
    document.remove("object");
    document.remove("loader");
    return document;
}

TEST(FighostConvertTest, ConvertedFigureReadsBackAsTheSameTreeAndValues) {
    TempDir folder;
    for (const char* name : {"walk.fig", "human.bvh"}) {
        std::string in = examplePath(name);
        std::string out = folder.path(std::string("copy-") + name);
        RunResult run = runFighost({"convert", in, out});
        ASSERT_EQ(run.status, 0) << run.err;
        // The figure's save adds ".fig" only to a name without an extension of its own.
        std::string written = out;
        ASSERT_NE(readFile(written), "") << written;
        for (const char* frame : {"1", "3"}) {
            std::string where;
            EXPECT_TRUE(sameJson(figureAt(in, frame), figureAt(written, frame), &where))
                << name << " at frame " << frame << ": differs at " << where;
        }
    }
}

}  // namespace
