// Real captures read and saved as a person would: a capture cut short keeps the frames that came
// whole and says so once, and a capture's frame rate survives a save. The captures are the CMU
// ones of the assimp test models; a machine without them skips these tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "host/stand_in_host.h"
#include "model/figure_data.h"
#include "support/temp_dir.h"

namespace {

using testing_support::readFile;
using testing_support::TempDir;

// The 120 Hz capture: 2,752 frames of "Frame Time: .0083333".
const char kCapture[] = "/usr/share/assimp/models/BVH/01_01.bvh";

// A figure read from a file as the loaders read it, without a scene object.
struct ReadFigure {
    explicit ReadFigure(const std::string& path, int isBioVision = 1) {
        standin::resetScene();
        read = figure->read(path.c_str(), isBioVision);
        errors = standin::scene().errors;
    }
    ~ReadFigure() { figure->destroy(); }
    std::unique_ptr<FigureData> figure{FigureData::create(nullptr)};
    int read = 0;
    std::vector<std::string> errors;
};

// The capture's text, or empty (and the test skipped) when it is not installed.
std::string captureText() {
    return readFile(kCapture);
}

#define SKIP_WITHOUT_CAPTURE(text) \
    if ((text).empty())            \
    GTEST_SKIP() << kCapture << " is not installed (Debian's assimp-testmodels holds it)"

// The rows of the motion section that stand whole in text: the lines after "Frame Time:" that
// end in a line break.
int wholeRows(const std::string& text) {
    size_t header = text.find("Frame Time:");
    size_t start = text.find('\n', header);
    return static_cast<int>(
        std::count(text.begin() + static_cast<long>(start) + 1, text.end(), '\n'));
}

TEST(CaptureFilesTest, ACaptureCutShortKeepsItsWholeFramesAndSaysSo) {
    const std::string whole = captureText();
    SKIP_WITHOUT_CAPTURE(whole);
    TempDir dir;
    const struct {
        size_t length;      // of the capture's first bytes; 0 for the whole file
        const char* cutAt;  // the file the prefix is written to
    } cases[] = {{100000, "01_01.bvh"}, {whole.size() - 10, "end.bvh"}, {0, "whole.bvh"}};
    ReadFigure full(kCapture);
    ASSERT_EQ(full.read, 1);
    ASSERT_TRUE(full.errors.empty());
    for (const auto& c : cases) {
        const std::string text = c.length == 0 ? whole : whole.substr(0, c.length);
        const std::string path = dir.write(c.cutAt, text);
        ReadFigure cut(path);
        ASSERT_EQ(cut.read, 1) << c.cutAt;
        const MotionTable& motion = *cut.figure->motion;
        const int rows = wholeRows(text);
        const int kept = std::min(rows, kMaxFrames);
        EXPECT_EQ(motion.frameCount, static_cast<uint32_t>(kept)) << c.cutAt;
        std::vector<std::string> said;
        if (c.length != 0)
            said.push_back(path + ": the file ends after " + std::to_string(rows) +
                           " of 2752 frames");
        EXPECT_EQ(cut.errors, said) << c.cutAt;
        // The frames kept are the whole file's; past them the motion holds its last frame.
        for (int f = 0; f < kMaxFrames; ++f)
            for (int ch = 0; ch < motion.channelCount(); ++ch)
                ASSERT_EQ(motion.value(ch, f),
                          full.figure->motion->value(ch, std::min(f, kept - 1)))
                    << c.cutAt << ": channel " << ch << " at " << f;
    }
}

// A save writes the frame time read back; a figure whose file had none gets 30 frames a second.
TEST(CaptureFilesTest, TheFrameTimeSurvivesASave) {
    const std::string whole = captureText();
    SKIP_WITHOUT_CAPTURE(whole);
    TempDir dir;
    const struct {
        std::string source;
        const char* line;
        double frameTime;
    } cases[] = {
        {kCapture, "Frame Time: 0.0083333", 0.0083333},
        {dir.write("slow.bvh",
                   "ROOT Hips { CHANNELS 1 Xrotation } MOTION Frames: 2 Frame Time: "
                   "0.25 1 2"),
         "Frame Time: 0.25", 0.25},
        {dir.write("none.bvh", "ROOT Hips { CHANNELS 1 Xrotation } MOTION Frames: 2 1 2"),
         "Frame Time: 0.033333", 0.0},
    };
    for (const auto& c : cases) {
        ReadFigure first(c.source);
        ASSERT_EQ(first.read, 1);
        EXPECT_EQ(first.figure->motion->frameTime, c.frameTime) << c.source;
        const std::string saved = dir.path("saved.fig");
        ASSERT_EQ(first.figure->save(saved.c_str()), 1);
        const std::string text = readFile(saved);
        EXPECT_NE(text.find(std::string("\r\n") + c.line + "\r\n"), std::string::npos)
            << text.substr(0, 200);

        // Read back, the figure plays at the rate it was captured at, and saves the same again.
        ReadFigure second(saved, 0);
        ASSERT_EQ(second.read, 1);
        EXPECT_TRUE(second.errors.empty());
        EXPECT_EQ(second.figure->motion->frameTime, c.frameTime == 0.0 ? 0.033333 : c.frameTime);
        EXPECT_EQ(second.figure->motion->frameCount, first.figure->motion->frameCount);
        const std::string again = dir.path("again.fig");
        ASSERT_EQ(second.figure->save(again.c_str()), 1);
        EXPECT_EQ(readFile(again), text) << c.source;
    }
}

}  // namespace
