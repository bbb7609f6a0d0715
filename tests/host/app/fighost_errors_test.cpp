// fighost's answers to what it cannot do: one line on stderr and exit status 1, or the module's
// own message as it stands; and its help.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fighost_run.h"
#include "support/temp_dir.h"

namespace {

using fighost_test::examplePath;
using fighost_test::runFighost;
using fighost_test::RunResult;
using testing_support::readFile;
using testing_support::TempDir;

void expectFailure(const std::vector<std::string>& args, const std::string& message) {
    RunResult run = runFighost(args);
    EXPECT_EQ(run.status, 1) << args[0];
    EXPECT_EQ(run.err, message + "\n");
    EXPECT_EQ(run.out, "");
}

TEST(FighostErrorsTest, MissingFileIsNamedWithTheExtensionTheLoaderAdds) {
    TempDir folder;
    std::string missing = folder.path("nothing");
    expectFailure({"info", missing + ".fig"},
                  "fighost: cannot read " + missing + ".fig: No such file or directory");
    // The Figure loader opens the path with ".fig" added, the BioVision loader with ".bvh".
    expectFailure({"render", missing, "-o", folder.path("x.png")},
                  "fighost: cannot read " + missing + ".fig: No such file or directory");
    expectFailure({"convert", "--bvh", missing, folder.path("out")},
                  "fighost: cannot read " + missing + ".bvh: No such file or directory");
}

TEST(FighostErrorsTest, FolderIsRefused) {
    TempDir folder;
    std::string dir = folder.path("figs.fig");
    ASSERT_EQ(mkdir(dir.c_str(), 0755), 0);
    expectFailure({"info", dir}, "fighost: cannot read " + dir + ": not a file");
}

TEST(FighostErrorsTest, UnreadableFileIsRefused) {
    TempDir folder;
    std::string locked = folder.write("locked.fig", "HIERARCHY\n");
    ASSERT_EQ(chmod(locked.c_str(), 0), 0);
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    expectFailure({"info", locked}, "fighost: cannot read " + locked + ": Permission denied");
}

TEST(FighostErrorsTest, UnknownOptionsAndMissingValuesAreRefused) {
    std::string walk = examplePath("walk.fig");
    expectFailure({"info", walk, "--colour"},
                  "fighost: unknown option '--colour' (see 'fighost info --help')");
    expectFailure({"render", "-x", walk},
                  "fighost: unknown option '-x' (see 'fighost render --help')");
    expectFailure({"info", walk, "--frame"},
                  "fighost: option '--frame' needs a value (see 'fighost info --help')");
    expectFailure({"info", walk, "--json=yes"},
                  "fighost: option '--json' takes no value (see 'fighost info --help')");
    expectFailure({"convert", walk}, "fighost: expected IN and OUT (see 'fighost convert --help')");
    expectFailure({"info"}, "fighost: expected one FILE (see 'fighost info --help')");
    expectFailure({"paint", walk}, "fighost: unknown command 'paint' (see 'fighost --help')");
    expectFailure({"info", "--bvh", "--fig", walk},
                  "fighost: --bvh and --fig cannot both be given");
}

TEST(FighostErrorsTest, FramesOutsideTheTableAreRefused) {
    std::string walk = examplePath("walk.fig");
    const std::string text = "fighost: frame must be a whole number from 0 to 255, not '";
    expectFailure({"info", walk, "--frame", "256"}, text + "256'");
    expectFailure({"info", walk, "--frame=-1"}, text + "-1'");
    expectFailure({"render", walk, "--frame", "3.5", "-o", "x.png"}, text + "3.5'");
    expectFailure({"render", walk, "--frame", "", "-o", "x.png"}, text + "'");
    expectFailure({"info", walk, "--frame", "99999999999"}, text + "99999999999'");
}

TEST(FighostErrorsTest, BadStyleViewSizeOrOutputIsRefused) {
    TempDir folder;
    std::string walk = examplePath("walk.fig");
    std::string png = folder.path("walk.png");
    expectFailure({"render", walk, "--style", "wire", "-o", png},
                  "fighost: style must be lines, cylinders or balloons, not 'wire'");
    expectFailure({"render", walk, "--view", "back", "-o", png},
                  "fighost: view must be front, side, top or iso, not 'back'");
    expectFailure({"render", walk, "--size", "8", "-o", png},
                  "fighost: size must be a whole number of pixels from 16 to 8192, not '8'");
    expectFailure({"render", walk}, "fighost: no output given: use -o OUT");
    expectFailure({"render", walk, "-o", folder.path("walk.gif")},
                  "fighost: cannot tell what to write to " + folder.path("walk.gif") +
                      ": name it .png, .svg or .obj");
    for (const char* name : {"none/walk.png", "none/walk.svg", "none/walk.obj"})
        expectFailure({"render", walk, "-o", folder.path(name)},
                      "fighost: cannot write " + folder.path(name));
}

TEST(FighostErrorsTest, ModuleThatCannotBeLoadedIsNamed) {
    TempDir folder;
    std::string walk = examplePath("walk.fig");
    RunResult missing = runFighost({"info", walk, "--module", folder.path("none.so")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(
        missing.err.rfind("fighost: cannot load the module " + folder.path("none.so") + ": ", 0),
        0u)
        << missing.err;
    EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1);

    std::string notLibrary = folder.write("text.so", "not a library\n");
    RunResult text = runFighost({"info", walk, "--module=" + notLibrary});
    EXPECT_EQ(text.status, 1);
    EXPECT_EQ(text.err.rfind("fighost: cannot load the module " + notLibrary + ": ", 0), 0u)
        << text.err;
}

TEST(FighostErrorsTest, PosingIsCapturedOrWorldOnEveryLoadingCommand) {
    TempDir folder;
    std::string walk = examplePath("walk.fig");
    const std::string out = folder.path("out"), picture = folder.path("x.png");
    const std::vector<std::vector<std::string>> commands = {
        {"info", walk},
        {"render", walk, "-o", picture},
        {"frames", walk, "-o", out},
        {"convert", walk, out},
        {"convert", walk, "-d", folder.root()},
        {"open", walk, "--screenshot", picture}};
    const std::string refusal = "fighost: posing must be captured or world, not '";
    for (const std::vector<std::string>& command : commands) {
        const std::string help = " (see 'fighost " + command[0] + " --help')";
        struct Case {
            std::vector<std::string> options;
            std::string message;
        } cases[] = {
            {{"--posing", "sideways"}, refusal + "sideways'"},
            {{"--posing=World"}, refusal + "World'"},
            {{"--posing", ""}, refusal + "'"},
            {{"--posing"}, "fighost: option '--posing' needs a value" + help},
        };
        for (const Case& c : cases) {
            std::vector<std::string> args = command;
            args.insert(args.end(), c.options.begin(), c.options.end());
            SCOPED_TRACE(command[0] + " " + c.options[0]);
            expectFailure(args, c.message);
        }
    }
    // Nothing was written on the way.
    EXPECT_EQ(readFile(picture), "");
    EXPECT_EQ(readFile(out), "");
    EXPECT_EQ(readFile(folder.path("walk.fig")), "");
}

TEST(FighostErrorsTest, ModulesOwnMessageIsShownAsItStands) {
    TempDir folder;
    std::string target = folder.path("none/walk");
    RunResult run = runFighost({"convert", examplePath("walk.fig"), target});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Unable to create Figure data file " + target + "\n");
}

TEST(FighostErrorsTest, EveryCommandHasItsHelp) {
    for (const char* command : {"info", "render", "frames", "convert", "open"}) {
        RunResult run = runFighost({command, "--help"});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out.rfind(std::string("Usage: fighost ") + command, 0), 0u) << run.out;
        EXPECT_NE(run.out.find("--module PATH"), std::string::npos);
        EXPECT_NE(run.out.find("--posing P"), std::string::npos) << command;
        EXPECT_EQ(run.err, "");
    }
    // A .fig file keeps no posing, and convert's help says so.
    EXPECT_NE(runFighost({"convert", "--help"}).out.find("is the same either way"),
              std::string::npos);
    RunResult general = runFighost({"--help"});
    EXPECT_EQ(general.status, 0);
    EXPECT_NE(general.out.find("convert IN OUT"), std::string::npos);
    RunResult bare = runFighost({});
    EXPECT_EQ(bare.status, 1);
    EXPECT_EQ(bare.out, "");
    // A failure is one line: no usage text after it.
    EXPECT_EQ(bare.err, "fighost: no command given (see 'fighost --help')\n");
}

}  // namespace
