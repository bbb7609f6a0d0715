// The buffered text-file layer on real files in a temporary folder.
#include "hierarchy/std_file.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win_file.h"
#include "support/temp_dir.h"
#include "support/windows_files.h"

namespace {

using testing_support::readFile;
using testing_support::TempDir;

struct Closer {
    void operator()(tagStandardFile* file) const { StdCloseFile(file); }
};
using File = std::unique_ptr<tagStandardFile, Closer>;

// Opens a file holding exactly bytes, for reading.
File openWith(const TempDir& dir, const std::string& bytes) {
    File file(StdOpenFile(dir.write("input.txt", bytes).c_str(), kStdOpenRead));
    EXPECT_NE(file, nullptr);
    return file;
}

std::vector<std::string> tokensOf(const std::string& bytes) {
    TempDir dir;
    File file = openWith(dir, bytes);
    std::vector<std::string> tokens;
    while (const char* token = StdGetNextArg(file.get())) {
        tokens.emplace_back(token);
        if (tokens.size() > 100) {
            break;
        }
    }
    return tokens;
}

std::vector<std::string> linesOf(const std::string& bytes) {
    TempDir dir;
    File file = openWith(dir, bytes);
    std::vector<std::string> lines;
    while (const char* line = StdGetLine(file.get())) {
        lines.emplace_back(line);
        if (lines.size() > 100) {
            break;
        }
    }
    return lines;
}

std::string letters(size_t count) {
    return std::string(count, 'a');
}
std::string spaces(size_t count) {
    return std::string(count, ' ');
}

struct Case {
    std::string input;
    std::vector<std::string> expected;
};

void expectTokens(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(tokensOf(c.input), c.expected) << "input: " << c.input.substr(0, 60);
    }
}

TEST(StdFileTokenTest, SeparatorsSplitAndEndTokens) {
    expectTokens({
        {"  ROOT Hips,{", {"ROOT", "Hips", "{"}},
        {"\ta\nb\rc d,e", {"a", "b", "c", "d", "e"}},
        {"", {}},
        {" ,\r\n\t", {}},
        {"last", {"last"}},
        {"a\xff b", {"a\xff", "b"}},
        // A token that crosses the end of the first 4096-byte block.
        {spaces(4094) + "abcd x", {"abcd", "x"}},
        {spaces(4096) + "y", {"y"}},
    });
}

TEST(StdFileTokenTest, QuotedTokensKeepSeparatorsAndEscapedQuotes) {
    expectTokens({
        {"\"Left Arm\"", {"Left Arm"}},
        {"\"a,b\tc\nd\"", {"a,b\tc\nd"}},
        {"\"say \\\"hi\\\"\"", {"say \"hi\""}},
        {"\"a\\nb\"", {"a\\nb"}},
        {"\"\" x", {"", "x"}},
        {"abc\"def ghi\"", {"def ghi"}},
        {"\"q\"x", {"q", "x"}},
        {"\"open to the end", {"open to the end"}},
        {"\"ends in \\", {"ends in \\"}},
        // A backslash pair split across the block boundary.
        {spaces(4094) + "\"\\\"x\"", {"\"x"}},
    });
}

TEST(StdFileTokenTest, LongTokensStopAt4095Characters) {
    expectTokens({
        {letters(5000), {letters(4095), letters(904)}},
        {letters(4095) + " x", {letters(4095), "x"}},
        // The character after a full plain token is dropped even when it is a quote.
        {letters(4095) + "\"q r\"", {letters(4095), "q", ""}},
        // A full quoted token drops the next character; the rest is read unquoted.
        {"\"" + letters(5000) + "\" next", {letters(4095), " next"}},
        // Filling up in the middle of a backslash pair keeps the backslash, drops its partner.
        {"\"" + letters(4094) + "\\nrest more", {letters(4094) + "\\", "rest", "more"}},
        {"\"" + letters(4094) + "\\\"b c", {letters(4094) + "\"", "c"}},
    });
}

TEST(StdFileTokenTest, NulBytesAreOrdinaryCharacters) {
    TempDir dir;
    File file = openWith(dir, std::string(100, '\0') + " z");
    const char* token = StdGetNextArg(file.get());
    ASSERT_NE(token, nullptr);
    EXPECT_EQ(token[0], '\0');
    EXPECT_STREQ(StdGetNextArg(file.get()), "z");
    EXPECT_EQ(StdGetNextArg(file.get()), nullptr);
}

TEST(StdFileTokenTest, OneBufferServesEveryFile) {
    TempDir dir;
    File first(StdOpenFile(dir.write("a.txt", "alpha").c_str(), kStdOpenRead));
    File second(StdOpenFile(dir.write("b.txt", "beta").c_str(), kStdOpenRead));
    const char* token = StdGetNextArg(first.get());
    EXPECT_STREQ(token, "alpha");
    EXPECT_EQ(StdGetNextArg(second.get()), token);
    EXPECT_STREQ(token, "beta");
    EXPECT_EQ(StdGetNextArg(nullptr), nullptr);
    EXPECT_STREQ(token, "");
}

TEST(StdFileLineTest, LinesSkipEmptyOnesAndStopAt4095Characters) {
    const std::vector<Case> cases = {
        {"\r\n\r\nabc\r\ndef", {"abc", "def"}},
        {"", {}},
        {"\r\n\n\r", {}},
        {"a, b \t\n", {"a, b \t"}},
        {letters(5000), {letters(4095), letters(905)}},
        {letters(4095) + "\nx", {letters(4095), "x"}},
        // A CR LF pair split across the block boundary, the CR at byte 4095.
        {letters(4000) + "\n" + letters(94) + "\r\ntail", {letters(4000), letters(94), "tail"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(linesOf(c.input), c.expected) << "input: " << c.input.substr(0, 60);
    }
}

TEST(StdFileCharTest, BytesComeOutAsUnsignedValues) {
    TempDir dir;
    File file = openWith(dir, std::string("\xff\0ab{c", 6));
    EXPECT_EQ(StdGetChar(file.get()), 255);
    EXPECT_EQ(StdGetChar(file.get()), 0);
    EXPECT_EQ(StdSkipToNextChar(file.get(), '{'), 1);
    EXPECT_EQ(StdGetChar(file.get()), 'c');
    EXPECT_EQ(StdGetChar(file.get()), -1);
    EXPECT_EQ(StdGetChar(file.get()), -1);

    File other = openWith(dir, "abc");
    EXPECT_EQ(StdSkipToNextChar(other.get(), 'a' + 256), -1);
    EXPECT_EQ(StdGetFilePos(other.get()), 3);
    EXPECT_EQ(StdRewind(other.get()), 1);
    EXPECT_EQ(StdSkipToNextChar(other.get(), -1), -1);
}

TEST(StdFilePositionTest, PositionFollowsCharactersSeeksAndBlocks) {
    TempDir dir;
    std::string bytes;
    for (int i = 0; i < 10000; ++i) {
        bytes += static_cast<char>('A' + i % 26);
    }
    File file = openWith(dir, bytes);
    const int handle = file->handle;
    for (int i = 0; i < 3; ++i) {
        StdGetChar(file.get());
    }
    EXPECT_EQ(StdGetFilePos(file.get()), 3);
    // One block of 4096 bytes is read, however few characters are taken from it.
    EXPECT_EQ(win::_llseek(handle, 0, 1), 4096);

    EXPECT_EQ(StdSeek(file.get(), 10, 0), 10);
    EXPECT_EQ(StdGetFilePos(file.get()), 0);
    EXPECT_EQ(StdGetChar(file.get()), bytes[10]);
    EXPECT_EQ(StdGetFilePos(file.get()), 11);

    EXPECT_EQ(StdSeek(file.get(), static_cast<unsigned long>(-2L), 2), 9998);
    EXPECT_EQ(StdGetChar(file.get()), bytes[9998]);
    EXPECT_EQ(StdSeek(file.get(), 0, 3), -1);
    EXPECT_EQ(StdSeek(file.get(), 0x80000000UL, 0), -1);

    // Flushing drops the buffered rest of the block; reading goes on where the block ended.
    EXPECT_EQ(StdSeek(file.get(), 0, 0), 0);
    StdGetChar(file.get());
    EXPECT_EQ(StdFlush(file.get()), 1);
    EXPECT_EQ(StdGetChar(file.get()), bytes[4096]);
    EXPECT_EQ(StdGetFilePos(file.get()), 4097);

    // The handle is handed out after moving onwards by the buffered position.
    EXPECT_EQ(StdGetFileHandle(file.get()), handle);
    EXPECT_EQ(win::_llseek(handle, 0, 1), 8192 + 4097);
}

TEST(StdFilePositionTest, EndOfFileReportsTheFileLength) {
    TempDir dir;
    File file = openWith(dir, "xyz");
    EXPECT_STREQ(StdGetNextArg(file.get()), "xyz");
    EXPECT_EQ(StdGetNextArg(file.get()), nullptr);
    EXPECT_EQ(StdGetFilePos(file.get()), 3);
    EXPECT_EQ(StdRewind(file.get()), 1);
    EXPECT_EQ(StdGetFilePos(file.get()), 0);
    EXPECT_STREQ(StdGetNextArg(file.get()), "xyz");
}

TEST(StdFileRawTest, ReadFileBypassesTheBufferAndCannotUnsettleIt) {
    TempDir dir;
    const std::string bytes = letters(6000) + "END";
    File file = openWith(dir, bytes);
    char into[8192];
    EXPECT_EQ(StdReadFile(file.get(), into, 5), 5);
    EXPECT_EQ(file->bufferStart, 0);
    EXPECT_EQ(StdGetFilePos(file.get()), 5);

    EXPECT_EQ(StdGetChar(file.get()), 'a');
    const uint32_t left = file->bytesLeft;
    // A read larger than the buffer leaves bufferIndex past its end; characters must still be
    // taken from inside it (or from the file), never from beyond it.
    EXPECT_EQ(StdReadFile(file.get(), into, sizeof(into)), 6003 - 4101);
    EXPECT_EQ(file->bytesLeft, left);
    EXPECT_EQ(file->bufferStart, 4101);
    EXPECT_EQ(file->bufferIndex, 6003 - 4101);
    EXPECT_EQ(std::string(into + 6003 - 4101 - 3, 3), "END");
    EXPECT_EQ(StdGetChar(file.get()), -1);
    EXPECT_EQ(StdReadFile(file.get(), into, sizeof(into)), 0);
}

TEST(StdFileRawTest, ReadErrorsLookLikeTheEndOfTheFile) {
    TempDir dir;
    File file(StdOpenFile(dir.path("out.txt").c_str(), kStdOpenCreate));
    ASSERT_NE(file, nullptr);
    char into[4];
    file->bufferIndex = 7;
    EXPECT_EQ(StdReadFile(file.get(), into, sizeof(into)), 0);
    EXPECT_EQ(file->bufferIndex, 0);
    EXPECT_EQ(StdGetChar(file.get()), -1);
    EXPECT_EQ(file->bytesLeft, 0u);
    EXPECT_EQ(StdGetLine(file.get()), nullptr);
    EXPECT_EQ(StdGetNextArg(file.get()), nullptr);
}

TEST(StdFileOpenTest, UnopenableFilesGiveNoRecord) {
    TempDir dir;
    const std::string plain = dir.write("plain.txt", "x");
    EXPECT_EQ(StdOpenFile(dir.path("missing.txt").c_str(), kStdOpenRead), nullptr);
    EXPECT_EQ(StdOpenFile(dir.root().c_str(), kStdOpenRead), nullptr);
    EXPECT_EQ(StdOpenFile((plain + "/inner").c_str(), kStdOpenRead), nullptr);
    EXPECT_EQ(StdOpenFile(nullptr, kStdOpenRead), nullptr);
#if ULONG_MAX > UINT_MAX
    EXPECT_EQ(StdOpenFile(plain.c_str(), (1UL << 32) | kStdOpenRead), nullptr);
#endif
#ifdef _WIN32
    // A file another program holds open without sharing can be neither read nor made anew.
    testing_support::ExclusiveOpen lock(plain);
    ASSERT_TRUE(lock.held());
    EXPECT_EQ(StdOpenFile(plain.c_str(), kStdOpenRead), nullptr);
    EXPECT_EQ(StdOpenFile(plain.c_str(), kStdOpenCreate), nullptr);
#else
    if (geteuid() != 0) {
        chmod(plain.c_str(), 0);
        EXPECT_EQ(StdOpenFile(plain.c_str(), kStdOpenRead), nullptr);
    }
#endif
}

TEST(StdFileOpenTest, FailedCloseKeepsTheRecord) {
    TempDir dir;
    tagStandardFile* file = StdOpenFile(dir.write("a.txt", "a").c_str(), kStdOpenRead);
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(win::_lclose(file->handle), 0);
    EXPECT_EQ(StdCloseFile(file), 0);
    // The record is still ours to free; the sanitizer build reports a double free otherwise.
    std::free(file);
}

// Writes through a fresh record and returns what reached the file.
template <typename Write>
std::string written(Write write, int expected) {
    TempDir dir;
    const std::string path = dir.path("out.txt");
    File file(StdOpenFile(path.c_str(), kStdOpenCreate));
    EXPECT_NE(file, nullptr);
    EXPECT_EQ(write(file.get()), expected);
    EXPECT_EQ(file->bufferStart, 0);
    EXPECT_EQ(file->bytesLeft, 0u);
    file.reset();
    return readFile(path);
}

TEST(StdFileWriteTest, LineEndsAreConvertedOnlyWhenAsked) {
    EXPECT_EQ(written([](tagStandardFile* f) { return StdPutLine(f, "a\nb"); }, 1), "a\r\nb");
    EXPECT_EQ(written([](tagStandardFile* f) { return StdPutLine(f, "a\rb"); }, 1), "a\rb");
    EXPECT_EQ(written([](tagStandardFile* f) { return StdPutLine(f, "a\r\n"); }, 1), "a\r\n");
    EXPECT_EQ(written([](tagStandardFile* f) { return StdPutLineEx(f, 0, "a\rb"); }, 1), "ab");
    EXPECT_EQ(written([](tagStandardFile* f) { return StdPutLineEx(f, 1, "\"x\"\n"); }, 1),
              "\\\"x\\\"\r\n");
    EXPECT_EQ(written([](tagStandardFile* f) { return StdPutLineEx(f, 2, "\"x\""); }, 1), "\"x\"");
    EXPECT_EQ(written([](tagStandardFile* f) { return StdPutLine(f, "\"%d\"", 42); }, 1), "\"42\"");
    EXPECT_EQ(written([](tagStandardFile* f) { return StdPutLine(f, "a%cb", 0); }, 1),
              std::string("a\0b", 3));
}

TEST(StdFileWriteTest, EmptyTextsWriteNothingAndAnswerZero) {
    const char* empty = "";
    EXPECT_EQ(written([&](tagStandardFile* f) { return StdPutLine(f, "%s", empty); }, 0), "");
    EXPECT_EQ(written([](tagStandardFile* f) { return StdPutLineEx(f, 0, "\r"); }, 0), "");
    const char* none = nullptr;
    EXPECT_EQ(written([&](tagStandardFile* f) { return StdPutLine(f, none); }, 0), "");
}

TEST(StdFileWriteTest, OverLongTextsAreCutToWholePieces) {
    const std::string longText = letters(5000);
    EXPECT_EQ(written([&](tagStandardFile* f) { return StdPutLine(f, "%s", longText.c_str()); }, 1),
              letters(4095));
    const std::string feeds(3000, '\n');
    std::string pairs;
    for (int i = 0; i < 2047; ++i) {
        pairs += "\r\n";
    }
    EXPECT_EQ(written([&](tagStandardFile* f) { return StdPutLine(f, "%s", feeds.c_str()); }, 1),
              pairs);
    const std::string quotes(3000, '"');
    std::string escaped;
    for (int i = 0; i < 2047; ++i) {
        escaped += "\\\"";
    }
    EXPECT_EQ(
        written([&](tagStandardFile* f) { return StdPutLineEx(f, 1, "%s", quotes.c_str()); }, 1),
        escaped);
    const std::string lastPairCut = letters(4094) + "\n";
    EXPECT_EQ(
        written([&](tagStandardFile* f) { return StdPutLine(f, "%s", lastPairCut.c_str()); }, 1),
        letters(4094));
}

TEST(StdFileWriteTest, ConvertingLeavesTheFormattedTextIntact) {
    TempDir dir;
    File file(StdOpenFile(dir.path("out.txt").c_str(), kStdOpenCreate));
    ASSERT_NE(file, nullptr);
    const std::string text = "x" + std::string(4094, '\n');
    EXPECT_EQ(StdPutLine(file.get(), "%s", text.c_str()), 1);
    EXPECT_EQ(std::string(file->lineBuffer), text);
}

TEST(StdFileWriteTest, RawWritesGoOutUnchanged) {
    EXPECT_EQ(written(
                  [](tagStandardFile* f) {
                      char bytes[] = "a\nb";
                      const int count = StdWriteFile(f, bytes, 3);
                      EXPECT_EQ(f->bufferIndex, 3);
                      return count;
                  },
                  3),
              "a\nb");
}

TEST(StdFileWriteTest, WriteErrorsAnswerZero) {
#ifdef _WIN32
    // No full device here: a file open for reading only refuses every write just the same.
    TempDir dir;
    File full(StdOpenFile(dir.write("in.txt", "x").c_str(), kStdOpenRead));
#else
    File full(StdOpenFile("/dev/full", win::OF_WRITE));
#endif
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(StdPutLine(full.get(), "abc"), 0);
    EXPECT_EQ(StdPutLine(full.get(), "a\nb"), 0);
    EXPECT_EQ(StdPutLineEx(full.get(), 1, "abc"), 0);
    full->bufferIndex = 9;
    char bytes[] = "abc";
    EXPECT_EQ(StdWriteFile(full.get(), bytes, 3), 0);
    EXPECT_EQ(full->bufferIndex, 0);
}

TEST(StdFileWriteTest, PartialWriteIsAFailure) {
    TempDir dir;
    File file(StdOpenFile(dir.path("out.txt").c_str(), kStdOpenCreate));
    ASSERT_NE(file, nullptr);
#ifdef _WIN32
    GTEST_SKIP() << "left out on Windows: no file-size limit to make a write stop part way";
#else
    // Let only ten bytes reach the file, as a disk that fills up mid-write would.
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = 10;
    void (*oldHandler)(int) = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int result = StdPutLine(file.get(), "%s", letters(20).c_str());
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(result, 0);
    file.reset();
    EXPECT_EQ(readFile(dir.path("out.txt")), letters(10));
#endif
}

TEST(StdFileNoRecordTest, EveryFunctionAnswersItsNoRecordValue) {
    char bytes[4] = {};
    EXPECT_EQ(StdCloseFile(nullptr), 0);
    EXPECT_EQ(StdGetFileHandle(nullptr), 0);
    EXPECT_EQ(StdFlush(nullptr), 0);
    EXPECT_EQ(StdGetFilePos(nullptr), 0);
    EXPECT_EQ(StdRewind(nullptr), 0);
    EXPECT_EQ(StdSeek(nullptr, 0, 0), 0);
    EXPECT_EQ(StdReadFile(nullptr, bytes, 4), 0);
    EXPECT_EQ(StdWriteFile(nullptr, bytes, 4), 0);
    EXPECT_EQ(StdGetChar(nullptr), -1);
    EXPECT_EQ(StdSkipToNextChar(nullptr, 'a'), -1);
    EXPECT_EQ(StdGetLine(nullptr), nullptr);
    EXPECT_EQ(StdGetNextArg(nullptr), nullptr);
    EXPECT_EQ(StdPutLineEx(nullptr, 1, "x"), 0);
    EXPECT_EQ(StdPutLine(nullptr, "x"), 0);
}

}  // namespace
