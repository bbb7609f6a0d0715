// A save never destroys what was there: failed saves leave the target byte for byte and no file
// beside it; links are followed and permissions kept.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "host/stand_in_host.h"
#include "model/figure_data.h"
#include "support/figure_reading.h"
#include "support/temp_dir.h"

namespace {

using testing_support::FigureRead;
using testing_support::readFile;
using testing_support::sourceFile;
using testing_support::TempDir;

// The names in a folder, sorted.
std::vector<std::string> folderNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The figure of a file, read as the loader reads it, in a figure data that saves it.
class LoadedFigure {
  public:
    explicit LoadedFigure(const std::string& path) : read_(path) {
        read_.parseAll();
        figure_->root = read_.root();
        figure_->motion = read_.motion();
    }
    ~LoadedFigure() {
        figure_->root = nullptr;  // the read frees them
        figure_->motion = nullptr;
        delete figure_;
    }
    int save(const std::string& path) { return figure_->save(path.c_str()); }

  private:
    FigureRead read_;
    FigureData* figure_ = FigureData::create(nullptr);
};

class HierarchySaveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        standin::resetScene();
        standin::setEchoErrors(false);
        original = sourceFile("examples/walk.fig");
        path = dir.write("walk.fig", original);
    }
    TempDir dir;
    std::string original;
    std::string path;
};

TEST_F(HierarchySaveTest, SavingOverTheLoadedFileReplacesItAndLeavesNothingBeside) {
    LoadedFigure figure(path);
    ASSERT_EQ(figure.save(dir.path("walk")), 1);
    EXPECT_EQ(readFile(path), original) << "the sample is written as the writer writes";
    EXPECT_EQ(folderNames(dir.root()), std::vector<std::string>{"walk.fig"});
}

#ifndef _WIN32

// A file-size limit in force during a save over the loaded file, in bytes: the writes fail at the
// first line, half way, or at the very last line.
class HierarchyFailedSaveTest : public HierarchySaveTest,
                                public ::testing::WithParamInterface<rlim_t> {};

TEST_P(HierarchyFailedSaveTest, LeavesTheLoadedFileByteForByteAndNothingBeside) {
    const rlim_t limit = GetParam() == 0 ? original.size() - 1 : GetParam();
    LoadedFigure figure(path);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit fileSize = {limit, limit};
        setrlimit(RLIMIT_FSIZE, &fileSize);
        const int result = figure.save(dir.path("walk"));
        const auto& errors = standin::scene().errors;
        const bool reported = errors.size() == 1 &&
                              errors[0] == "Unable to write Figure data file " + dir.path("walk");
        _exit(result == 0 && reported ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "limit " << limit << ": the save must answer 0 with one message";
    EXPECT_EQ(readFile(path), original) << "limit " << limit;
    EXPECT_EQ(folderNames(dir.root()), std::vector<std::string>{"walk.fig"}) << "limit " << limit;
}

// 0 stands for one byte less than the whole file.
INSTANTIATE_TEST_SUITE_P(Limits, HierarchyFailedSaveTest, ::testing::Values(5, 300, 0));

TEST_F(HierarchySaveTest, AFullDeviceBehindALinkIsWrittenInPlaceAndReported) {
    LoadedFigure figure(path);
    ASSERT_EQ(symlink("/dev/full", dir.path("full.fig").c_str()), 0);
    EXPECT_EQ(figure.save(dir.path("full")), 0);
    ASSERT_EQ(standin::scene().errors.size(), 1u);
    EXPECT_EQ(standin::scene().errors[0], "Unable to write Figure data file " + dir.path("full"));
    EXPECT_EQ(folderNames(dir.root()), (std::vector<std::string>{"full.fig", "walk.fig"}));
    EXPECT_EQ(std::filesystem::read_symlink(dir.path("full.fig")), "/dev/full");
}

TEST_F(HierarchySaveTest, ALinkIsFollowedToItsFileAndTheFileKeepsItsPermissions) {
    //   folder/link.fig -> sub/walk.fig (mode 0640)
    std::filesystem::create_directory(dir.path("sub"));
    const std::string real = dir.write("sub/walk.fig", "old text");
    ASSERT_EQ(chmod(real.c_str(), 0640), 0);
    ASSERT_EQ(symlink("sub/walk.fig", dir.path("link.fig").c_str()), 0);
    LoadedFigure figure(path);
    ASSERT_EQ(figure.save(dir.path("link")), 1);
    EXPECT_EQ(std::filesystem::read_symlink(dir.path("link.fig")), "sub/walk.fig");
    EXPECT_EQ(readFile(real), original);
    struct stat status;
    ASSERT_EQ(stat(real.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(folderNames(dir.path("sub")), std::vector<std::string>{"walk.fig"});
}

#endif  // _WIN32

}  // namespace
