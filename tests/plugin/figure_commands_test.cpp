// Loading, posing and discarding figures through the command entries, as the host does it.
#include <gtest/gtest.h>

#include <string>

#include "host/stand_in_host.h"
#include "model/figure_data.h"
#include "plugin/entry_points.h"
#include "plugin/figure_access.h"
#include "plugin/figure_plugin.h"
#include "support/figure_reading.h"
#include "support/temp_dir.h"

namespace {

using Entry = decltype(&Fig);
using testing_support::TempDir;

std::string humanCapture() {
    return std::string(FIGURE_SOURCE_DIR) + "/examples/human.bvh";
}

//   Hips
//    ├── Chest ── End
//    └── Leg ── End        (Leg carries MAP when asked for)
std::string smallFigure(bool withMap) {
    return std::string("HIERARCHY\nROOT Hips\n{\n OFFSET 0 0 0\n") +
           " CHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n" +
           " JOINT Chest\n {\n  OFFSET 0 5 0\n  CHANNELS 3 Zrotation Xrotation Yrotation\n" +
           "  End Site\n  {\n   OFFSET 0 2 0\n  }\n }\n" +
           " JOINT Leg\n {\n  OFFSET 1 -5 0\n  CHANNELS 3 Zrotation Xrotation Yrotation\n" +
           (withMap ? "  MAP Lamp\n" : "") + "  End Site\n  {\n   OFFSET 0 -4 0\n  }\n }\n}\n" +
           "MOTION\nFrames: 2\nFrame Time: 0.033333\n" +
           "1 2 3 0 0 0 90 0 0 0 0 0\n4 5 6 0 0 0 0 0 0 0 0 0\n";
}

class FigureCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        standin::resetScene();
        standin::setEchoErrors(false);
        ASSERT_EQ(piInit(0, 0), 1);
    }
    void TearDown() override {
        // Discard what the tests left attached, as the host does when its scene goes.
        for (const standin::SceneObject& object : standin::scene().objects) {
            if (object.data == nullptr)
                continue;
            PluginCall call = callFor(0, object.handle);
            Fig(8192, 0, &call);
        }
        piExit(0);
        standin::resetScene();
    }

    static PluginCall callFor(uintptr_t value, int32_t object) {
        PluginCall call{};
        call.callValue = value;
        call.objectHandle = object;
        return call;
    }

    // Runs the main action of a loader with path; the handle of the object it made, or -1.
    static int load(Entry entry, const std::string& path, int* result = nullptr) {
        size_t before = standin::scene().objects.size();
        PluginCall call = callFor(reinterpret_cast<uintptr_t>(path.c_str()), -1);
        int answer = entry(1, 0, &call);
        if (result != nullptr)
            *result = answer;
        if (standin::scene().objects.size() == before)
            return -1;
        return standin::scene().objects.back().handle;
    }
};

TEST_F(FigureCommandsTest, BioVisionLoaderShowsTheFigureInANewObject) {
    int result = 0;
    int handle = load(BvhLoad, humanCapture(), &result);
    EXPECT_EQ(result, 1);
    const standin::SceneObject* object = standin::object(handle);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->name, "human");
    EXPECT_EQ(object->type, 25);
    EXPECT_EQ(object->boundLabel, "Figure builder");
    EXPECT_TRUE(object->released) << "the loader lets go of its handle";
    ASSERT_NE(object->data, nullptr);
    // "LimbType" is 1: cylinders, 128 triangles per drawn segment and no lines.
    EXPECT_GT(object->count(3), 0u);
    EXPECT_EQ(object->count(3) % 128, 0u);
    EXPECT_EQ(object->count(2), 0u);
    FigureData* figure = GetFigure(handle);
    ASSERT_NE(figure, nullptr);
    EXPECT_STREQ(figure->rootLimb()->name, "Hips");
    EXPECT_EQ(figure->segmentStyle, 1);
}

TEST_F(FigureCommandsTest, FigureLoaderAddsTheExtensionAndNamesByBaseName) {
    // The host adds ".fig" only to a file name without an extension of its own.
    const struct {
        const char* file;
        const char* path;
        const char* name;
    } cases[] = {{"run.v2.fig", "run.v2.fig", "run"}, {"plain.fig", "plain", "plain"}};
    for (const auto& c : cases) {
        TempDir dir;
        dir.write(c.file, smallFigure(false));
        int result = 0;
        int handle = load(FigLoad, dir.path(c.path), &result);
        EXPECT_EQ(result, 1) << c.path;
        ASSERT_NE(standin::object(handle), nullptr) << c.path;
        EXPECT_EQ(standin::object(handle)->name, c.name);
    }
}

TEST_F(FigureCommandsTest, LimbTypeIsReadAnewAtEachLoad) {
    TempDir dir;
    std::string path = dir.write("a.fig", smallFigure(false));
    modulePlugin()->setLimbType(0);
    const standin::SceneObject* lines = standin::object(load(FigLoad, path));
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(lines->count(2), 4u) << "one line per parent-to-child segment";
    EXPECT_EQ(lines->count(3), 0u);
    modulePlugin()->setLimbType(2);
    const standin::SceneObject* balloons = standin::object(load(FigLoad, path));
    ASSERT_NE(balloons, nullptr);
    EXPECT_EQ(balloons->count(3), 4u * 128u);
}

TEST_F(FigureCommandsTest, PosingIsGivenAtLoadAndKeptWhenThePropertyChanges) {
    TempDir dir;
    std::string path = dir.write("a.fig", smallFigure(false));
    struct Case {
        Entry entry;
        std::string file;
    } loaders[] = {{FigLoad, path}, {BvhLoad, humanCapture()}};
    for (const auto& loader : loaders) {
        modulePlugin()->setPosing(kPosingCaptured);
        int captured = load(loader.entry, loader.file);
        modulePlugin()->setPosing(kPosingWorldAxes);
        int world = load(loader.entry, loader.file);
        ASSERT_NE(GetFigure(captured), nullptr) << loader.file;
        ASSERT_NE(GetFigure(world), nullptr) << loader.file;
        EXPECT_EQ(GetFigure(captured)->posing, kPosingCaptured) << loader.file;
        EXPECT_EQ(GetFigure(world)->posing, kPosingWorldAxes) << loader.file;
    }
}

TEST_F(FigureCommandsTest, MapLineMakesLineSegments) {
    TempDir dir;
    std::string path = dir.write("mapped.fig", smallFigure(true));
    int handle = load(FigLoad, path);
    const standin::SceneObject* object = standin::object(handle);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->count(2), 4u);
    EXPECT_EQ(object->count(3), 0u);
    EXPECT_EQ(GetFigure(handle)->segmentStyle, 0);
}

TEST_F(FigureCommandsTest, UnopenablePathIsReportedAndMakesNoObject) {
    int result = -1;
    EXPECT_EQ(load(BvhLoad, "/nonexistent/walk", &result), -1);
    EXPECT_EQ(result, 0);
    ASSERT_EQ(standin::scene().errors.size(), 1u);
    EXPECT_EQ(standin::scene().errors[0], "Unable to open BioVision data file");
    EXPECT_EQ(load(FigLoad, "/nonexistent/walk", &result), -1);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(standin::scene().errors.back(), "Unable to open Figure data file");
}

TEST_F(FigureCommandsTest, FailingObjectCreationLoadsNothing) {
    standin::Faults faults;
    faults.createObjectFailsFrom = 1;
    standin::setFaults(faults);
    int result = -1;
    EXPECT_EQ(load(BvhLoad, humanCapture(), &result), -1);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(standin::scene().objects.empty());
}

TEST_F(FigureCommandsTest, PoseRedrawsAtTheFrame) {
    TempDir dir;
    modulePlugin()->setLimbType(0);
    int handle = load(FigLoad, dir.write("pose.fig", smallFigure(false)));
    ASSERT_NE(standin::object(handle), nullptr);
    int deletionsBefore = standin::object(handle)->deleteGeometryCount;
    PluginCall call = callFor(1, handle);
    EXPECT_EQ(Fig(512, 0, &call), 1);
    const standin::SceneObject* object = standin::object(handle);
    ASSERT_EQ(object->count(2), 4u);
    // Frame 1 puts the root at (4, 5, 6); its first segment starts there.
    EXPECT_FLOAT_EQ(object->points[0].x, 4.0f);
    EXPECT_FLOAT_EQ(object->points[0].y, 5.0f);
    EXPECT_FLOAT_EQ(object->points[0].z, 6.0f);
    EXPECT_EQ(object->deleteGeometryCount, deletionsBefore + 1) << "the rest pose was replaced";
}

TEST_F(FigureCommandsTest, PoseAndDiscardWithoutFigureDataChangeNothing) {
    int bare = piCreateObject("bare", 25);
    PluginCall pose = callFor(3, bare);
    EXPECT_EQ(Fig(512, 0, &pose), 1);
    PluginCall discard = callFor(0, bare);
    EXPECT_EQ(Fig(8192, 0, &discard), 1);
    EXPECT_TRUE(standin::object(bare)->geometry.empty());
    EXPECT_EQ(standin::scene().redrawCount, 0);

    standin::Faults faults;
    faults.getObjectDataFails = true;
    standin::setFaults(faults);
    EXPECT_EQ(Fig(512, 0, &pose), 1);
    EXPECT_EQ(Fig(8192, 0, &discard), 1);
}

TEST_F(FigureCommandsTest, DiscardDestroysTheFigure) {
    int handle = load(BvhLoad, humanCapture());
    ASSERT_NE(GetFigure(handle), nullptr);
    PluginCall call = callFor(0, handle);
    EXPECT_EQ(Fig(8192, 0, &call), 1);
    // The host drops the data it discarded; the sanitizer build checks nothing leaked.
    piSetObjectData(handle, nullptr);
}

TEST_F(FigureCommandsTest, SecondLoadMovesTheFigureToTheNewObject) {
    TempDir dir;
    std::string path = dir.write("twice.fig", smallFigure(false));
    FigureData* figure = FigureData::create(modulePlugin());
    ASSERT_NE(figure, nullptr);
    ASSERT_EQ(figure->load(path.c_str(), 0), 1);
    int first = standin::scene().objects.back().handle;
    ASSERT_EQ(figure->load(path.c_str(), 0), 1);
    int second = standin::scene().objects.back().handle;
    ASSERT_NE(first, second);
    EXPECT_EQ(GetFigure(first), nullptr) << "detached from the earlier object";
    EXPECT_EQ(GetFigure(second), figure);
    // Discarding both objects' data destroys the figure once (a double free shows under ASan).
    PluginCall a = callFor(0, first), b = callFor(0, second);
    EXPECT_EQ(Fig(8192, 0, &a), 1);
    EXPECT_EQ(Fig(8192, 0, &b), 1);
    piSetObjectData(second, nullptr);
}

TEST_F(FigureCommandsTest, LoaderWithoutPathDoesNothing) {
    PluginCall call = callFor(0, -1);
    EXPECT_EQ(BvhLoad(1, 0, &call), 0);
    EXPECT_TRUE(standin::scene().objects.empty());
    EXPECT_TRUE(standin::scene().errors.empty());
}

}  // namespace
