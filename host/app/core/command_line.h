// The command line of fighost: a command word, then GNU-style options and operands in any order,
// read with the C library's getopt_long.
// Long options take their value as "--name VALUE" or "--name=VALUE", short ones as "-o VALUE" or
// "-oVALUE"; "--" ends the options.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace fighost {

// One option a command accepts.
struct OptionSpec {
    const char* longName;  // without the leading "--"
    char shortName;        // 0 for none
    bool takesValue;
};

// What parsing one command's arguments gave.
struct ParsedArguments {
    std::map<std::string, std::string> options;  // by long name; "" for a flag
    std::vector<std::string> operands;
    bool help = false;  // --help or -h was given
};

// Parses args against specs (--help and -h are always known). False with one line for the user
// in error when an option is unknown, lacks its value or has a value it does not take.
bool parseArguments(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs,
                    ParsedArguments* parsed, std::string* error);

// Reads a frame number: a whole number from 0 to 255, nothing else.
bool parseFrame(const std::string& text, int* frame, std::string* error);

// Segment styles by name: "lines" 0, "cylinders" 1, "balloons" 2.
bool parseStyle(const std::string& text, int* style, std::string* error);

// Posings by name: "world" 0 (each limb turns its children about the world's axes), "captured" 1
// (each limb's rotations in its channels' order, passed down to the limbs below it).
bool parsePosing(const std::string& text, int* posing, std::string* error);

// Reads --size: pixels a side, 16 to 8192, 800 when not given.
bool parseSize(const ParsedArguments& parsed, int* size, std::string* error);

// Prints "fighost: message" on stderr; returns exit status 1.
int fail(const std::string& message);

}  // namespace fighost
