// What a save asks of the operating system: kinds of files, links, new files beside others and
// replacing one file by another.
#include "platform/file_replace.h"

#include <gtest/gtest.h>

#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "support/temp_dir.h"

namespace {

using platform::FileKind;
using testing_support::readFile;
using testing_support::TempDir;

TEST(FileReplaceTest, KindsOfFiles) {
    TempDir dir;
    const std::string file = dir.write("a.fig", "x");
    EXPECT_EQ(platform::fileKind(file.c_str()), FileKind::kRegular);
    EXPECT_EQ(platform::fileKind(dir.path("none").c_str()), FileKind::kMissing);
    EXPECT_EQ(platform::fileKind(dir.root().c_str()), FileKind::kOther);
    EXPECT_EQ(platform::fileKind(nullptr), FileKind::kMissing);
#ifndef _WIN32
    EXPECT_EQ(platform::fileKind(dir.path("a.fig/inner").c_str()), FileKind::kMissing);
    EXPECT_EQ(platform::fileKind("/dev/full"), FileKind::kOther);
    ASSERT_EQ(mkfifo(dir.path("pipe").c_str(), 0600), 0);
    EXPECT_EQ(platform::fileKind(dir.path("pipe").c_str()), FileKind::kOther);
#endif
}

TEST(FileReplaceTest, ANewFileBesideReplacesTheTargetInOneStep) {
    TempDir dir;
    const std::string target = dir.write("a.fig", "old");
    const std::string first = platform::createFileBeside(target);
    const std::string second = platform::createFileBeside(target);
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    EXPECT_NE(first, second);
    EXPECT_EQ(platform::fileKind(first.c_str()), FileKind::kRegular);
    dir.write(first.substr(dir.root().size() + 1), "new");
    EXPECT_TRUE(platform::replaceFile(first, target));
    EXPECT_EQ(readFile(target), "new");
    EXPECT_EQ(platform::fileKind(first.c_str()), FileKind::kMissing);
    EXPECT_TRUE(platform::removeFile(second));
    EXPECT_FALSE(platform::removeFile(second));
    EXPECT_TRUE(platform::createFileBeside(dir.path("no/folder/a.fig")).empty());
}

#ifndef _WIN32
TEST(FileReplaceTest, LinksAreFollowedToTheirFile) {
    //   one -> two -> sub/real (relative to each link's folder); loop -> loop; lost -> nowhere
    TempDir dir;
    mkdir(dir.path("sub").c_str(), 0700);
    ASSERT_EQ(symlink("two", dir.path("one").c_str()), 0);
    ASSERT_EQ(symlink("sub/real", dir.path("two").c_str()), 0);
    ASSERT_EQ(symlink("loop", dir.path("loop").c_str()), 0);
    ASSERT_EQ(symlink(dir.path("nowhere").c_str(), dir.path("lost").c_str()), 0);
    EXPECT_EQ(platform::followLinks(dir.path("one")), dir.path("sub/real"));
    EXPECT_EQ(platform::followLinks(dir.path("sub/real")), dir.path("sub/real"));
    EXPECT_EQ(platform::followLinks(dir.path("lost")), dir.path("nowhere"));
    EXPECT_EQ(platform::followLinks(dir.path("loop")), dir.path("loop"));
}

TEST(FileReplaceTest, PermissionsAreCopied) {
    TempDir dir;
    const std::string model = dir.write("model", "");
    const std::string file = dir.write("file", "");
    ASSERT_EQ(chmod(model.c_str(), 0604), 0);
    EXPECT_TRUE(platform::copyPermissions(model, file));
    struct stat status;
    ASSERT_EQ(stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0604u);
    EXPECT_FALSE(platform::copyPermissions(dir.path("none"), file));
}
#endif

}  // namespace
