// Reading fighost's command line: the command word, its options and operands.
#include "host/app/core/command_line.h"

#include <getopt.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "model/figure_data.h"
#include "model/motion_table.h"

namespace fighost {
namespace {

// getopt_long's value for --help; long-only options get kLongOnly plus their index in specs.
constexpr int kHelp = 'h';
constexpr int kLongOnly = 256;

// The option as the user wrote it: "--name" (without any "=VALUE") or "-c".
std::string shownOption(const char* word, int shortName) {
    if (word != nullptr && std::strncmp(word, "--", 2) == 0)
        return std::string(word, std::strcspn(word, "="));
    return std::string("-") + static_cast<char>(shortName);
}

}  // namespace

bool parseArguments(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs,
                    ParsedArguments* parsed, std::string* error) {
    std::vector<option> table;
    std::string shortNames = ":h";  // ':' first: a missing value is told apart from the unknown
    for (size_t i = 0; i < specs.size(); ++i) {
        const OptionSpec& spec = specs[i];
        int value = spec.shortName != 0 ? spec.shortName : kLongOnly + static_cast<int>(i);
        table.push_back(
            {spec.longName, spec.takesValue ? required_argument : no_argument, nullptr, value});
        if (spec.shortName != 0) {
            shortNames += spec.shortName;
            if (spec.takesValue)
                shortNames += ':';
        }
    }
    table.push_back({"help", no_argument, nullptr, kHelp});
    table.push_back({nullptr, 0, nullptr, 0});

    // getopt_long permutes the words it is given, so it works on a copy.
    std::vector<std::string> words = {"fighost"};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(&word[0]);
    argv.push_back(nullptr);
    int argc = static_cast<int>(words.size());

    optind = 0;  // a full restart: every parse begins afresh
    opterr = 0;  // refusals are ours, in one line
    for (;;) {
        int index = -1;
        int got = getopt_long(argc, argv.data(), shortNames.c_str(), table.data(), &index);
        if (got == -1)
            break;
        // The word that held the option: the last one read, or the one before its value.
        const char* word = optind - 1 < argc ? argv[optind - 1] : nullptr;
        if (optarg != nullptr && optind >= 2 && word == optarg)
            word = argv[optind - 2];
        if (got == ':') {
            *error = "option '" + shownOption(word, optopt) + "' needs a value";
            return false;
        }
        if (got == '?') {
            int known = optopt >= kLongOnly ? optopt - kLongOnly : -1;
            if (known >= 0 && static_cast<size_t>(known) < specs.size())
                *error = "option '--" + std::string(specs[known].longName) + "' takes no value";
            else if (optopt == 0)
                *error = "unknown option '" + shownOption(word, 0) + "'";
            else
                *error = "unknown option '-" + std::string(1, static_cast<char>(optopt)) + "'";
            return false;
        }
        // getopt_long takes any unambiguous abbreviation; fighost wants the whole name.
        if (index >= 0 && word != nullptr && std::strncmp(word, "--", 2) == 0 &&
            shownOption(word, 0) != std::string("--") + table[index].name) {
            *error = "unknown option '" + shownOption(word, 0) + "'";
            return false;
        }
        if (got == kHelp) {
            parsed->help = true;
            continue;
        }
        const OptionSpec* spec = nullptr;
        for (size_t i = 0; i < specs.size() && spec == nullptr; ++i)
            if ((specs[i].shortName != 0 ? specs[i].shortName : kLongOnly + static_cast<int>(i)) ==
                got)
                spec = &specs[i];
        if (spec != nullptr)
            parsed->options[spec->longName] = spec->takesValue && optarg ? optarg : "";
    }
    for (int i = optind; i < argc; ++i)
        parsed->operands.push_back(argv[i]);
    return true;
}

bool parseFrame(const std::string& text, int* frame, std::string* error) {
    bool digits = !text.empty() && text.size() <= 9;
    for (char c : text)
        digits = digits && c >= '0' && c <= '9';
    int value = digits ? std::stoi(text) : -1;
    if (!digits || value >= kMaxFrames) {
        *error = "frame must be a whole number from 0 to " + std::to_string(kMaxFrames - 1) +
                 ", not '" + text + "'";
        return false;
    }
    *frame = value;
    return true;
}

bool parseStyle(const std::string& text, int* style, std::string* error) {
    static const char* const kNames[] = {"lines", "cylinders", "balloons"};
    for (int i = 0; i < 3; ++i) {
        if (text == kNames[i]) {
            *style = i;
            return true;
        }
    }
    *error = "style must be lines, cylinders or balloons, not '" + text + "'";
    return false;
}

bool parsePosing(const std::string& text, int* posing, std::string* error) {
    const std::pair<const char*, int> kNames[] = {{"world", kPosingWorldAxes},
                                                  {"captured", kPosingCaptured}};
    for (const auto& name : kNames) {
        if (text == name.first) {
            *posing = name.second;
            return true;
        }
    }
    *error = "posing must be captured or world, not '" + text + "'";
    return false;
}

namespace {

constexpr int kMinPictureSize = 16;
constexpr int kMaxPictureSize = 8192;
constexpr int kDefaultPictureSize = 800;

}  // namespace

bool parseSize(const ParsedArguments& parsed, int* size, std::string* error) {
    *size = kDefaultPictureSize;
    auto option = parsed.options.find("size");
    if (option == parsed.options.end())
        return true;
    const std::string& text = option->second;
    bool digits = !text.empty() && text.size() <= 5;
    for (char c : text)
        digits = digits && c >= '0' && c <= '9';
    *size = digits ? std::atoi(text.c_str()) : 0;
    if (*size < kMinPictureSize || *size > kMaxPictureSize) {
        *error = "size must be a whole number of pixels from " + std::to_string(kMinPictureSize) +
                 " to " + std::to_string(kMaxPictureSize) + ", not '" + text + "'";
        return false;
    }
    return true;
}

int fail(const std::string& message) {
    std::fprintf(stderr, "fighost: %s\n", message.c_str());
    return 1;
}

}  // namespace fighost
