// fighost's outputs that cannot be written: every such failure is exit status 1 and one line on
// stderr, and no half-written file is left in the place asked for. Also batch conversion.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "fighost_run.h"
#include "support/temp_dir.h"

namespace {

using fighost_test::examplePath;
using fighost_test::runFighost;
using fighost_test::RunOptions;
using fighost_test::RunResult;
using testing_support::TempDir;

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.')
                names.push_back(entry->d_name);
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FighostWritesTest, FailedWritesAreOneLineAndExitOne) {
    TempDir folder;
    std::string walk = examplePath("walk.fig");
    std::string plain = folder.write("plain", "not a folder\n");
    // Pictures are named by their extension, so a full device is reached through a link.
    for (const char* name : {"full.png", "full.svg", "full.obj"})
        ASSERT_EQ(symlink("/dev/full", folder.path(name).c_str()), 0);
    struct Case {
        std::vector<std::string> args;
        std::string stdoutPath;
        std::string message;
    };
    const Case cases[] = {
        {{"render", walk, "-o", folder.path("full.png")},
         "",
         "cannot write " + folder.path("full.png")},
        {{"render", walk, "-o", folder.path("full.svg")},
         "",
         "cannot write " + folder.path("full.svg")},
        {{"render", walk, "-o", folder.path("full.obj")},
         "",
         "cannot write " + folder.path("full.obj")},
        {{"render", walk, "-o", plain + "/walk.png"}, "", "cannot write " + plain + "/walk.png"},
        {{"frames", walk, "--size", "16", "-o", plain}, "", "cannot make the folder " + plain},
        {{"info", walk}, "/dev/full", "cannot write the output: No space left on device"},
        {{"info", walk, "--json"}, "-", "cannot write the output: Bad file descriptor"},
        {{"--help"}, "/dev/full", "cannot write the output: No space left on device"},
        {{"convert", walk, ""}, "", "no output given: OUT is empty"},
        {{"convert", walk, "-d", ""}, "", "no folder given: -d DIR is empty"},
        {{"convert", walk, "-d", plain}, "", "cannot write into " + plain + ": not a folder"},
    };
    for (const Case& c : cases) {
        RunOptions options;
        options.stdoutPath = c.stdoutPath;
        RunResult run = runFighost(c.args, options);
        EXPECT_EQ(run.status, 1) << c.args[0] << " " << c.message;
        EXPECT_EQ(run.err, "fighost: " + c.message + "\n");
    }
}

TEST(FighostWritesTest, FailedPictureLeavesWhatWasThere) {
    TempDir folder;
    std::string human = examplePath("human.bvh");
    for (const char* name : {"old.png", "old.svg", "old.obj"}) {
        std::string target = folder.write(name, "what was there\n");
        RunOptions limited;
        limited.fileSizeLimit = 4096;  // far less than any picture of the human
        RunResult run = runFighost({"render", human, "--size", "400", "-o", target}, limited);
        EXPECT_EQ(run.status, 1) << name;
        EXPECT_EQ(run.err, "fighost: cannot write " + target + "\n");
        EXPECT_EQ(testing_support::readFile(target), "what was there\n") << name;
    }
    // No temporary file is left beside the targets.
    EXPECT_EQ(filesIn(folder.path("")),
              (std::vector<std::string>{"old.obj", "old.png", "old.svg"}));
    // Written whole, the picture replaces the file.
    RunResult run = runFighost({"render", human, "-o", folder.path("old.obj")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(testing_support::readFile(folder.path("old.obj")).rfind("# fighost: ", 0), 0u);
}

TEST(FighostWritesTest, BatchConvertGoesPastFilesThatFail) {
    TempDir folder;
    std::string out = folder.path("out");
    ASSERT_EQ(mkdir(out.c_str(), 0755), 0);
    // One input is missing; another cannot be saved, for a folder stands where it would go.
    std::string missing = folder.path("missing.bvh");
    std::string blocked =
        folder.write("blocked.fig", testing_support::readFile(examplePath("walk.fig")));
    ASSERT_EQ(mkdir((out + "/blocked.fig").c_str(), 0755), 0);
    RunResult run = runFighost({"convert", examplePath("walk.fig"), missing, blocked,
                                examplePath("human.bvh"), "-d", out});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(filesIn(out), (std::vector<std::string>{"blocked.fig", "human.fig", "walk.fig"}));
    // One line per failure, naming the file and why: ours, or the module's own message.
    EXPECT_EQ(run.err, "fighost: cannot convert " + missing + ": cannot read " + missing +
                           ": No such file or directory\n"
                           "fighost: cannot convert " +
                           blocked + ": Unable to create Figure data file " + out +
                           "/blocked.fig\n");
    // Each converted file reads back as the figure it came from.
    RunResult back = runFighost({"info", out + "/human.fig", "--json"});
    EXPECT_EQ(back.status, 0) << back.err;
    EXPECT_NE(back.out.find("\"limbCount\": 25,"), std::string::npos) << back.out.substr(0, 200);
    EXPECT_NE(back.out.find("\"frameCount\": 150,"), std::string::npos);

    RunResult good = runFighost({"convert", examplePath("walk.fig"), "-d", out + "/"});
    EXPECT_EQ(good.status, 0);
    EXPECT_EQ(good.err, "");
}

}  // namespace
