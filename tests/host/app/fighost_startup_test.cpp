// What fighost maps and shows: info starts without Qt, the drawing commands load it, and the
// window's screenshot works offscreen and on a real X server.
#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QtGui/QImage>
#include <algorithm>

#include "fighost_run.h"
#include "figure_pixels.h"
#include "support/temp_dir.h"

namespace {

using fighost_test::figurePixels;

using fighost_test::examplePath;
using fighost_test::runFighost;
using fighost_test::RunOptions;
using fighost_test::RunResult;
using testing_support::TempDir;

// Everything the dynamic linker wrote about the files it mapped for one run of fighost.
std::string mappedFiles(const std::vector<std::string>& args, int* status) {
    TempDir folder;
    RunOptions options;
    options.environment = {"LD_DEBUG=files", "LD_DEBUG_OUTPUT=" + folder.path("ld")};
    *status = runFighost(args, options).status;
    std::string all;
    if (DIR* dir = opendir(folder.path("").c_str())) {
        while (dirent* entry = readdir(dir))
            if (std::string(entry->d_name).rfind("ld.", 0) == 0)
                all += testing_support::readFile(folder.path(entry->d_name));
        closedir(dir);
    }
    return all;
}

TEST(FighostStartupTest, OnlyTheDrawingCommandsMapQt) {
    TempDir folder;
    std::string walk = examplePath("walk.fig");
    struct Case {
        std::vector<std::string> args;
        bool mapsQt;
    };
    const Case cases[] = {
        {{"info", walk}, false},
        {{"info", walk, "--frame", "3", "--json"}, false},
        {{"convert", walk, folder.path("copy")}, false},
        {{"render", walk, "-o", folder.path("walk.png")}, true},
    };
    for (const Case& c : cases) {
        int status = -1;
        std::string mapped = mappedFiles(c.args, &status);
        EXPECT_EQ(status, 0) << c.args[0];
        // The module is mapped in every case: the linker's record is complete.
        EXPECT_NE(mapped.find("libfigure.so"), std::string::npos) << c.args[0];
        EXPECT_EQ(mapped.find("libQt6") != std::string::npos, c.mapsQt) << c.args[0];
    }
}

void expectScreenshot(const RunOptions& options) {
    TempDir folder;
    std::string out = folder.path("window.png");
    RunResult run = runFighost(
        {"open", examplePath("human.bvh"), "--frame", "30", "--view", "iso", "--screenshot", out},
        options);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    QImage image(QString::fromStdString(out));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(1100, 720));
    EXPECT_GT(figurePixels(image), 2000);
}

TEST(FighostStartupTest, ScreenshotOffscreen) {
    RunOptions options;
    options.environment = {"QT_QPA_PLATFORM=offscreen"};
    expectScreenshot(options);
}

TEST(FighostStartupTest, ScreenshotOnAnXServer) {
    if (access("/usr/bin/xvfb-run", X_OK) != 0)
        GTEST_SKIP() << "xvfb-run is not installed";
    RunOptions options;
    options.prefix = {"xvfb-run", "-a", "-s", "-screen 0 1280x1024x24"};
    // xvfb-run starts no session bus; Qt would look for one through libdbus, whose failed
    // attempt keeps memory that leak checking reports. Qt's D-Bus features are left off.
    options.environment = {"QT_QPA_PLATFORM=xcb", "DBUS_SESSION_BUS_ADDRESS=disabled:"};
    expectScreenshot(options);
}

TEST(FighostStartupTest, WindowNeedsADisplayOrAScreenshot) {
    RunOptions options;
    options.environment = {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="};
    RunResult run = runFighost({"open", examplePath("walk.fig")}, options);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "fighost: no display to open the window on (set DISPLAY, or use --screenshot)\n");
    // A display that is not there is one line too, not Qt's abort.
    options.environment = {"DISPLAY=:7", "QT_QPA_PLATFORM=xcb",
                           "DBUS_SESSION_BUS_ADDRESS=disabled:"};
    run = runFighost({"open", examplePath("walk.fig")}, options);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("fighost: cannot open the window: ", 0), 0u) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
}

}  // namespace
