// The temporary-folder guard the file tests stand on.
#include "support/temp_dir.h"

#include <sys/stat.h>

#include <string>

#include <gtest/gtest.h>

namespace {

bool exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

TEST(TempDirTest, WrittenBytesReadBackExactly) {
    testing_support::TempDir dir;
    const std::string bytes("a\0b\r\n\xff", 6);
    const std::string path = dir.write("bytes.bin", bytes);
    EXPECT_EQ(path, dir.path("bytes.bin"));
    EXPECT_EQ(testing_support::readFile(path), bytes);
    EXPECT_EQ(testing_support::readFile(dir.path("missing")), "");
}

TEST(TempDirTest, FolderAndContentsGoAwayWithTheGuard) {
    std::string root;
    std::string file;
    {
        testing_support::TempDir dir;
        root = dir.root();
        file = dir.write("inner.txt", "x");
        EXPECT_TRUE(exists(root));
        EXPECT_TRUE(exists(file));
    }
    EXPECT_FALSE(exists(file));
    EXPECT_FALSE(exists(root));
}

TEST(TempDirTest, TwoGuardsGetDifferentFolders) {
    testing_support::TempDir first;
    testing_support::TempDir second;
    EXPECT_NE(first.root(), second.root());
}

}  // namespace
