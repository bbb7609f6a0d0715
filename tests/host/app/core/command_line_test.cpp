// The option parser of fighost and its readers of frames and styles.
#include "host/app/core/command_line.h"

#include <gtest/gtest.h>

namespace {

using fighost::OptionSpec;
using fighost::ParsedArguments;

const std::vector<OptionSpec> kSpecs = {
    {"frame", 0, true}, {"json", 0, false}, {"output", 'o', true}, {"bvh", 0, false}};

ParsedArguments parse(const std::vector<std::string>& args, std::string* error = nullptr) {
    ParsedArguments parsed;
    std::string ignored;
    EXPECT_TRUE(fighost::parseArguments(args, kSpecs, &parsed, error ? error : &ignored))
        << (error ? *error : ignored);
    return parsed;
}

std::string refusal(const std::vector<std::string>& args) {
    ParsedArguments parsed;
    std::string error;
    EXPECT_FALSE(fighost::parseArguments(args, kSpecs, &parsed, &error));
    return error;
}

TEST(CommandLineTest, OptionsAndOperandsMixInAnyOrder) {
    ParsedArguments parsed = parse({"-oout.png", "walk.fig", "--frame=7", "--json", "extra"});
    EXPECT_EQ(parsed.operands, (std::vector<std::string>{"walk.fig", "extra"}));
    EXPECT_EQ(parsed.options.at("output"), "out.png");
    EXPECT_EQ(parsed.options.at("frame"), "7");
    EXPECT_EQ(parsed.options.at("json"), "");
    EXPECT_FALSE(parsed.help);
}

TEST(CommandLineTest, ValueMayBeTheNextWordEvenWhenItLooksLikeAnOption) {
    ParsedArguments parsed = parse({"--frame", "-3", "-o", "--json"});
    EXPECT_EQ(parsed.options.at("frame"), "-3");
    EXPECT_EQ(parsed.options.at("output"), "--json");
    EXPECT_EQ(parsed.options.count("json"), 0u);
}

TEST(CommandLineTest, DoubleDashEndsOptionsAndLoneDashIsAnOperand) {
    ParsedArguments parsed = parse({"--", "--json", "-"});
    EXPECT_EQ(parsed.operands, (std::vector<std::string>{"--json", "-"}));
    EXPECT_TRUE(parsed.options.empty());
}

TEST(CommandLineTest, HelpIsAlwaysKnown) {
    EXPECT_TRUE(parse({"walk.fig", "--help"}).help);
    EXPECT_TRUE(parse({"-h"}).help);
}

TEST(CommandLineTest, LaterValueReplacesEarlierOne) {
    EXPECT_EQ(parse({"--frame", "1", "--frame", "2"}).options.at("frame"), "2");
}

TEST(CommandLineTest, RefusalsNameTheOption) {
    EXPECT_EQ(refusal({"--colour"}), "unknown option '--colour'");
    EXPECT_EQ(refusal({"--colour=red"}), "unknown option '--colour'");
    EXPECT_EQ(refusal({"-x"}), "unknown option '-x'");
    EXPECT_EQ(refusal({"--fra", "1"}), "unknown option '--fra'");
    EXPECT_EQ(refusal({"walk.fig", "--frame"}), "option '--frame' needs a value");
    EXPECT_EQ(refusal({"-o"}), "option '-o' needs a value");
    EXPECT_EQ(refusal({"--json=1"}), "option '--json' takes no value");
}

TEST(CommandLineTest, FramesAreWholeNumbersFromZeroTo255) {
    int frame = -1;
    std::string error;
    EXPECT_TRUE(fighost::parseFrame("0", &frame, &error));
    EXPECT_EQ(frame, 0);
    EXPECT_TRUE(fighost::parseFrame("255", &frame, &error));
    EXPECT_EQ(frame, 255);
    EXPECT_TRUE(fighost::parseFrame("007", &frame, &error));
    EXPECT_EQ(frame, 7);
    for (const char* bad :
         {"256", "-1", "", "1e2", " 5", "5 ", "+5", "0x10", "4294967296", "99999999999999999999"}) {
        frame = 42;
        EXPECT_FALSE(fighost::parseFrame(bad, &frame, &error)) << bad;
        EXPECT_EQ(frame, 42) << bad;
        EXPECT_EQ(error,
                  std::string("frame must be a whole number from 0 to 255, not '") + bad + "'");
    }
}

TEST(CommandLineTest, StylesByName) {
    int style = -1;
    std::string error;
    EXPECT_TRUE(fighost::parseStyle("lines", &style, &error));
    EXPECT_EQ(style, 0);
    EXPECT_TRUE(fighost::parseStyle("cylinders", &style, &error));
    EXPECT_EQ(style, 1);
    EXPECT_TRUE(fighost::parseStyle("balloons", &style, &error));
    EXPECT_EQ(style, 2);
    EXPECT_FALSE(fighost::parseStyle("Lines", &style, &error));
    EXPECT_EQ(style, 2);
}

TEST(CommandLineTest, PosingsByName) {
    const std::pair<const char*, int> good[] = {{"world", 0}, {"captured", 1}};
    for (const auto& each : good) {
        int posing = -1;
        std::string error;
        EXPECT_TRUE(fighost::parsePosing(each.first, &posing, &error)) << each.first;
        EXPECT_EQ(posing, each.second) << each.first;
    }
    for (const char* bad : {"World", "capture", "as captured", "captured ", "0", "1", ""}) {
        int posing = 7;
        std::string error;
        EXPECT_FALSE(fighost::parsePosing(bad, &posing, &error)) << bad;
        EXPECT_EQ(posing, 7) << bad;
        EXPECT_EQ(error, std::string("posing must be captured or world, not '") + bad + "'");
    }
}

}  // namespace
