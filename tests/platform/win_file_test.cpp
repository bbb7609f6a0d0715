// The operating-system file calls as the text-file layer relies on them.
#include "platform/win_file.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <string>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

using testing_support::readFile;
using testing_support::TempDir;

constexpr unsigned kRead = win::OF_READ | win::OF_SHARE_DENY_NONE;
constexpr unsigned kCreate = win::OF_CREATE | win::OF_WRITE | win::OF_SHARE_DENY_NONE;

win::HFILE open(const std::string& path, unsigned style) {
    win::OFSTRUCT info;
    return win::OpenFile(path.c_str(), &info, style);
}

TEST(WinFileTest, ReadStyleOpensOnlyExistingFiles) {
    TempDir dir;
    const win::HFILE file = open(dir.write("in.txt", "hello"), kRead);
    ASSERT_GE(file, 0);
    char bytes[16];
    EXPECT_EQ(win::_lread(file, bytes, sizeof(bytes)), 5);
    EXPECT_EQ(std::string(bytes, 5), "hello");
    EXPECT_EQ(win::_lread(file, bytes, sizeof(bytes)), 0);
    EXPECT_EQ(win::_lwrite(file, "x", 1), -1);
    EXPECT_EQ(win::_lclose(file), 0);
    EXPECT_EQ(win::_lclose(file), -1);

    EXPECT_EQ(open(dir.path("missing.txt"), kRead), -1);
    EXPECT_EQ(open(dir.root(), kRead), -1);
    EXPECT_EQ(open(dir.path("in.txt/inner"), kRead), -1);
    EXPECT_EQ(win::OpenFile(nullptr, nullptr, kRead), -1);
}

TEST(WinFileTest, CreateStyleMakesOrCutsAFileForWriting) {
    TempDir dir;
    const std::string path = dir.write("out.txt", "old content");
    win::HFILE file = open(path, kCreate);
    ASSERT_GE(file, 0);
    EXPECT_EQ(readFile(path), "");
    EXPECT_EQ(win::_lwrite(file, "new", 3), 3);
    // A created file is open for reading too, as Windows opens it.
    char byte;
    EXPECT_EQ(win::_lread(file, &byte, 1), 0);
    EXPECT_EQ(win::_llseek(file, 0, 0), 0);
    EXPECT_EQ(win::_lread(file, &byte, 1), 1);
    EXPECT_EQ(byte, 'n');
    EXPECT_EQ(win::_lclose(file), 0);
    EXPECT_EQ(readFile(path), "new");

    file = open(dir.path("fresh.txt"), kCreate);
    ASSERT_GE(file, 0);
    win::_lclose(file);
#ifdef _WIN32
    EXPECT_EQ(readFile(dir.path("fresh.txt")), "");
#else
    struct stat status;
    ASSERT_EQ(stat(dir.path("fresh.txt").c_str(), &status), 0);
    EXPECT_TRUE(S_ISREG(status.st_mode));
    EXPECT_EQ(status.st_mode & 0600, 0600u);
    EXPECT_EQ(status.st_mode & 0111, 0u);
#endif
}

TEST(WinFileTest, WritingNothingEndsTheFileAtThePosition) {
    TempDir dir;
    const std::string path = dir.write("cut.txt", "abcdef");
    const win::HFILE file = open(path, win::OF_READWRITE);
    ASSERT_GE(file, 0);
    EXPECT_EQ(win::_llseek(file, 2, 0), 2);
    EXPECT_EQ(win::_lwrite(file, "", 0), 0);
    EXPECT_EQ(win::_llseek(file, 0, 2), 2);
    win::_lclose(file);
    EXPECT_EQ(readFile(path), "ab");
}

TEST(WinFileTest, FullPathsUpTo259CharactersOpen) {
    TempDir dir;
    const size_t folder = dir.path("").size();
    for (size_t length : {127u, 128u, 200u, 259u}) {
        const std::string path = dir.path(std::string(length - folder, 'n'));
        ASSERT_EQ(path.size(), length);
        const win::HFILE file = open(path, kCreate);
        ASSERT_GE(file, 0) << length;
        EXPECT_EQ(win::_lwrite(file, "long", 4), 4);
        win::_lclose(file);
        EXPECT_EQ(readFile(path), "long") << length;
        const win::HFILE again = open(path, kRead);
        EXPECT_GE(again, 0) << length;
        win::_lclose(again);
    }
#ifdef _WIN32
    // Windows' own limit stays on Windows.
    for (size_t length : {260u, 300u, 1000u}) {
        EXPECT_EQ(open(dir.path(std::string(length - folder, 'n')), kCreate), -1) << length;
    }
#endif
}

#ifndef _WIN32
TEST(WinFileTest, EveryPathTheSystemTakesOpens) {
    TempDir dir;
    // A 250-character name in a short folder, and a path of over 1000 characters through
    // folders of 200-character names.
    std::string deep = dir.path("");
    for (int level = 0; level < 5; ++level) {
        deep += std::string(200, static_cast<char>('a' + level));
        ASSERT_EQ(mkdir(deep.c_str(), 0755), 0);
        deep += "/";
    }
    for (const std::string& path : {dir.path(std::string(250, 'n')), deep + "figure.fig"}) {
        const win::HFILE file = open(path, kCreate);
        ASSERT_GE(file, 0) << path.size();
        EXPECT_EQ(win::_lwrite(file, "long", 4), 4);
        win::_lclose(file);
        const win::HFILE again = open(path, kRead);
        EXPECT_GE(again, 0) << path.size();
        win::_lclose(again);
        EXPECT_EQ(readFile(path), "long") << path.size();
    }
}
#endif

TEST(WinFileTest, WriteWithoutCreateKeepsTheRestOfTheFile) {
    TempDir dir;
    const std::string path = dir.write("data.txt", "abcdef");
    win::HFILE file = open(path, win::OF_WRITE);
    ASSERT_GE(file, 0);
    EXPECT_EQ(win::_lwrite(file, "XY", 2), 2);
    win::_lclose(file);
    EXPECT_EQ(readFile(path), "XYcdef");
    EXPECT_EQ(open(dir.path("none.txt"), win::OF_WRITE), -1);

    file = open(path, win::OF_READWRITE);
    ASSERT_GE(file, 0);
    char bytes[2];
    EXPECT_EQ(win::_lread(file, bytes, 2), 2);
    EXPECT_EQ(win::_lwrite(file, "--", 2), 2);
    win::_lclose(file);
    EXPECT_EQ(readFile(path), "XY--ef");
}

TEST(WinFileTest, StylesThatGiveNoHandleAreRefused) {
    TempDir dir;
    const std::string path = dir.write("keep.txt", "kept");
    // Delete, exist and parse-only styles must neither act on the file nor look like a handle.
    for (unsigned style : {0x0200u, 0x4000u, 0x0100u, 0x8000u, 0x0003u}) {
        EXPECT_EQ(open(path, style), -1) << style;
    }
    EXPECT_EQ(readFile(path), "kept");
}

TEST(WinFileTest, SeekReportsPositionsAndRefusesOutOfRangeOnes) {
    TempDir dir;
    const win::HFILE file = open(dir.write("ten.txt", "0123456789"), kRead);
    ASSERT_GE(file, 0);
    EXPECT_EQ(win::_llseek(file, 4, 0), 4);
    EXPECT_EQ(win::_llseek(file, 0, 1), 4);
    EXPECT_EQ(win::_llseek(file, 2, 1), 6);
    EXPECT_EQ(win::_llseek(file, -3, 2), 7);
    char byte = 0;
    EXPECT_EQ(win::_lread(file, &byte, 1), 1);
    EXPECT_EQ(byte, '7');
    EXPECT_EQ(win::_llseek(file, 20, 0), 20);

    // A refused move leaves the position where it was.
    EXPECT_EQ(win::_llseek(file, 3, 0), 3);
    EXPECT_EQ(win::_llseek(file, -4, 1), -1);
    EXPECT_EQ(win::_llseek(file, 0x80000000L, 0), -1);
    EXPECT_EQ(win::_llseek(file, 0x7FFFFFFFL, 1), -1);
    EXPECT_EQ(win::_llseek(file, 1, 3), -1);
    EXPECT_EQ(win::_llseek(file, 0, 1), 3);
    win::_lclose(file);
    EXPECT_EQ(win::_llseek(file, 0, 1), -1);
}

TEST(WinFileTest, TransfersOnBadHandlesOrFullDevicesFail) {
    char byte = 0;
    EXPECT_EQ(win::_lread(-1, &byte, 1), -1);
    EXPECT_EQ(win::_lwrite(-1, &byte, 1), -1);
    EXPECT_EQ(win::_lwrite(-1, &byte, 0), -1);
#ifndef _WIN32
    // Windows has no full device; writes refused by a handle open for reading are tested above.
    const win::HFILE full = open("/dev/full", win::OF_WRITE);
    ASSERT_GE(full, 0);
    EXPECT_EQ(win::_lwrite(full, "abc", 3), -1);
    EXPECT_EQ(win::_lwrite(full, "abc", 0), 0);
    win::_lclose(full);
#endif
}

}  // namespace
