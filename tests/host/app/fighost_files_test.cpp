// Files fighost is given that would lose or fake a figure: files that hold none, batch inputs that
// would write the same output, and names longer than Windows takes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "fighost_run.h"
#include "support/temp_dir.h"

namespace {

using fighost_test::examplePath;
using fighost_test::runFighost;
using fighost_test::RunResult;
using testing_support::readFile;
using testing_support::TempDir;

TEST(FighostFilesTest, FilesThatHoldNoFigureAreRefused) {
    TempDir folder;
    const std::string files[] = {
        folder.write("picture.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)),
        folder.write("empty.fig", ""), folder.write("notes.txt", "a shopping list\nbread\n"),
        folder.write("nothing.bvh", "HIERARCHY\nMOTION\nFrames: 0\n")};
    for (const std::string& file : files) {
        const std::string out = folder.path("out");
        const std::vector<std::vector<std::string>> commands = {
            {"info", file},
            {"render", file, "-o", out + ".png"},
            {"frames", file, "-o", out},
            {"convert", file, out}};
        for (const auto& args : commands) {
            RunResult run = runFighost(args);
            EXPECT_EQ(run.status, 1) << args[0] << " " << file;
            EXPECT_EQ(run.err, "fighost: " + file + " holds no figure\n") << args[0];
            EXPECT_EQ(run.out, "");
        }
        struct stat info;
        EXPECT_NE(stat((out + ".fig").c_str(), &info), 0) << "convert wrote a stub for " << file;
        EXPECT_NE(stat((out + ".png").c_str(), &info), 0);
    }
    // In a batch the others are still converted.
    ASSERT_EQ(mkdir(folder.path("batch").c_str(), 0755), 0);
    RunResult run =
        runFighost({"convert", files[0], examplePath("walk.fig"), "-d", folder.path("batch")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "fighost: " + files[0] + " holds no figure\n");
    EXPECT_NE(readFile(folder.path("batch/walk.fig")), "");
}

TEST(FighostFilesTest, BatchInputsWritingTheSameOutputAreRefusedBeforeAnyIsWritten) {
    TempDir folder;
    std::string walkFig = examplePath("walk.fig"), human = examplePath("human.bvh");
    std::string walkBvh = folder.write("walk.bvh", readFile(human));
    std::string other = folder.path("other");
    ASSERT_EQ(mkdir(other.c_str(), 0755), 0);
    std::string walkInOther = folder.write("other/walk", readFile(walkFig));
    std::string out = folder.path("out");
    ASSERT_EQ(mkdir(out.c_str(), 0755), 0);
    struct Case {
        std::vector<std::string> inputs;
        std::string message;
    };
    const Case cases[] = {
        {{walkBvh, walkFig},
         walkBvh + " and " + walkFig + " would both be written to " + out + "/walk.fig"},
        {{human, walkBvh, walkInOther, walkFig},
         walkBvh + ", " + walkInOther + " and " + walkFig + " would all be written to " + out +
             "/walk.fig"},
        {{human, human},
         human + " and " + human + " would both be written to " + out + "/human.fig"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"convert"};
        args.insert(args.end(), c.inputs.begin(), c.inputs.end());
        args.insert(args.end(), {"-d", out});
        RunResult run = runFighost(args);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "fighost: " + c.message + ": nothing converted\n");
        struct stat info;
        EXPECT_NE(stat((out + "/walk.fig").c_str(), &info), 0) << c.message;
        EXPECT_NE(stat((out + "/human.fig").c_str(), &info), 0) << c.message;
    }
}

TEST(FighostFilesTest, LongNamesLoadAndSave) {
    TempDir folder;
    // 250 characters and ".bvh": a full path far past Windows' 260, and a saved name that leaves
    // no room in the folder for a longer one beside it.
    std::string name(250, 'n');
    std::string input = folder.write(name + ".bvh", readFile(examplePath("human.bvh")));
    RunResult info = runFighost({"info", input});
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("channels  63"), std::string::npos) << info.out;
    RunResult convert = runFighost({"convert", input, folder.path(name)});
    EXPECT_EQ(convert.status, 0) << convert.err;
    RunResult again = runFighost({"info", folder.path(name + ".fig")});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find("channels  63"), std::string::npos);
}

TEST(FighostFilesTest, AFileNamedWithoutAnExtensionIsTheFileRead) {
    TempDir folder;
    const std::string walk = folder.write("walk", readFile(examplePath("walk.fig")));
    const std::string human = folder.write("human", readFile(examplePath("human.bvh")));
    RunResult expected = runFighost({"info", examplePath("walk.fig")});
    ASSERT_EQ(expected.status, 0);
    struct Case {
        std::vector<std::string> args;
        std::string text;  // in what it prints
    };
    const Case cases[] = {{{"info", walk}, expected.out},
                          {{"info", "--bvh", human}, "channels  63"},
                          {{"convert", walk, folder.path("copy")}, ""},
                          {{"open", walk, "--screenshot", folder.path("shot.png")}, ""}};
    for (const Case& c : cases) {
        RunResult run = runFighost(c.args);
        EXPECT_EQ(run.status, 0) << c.args[0] << ": " << run.err;
        EXPECT_NE(run.out.find(c.text), std::string::npos) << run.out;
    }
    // The copy holds the same figure; only the object's name, from the file's, differs.
    RunResult copy = runFighost({"info", folder.path("copy.fig")});
    auto afterName = [](const std::string& text) { return text.substr(text.find('\n')); };
    EXPECT_EQ(copy.out.rfind("object    copy\n", 0), 0u) << copy.out;
    EXPECT_EQ(afterName(copy.out), afterName(expected.out));
    // With neither the name nor the name with the extension there, the message names the latter.
    RunResult missing = runFighost({"info", folder.path("run")});
    EXPECT_EQ(missing.err,
              "fighost: cannot read " + folder.path("run.fig") + ": No such file or directory\n");
}

TEST(FighostFilesTest, OpenShowsTheFilesThatLoadAndReportsTheRest) {
    TempDir folder;
    std::string missing = folder.path("missing.bvh"), shot = folder.path("window.png");
    std::string empty = folder.write("empty.fig", "");
    RunResult run =
        runFighost({"open", examplePath("human.bvh"), missing, empty, "--screenshot", shot});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "fighost: cannot read " + missing + ": No such file or directory\n" +
                           "fighost: " + empty + " holds no figure\n");
    // The window was shown with what loaded.
    EXPECT_GT(readFile(shot).size(), 1000u);
}

}  // namespace
