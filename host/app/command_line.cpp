#include "host/app/command_line.h"

#include "model/motion_table.h"

namespace fighost {
namespace {

const OptionSpec* findLong(const std::vector<OptionSpec>& specs, const std::string& name) {
    for (const OptionSpec& spec : specs)
        if (name == spec.longName)
            return &spec;
    return nullptr;
}

const OptionSpec* findShort(const std::vector<OptionSpec>& specs, char name) {
    for (const OptionSpec& spec : specs)
        if (spec.shortName != 0 && spec.shortName == name)
            return &spec;
    return nullptr;
}

}  // namespace

bool parseArguments(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs,
                    ParsedArguments* parsed, std::string* error) {
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            parsed->operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            parsed->help = true;
            continue;
        }
        const OptionSpec* spec = nullptr;
        std::string value;
        bool hasValue = false;
        std::string shown;
        if (arg[1] == '-') {
            size_t equals = arg.find('=');
            std::string name =
                arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
            shown = "--" + name;
            spec = findLong(specs, name);
            if (equals != std::string::npos) {
                value = arg.substr(equals + 1);
                hasValue = true;
            }
            if (spec != nullptr && !spec->takesValue && hasValue) {
                *error = "option '" + shown + "' takes no value";
                return false;
            }
        } else {
            shown = arg.substr(0, 2);
            spec = findShort(specs, arg[1]);
            if (spec != nullptr && arg.size() > 2) {
                if (!spec->takesValue) {
                    *error = "option '" + shown + "' takes no value";
                    return false;
                }
                value = arg.substr(2);
                hasValue = true;
            }
        }
        if (spec == nullptr) {
            *error = "unknown option '" + shown + "'";
            return false;
        }
        if (spec->takesValue && !hasValue) {
            if (i + 1 >= args.size()) {
                *error = "option '" + shown + "' needs a value";
                return false;
            }
            value = args[++i];
        }
        parsed->options[spec->longName] = value;
    }
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

}  // namespace fighost
