// fighost's info, render, frames and convert commands, and the help of each.
#include "host/app/commands.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <cstdio>
#include <cstring>

#include "host/app/core/figure_loading.h"
#include "host/app/core/figure_summary.h"
#include "host/app/core/file_output.h"
#include "host/app/core/library_folder.h"
#include "host/app/core/module_session.h"
#include "host/app/core/summary_output.h"
#include "host/app/qt/qt_commands.h"
#include "model/figure_data.h"
#include "platform/shared_library.h"

namespace fighost {
namespace {

// One of fighost's commands: its word, a line for the general help, its usage and options, and
// what runs it once its arguments are parsed.
struct Command {
    const char* name;
    const char* synopsis;
    const char* summary;
    const char* usage;
    std::vector<OptionSpec> (*options)();
    int (*run)(const ParsedArguments& parsed);
};

const char kInfoUsage[] =
    "Usage: fighost info FILE [--frame K] [--json]\n"
    "Loads FILE (.bvh with the BioVision loader, anything else with the Figure loader) and\n"
    "prints the scene object's name, the limb tree (name, offset, radius, first channel, the\n"
    "channels each limb declared, map name), the channel count, the frame count and how its\n"
    "frames turn the limbs (its posing).\n"
    "\n"
    "      --frame K        also pose the object at frame K (0 to 255) and print that frame's\n"
    "                       channel values and every drawn joint position; at frame 0 the\n"
    "                       module does not pose, so the figure stays in its rest pose\n"
    "      --json           print one JSON document instead of text\n";

const char kConvertUsage[] =
    "Usage: fighost convert IN OUT\n"
    "       fighost convert IN... -d DIR\n"
    "Loads IN and saves the figure as OUT.fig through the figure's own save (\".fig\" is added\n"
    "when OUT does not end with it). With -d, converts every IN into DIR, each named after its\n"
    "input with \".fig\", goes on past a file that fails and reports each failure in one line;\n"
    "inputs that would write the same file are refused before anything is written.\n"
    "A .fig file does not keep how a figure is posed: --posing is taken, and the file written\n"
    "is the same either way.\n"
    "\n"
    "  -d, --directory DIR  the folder to write into\n";

const char kRenderUsage[] =
    "Usage: fighost render FILE [--frame K] [--style S] [--view V] [--size N] -o OUT\n"
    "Loads FILE with limbs drawn in style S, poses it at frame K when given, and writes what the\n"
    "module drew: OUT.png or OUT.svg as a picture fitted to the figure, OUT.obj as vertices,\n"
    "lines and faces.\n"
    "\n"
    "      --frame K        pose at frame K (0 to 255; frame 0 is the rest pose)\n"
    "      --style S        lines, cylinders (default) or balloons\n"
    "      --view V         front (default), side, top or iso\n"
    "      --size N         pictures are N by N pixels (default 800)\n"
    "  -o, --output OUT     the file to write\n";

const char kFramesUsage[] =
    "Usage: fighost frames FILE [--style S] [--view V] [--size N] -o DIR\n"
    "Loads FILE and writes one picture per frame of its motion, DIR/frame-000.png onwards, all\n"
    "fitted to the figure's extent over every frame. Frame 0 shows the rest pose.\n"
    "\n"
    "      --style S        lines, cylinders (default) or balloons\n"
    "      --view V         front (default), side, top or iso\n"
    "      --size N         pictures are N by N pixels (default 800)\n"
    "  -o, --output DIR     the folder to write into; made when missing\n";

const char kOpenUsage[] =
    "Usage: fighost open [FILE...] [--frame K] [--style S] [--view V] [--screenshot OUT.png]\n"
    "Opens a window that plays the modelling host: menus of the module's commands, the scene,\n"
    "its objects, frame controls and the module's Settings. Each FILE is loaded as the Load\n"
    "menu loads it; the last one is selected and posed at frame K when given. A FILE that\n"
    "does not load is reported, and the others are opened. Without --posing, the figures are\n"
    "posed as View > Pose as captured was last left (as captured the first time).\n"
    "\n"
    "      --frame K        pose the selected object at frame K (0 to 255)\n"
    "      --style S        lines, cylinders (default) or balloons for the figures loaded\n"
    "      --view V         look from the front (default), side, top or iso\n"
    "      --screenshot OUT.png\n"
    "                       show the window, write a picture of it to OUT.png and quit\n";

std::vector<OptionSpec> renderOptions() {
    return withLoaderOptions({{"style", 0, true},
                              {"view", 0, true},
                              {"size", 0, true},
                              {"output", 'o', true},
                              {"frame", 0, true}});
}

std::vector<OptionSpec> framesOptions() {
    return withLoaderOptions(
        {{"style", 0, true}, {"view", 0, true}, {"size", 0, true}, {"output", 'o', true}});
}

std::vector<OptionSpec> openOptions() {
    return withLoaderOptions(
        {{"frame", 0, true}, {"style", 0, true}, {"view", 0, true}, {"screenshot", 0, true}});
}

std::vector<OptionSpec> infoOptions() {
    return withLoaderOptions({{"frame", 0, true}, {"json", 0, false}});
}

std::vector<OptionSpec> convertOptions() {
    return withLoaderOptions({{"directory", 'd', true}});
}

int usageFailure(const std::string& what, const char* command) {
    return fail(what + " (see 'fighost " + command + " --help')");
}

int runInfo(const ParsedArguments& parsed) {
    if (parsed.operands.size() != 1)
        return usageFailure("expected one FILE", "info");
    LoadRequest request;
    request.path = parsed.operands[0];
    // Joints are read from line segments, each running from a parent's joint to a child's.
    request.style = kSegmentLines;
    std::string error;
    int frame = 0;
    bool atFrame = parsed.options.count("frame") != 0;
    if (!chooseLoader(parsed, &request, &error) ||
        (atFrame && !parseFrame(parsed.options.at("frame"), &frame, &error)))
        return fail(error);

    ModuleSession session;
    int handle = loadFigure(&session, request);
    if (handle == host::kNoObject)
        return 1;
    const standin::SceneObject* object = standin::object(handle);
    FigureSummary summary = summarizeFigure(*session.figure(handle), object->name, request.loader);
    summary.file = readFileFacts(request.path);
    if (atFrame) {
        bool posed = session.pose(handle, frame) == 1;
        addFrame(*session.figure(handle), *standin::object(handle), frame, posed, &summary);
    }
    std::string text = parsed.options.count("json") ? summaryJson(summary) : summaryText(summary);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return flushStandardOutput(&error) ? 0 : fail(error);
}

// DIR/NAME.fig for an input path: its file name without folder and last extension.
std::string batchTarget(const std::string& folder, const std::string& input) {
    std::string name = input.substr(input.find_last_of('/') + 1);
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot != 0)
        name.erase(dot);
    return folder + (folder.back() == '/' ? "" : "/") + name + ".fig";
}

// Inputs of a batch that would write the same file of folder, one line for each such file; empty
// when every input has a file of its own.
std::vector<std::string> sharedTargets(const std::string& folder,
                                       const std::vector<std::string>& inputs) {
    std::vector<std::string> lines;
    std::vector<bool> reported(inputs.size(), false);
    for (size_t i = 0; i < inputs.size(); ++i) {
        if (reported[i])
            continue;
        std::string target = batchTarget(folder, inputs[i]);
        std::vector<std::string> names{inputs[i]};
        for (size_t j = i + 1; j < inputs.size(); ++j)
            if (!reported[j] && batchTarget(folder, inputs[j]) == target) {
                reported[j] = true;
                names.push_back(inputs[j]);
            }
        if (names.size() == 1)
            continue;
        std::string line;
        for (size_t n = 0; n < names.size(); ++n)
            line += (n == 0 ? "" : n + 1 == names.size() ? " and " : ", ") + names[n];
        line += (names.size() == 2 ? " would both be written to " : " would all be written to ") +
                target + ": nothing converted";
        lines.push_back(line);
    }
    return lines;
}

// The module's messages since count, joined for one line; fallback when it said nothing.
std::string messagesSince(size_t count, const std::string& fallback) {
    const std::vector<std::string>& errors = standin::scene().errors;
    std::string joined;
    for (size_t i = count; i < errors.size(); ++i)
        joined += (joined.empty() ? "" : "; ") + errors[i];
    for (char& c : joined)
        if (c == '\n' || c == '\r')
            c = ' ';
    return joined.empty() ? fallback : joined;
}

// The reason convertInto gives for a file that holds no figure, which is said in words of its own.
const char kHoldsNoFigure[] = "holds no figure";

// Converts one file of a batch into folder; empty, or why it failed.
std::string convertInto(ModuleSession* session, const LoadRequest& request,
                        const std::string& folder) {
    std::string reason;
    size_t errorsBefore = standin::scene().errors.size();
    if (!checkReadable(request, &reason))
        return reason;
    LoadFailure failure = LoadFailure::kNone;
    int handle = loadInto(session, request, std::string(), &reason, &failure);
    switch (failure) {
        case LoadFailure::kNone:
            break;
        case LoadFailure::kNotLoaded:
            return messagesSince(errorsBefore, reason.empty() ? "not loaded" : reason);
        case LoadFailure::kNoFigure:
            return reason;
        case LoadFailure::kEmpty:
            return kHoldsNoFigure;
    }
    if (session->figure(handle)->save(batchTarget(folder, request.path).c_str()) != 1)
        reason = messagesSince(errorsBefore, "not saved");
    // The figure is done with: a long batch holds one at a time.
    session->discard(handle);
    return reason;
}

int runBatchConvert(const ParsedArguments& parsed) {
    const std::string& folder = parsed.options.at("directory");
    if (folder.empty())
        return fail("no folder given: -d DIR is empty");
    if (parsed.operands.empty())
        return usageFailure("expected IN... -d DIR", "convert");
    struct stat info;
    if (stat(folder.c_str(), &info) != 0)
        return fail("cannot write into " + folder + ": " + std::strerror(errno));
    if (!S_ISDIR(info.st_mode))
        return fail("cannot write into " + folder + ": not a folder");
    // A second figure written to the same file would silently replace the first.
    std::vector<std::string> shared = sharedTargets(folder, parsed.operands);
    for (const std::string& line : shared)
        fail(line);
    if (!shared.empty())
        return 1;
    LoadRequest request;
    std::string error;
    if (!chooseLoader(parsed, &request, &error))
        return fail(error);
    ModuleSession session;
    if (!session.open(request.modulePath, &error))
        return fail(error);
    // The module's messages become part of one line per file, named after it.
    standin::setEchoErrors(false);
    // A progress line is for a person watching: it is rewritten in place, so only on a terminal.
    bool progress = isatty(STDERR_FILENO) != 0;
    const char* clear = "\r                                                  \r";
    size_t total = parsed.operands.size(), failures = 0;
    for (size_t i = 0; i < total; ++i) {
        request.path = parsed.operands[i];
        request.loader = loaderFor(parsed, request.path);
        // Nothing is shown, so the cheapest drawing will do.
        request.style = kSegmentLines;
        if (progress)
            std::fprintf(stderr, "%sfighost: converting %zu of %zu", clear, i + 1, total);
        std::string reason = convertInto(&session, request, folder);
        if (reason.empty())
            continue;
        ++failures;
        std::string line = reason == kHoldsNoFigure
                               ? noFigureMessage(openedPath(request))
                               : "cannot convert " + request.path + ": " + reason;
        std::fprintf(stderr, "%sfighost: %s\n", progress ? clear : "", line.c_str());
    }
    if (progress)
        std::fprintf(stderr, "%sfighost: converted %zu of %zu\n", clear, total - failures, total);
    return failures == 0 ? 0 : 1;
}

int runConvert(const ParsedArguments& parsed) {
    if (parsed.options.count("directory"))
        return runBatchConvert(parsed);
    if (parsed.operands.size() != 2)
        return usageFailure("expected IN and OUT", "convert");
    if (parsed.operands[1].empty())
        return fail("no output given: OUT is empty");
    LoadRequest request;
    request.path = parsed.operands[0];
    std::string error;
    if (!chooseLoader(parsed, &request, &error))
        return fail(error);
    ModuleSession session;
    int handle = loadFigure(&session, request);
    if (handle == host::kNoObject)
        return 1;
    // The figure saves itself; the module shows why when it cannot.
    return session.figure(handle)->save(parsed.operands[1].c_str()) == 1 ? 0 : 1;
}

// Runs a command of the Qt library, loading it first.
int runInQt(const char* command, const ParsedArguments& parsed) {
    const std::string path = libraryPath("libfighost_qt.so", FIGHOST_QT_LIBRARY);
    std::string reason;
    platform::LibraryHandle library = platform::loadLibrary(path, &reason);
    if (library == nullptr)
        return fail("cannot load fighost's Qt library " + path + ": " + reason);
    auto entry = platform::findFunction<QtCommandEntry>(library, kQtCommandEntry);
    if (entry == nullptr)
        return fail("fighost's Qt library " + path + " lacks " + kQtCommandEntry);
    // The library stays loaded: Qt's own clean-up runs at exit.
    return entry(command, &parsed);
}

int runRender(const ParsedArguments& parsed) {
    return runInQt("render", parsed);
}
int runFrames(const ParsedArguments& parsed) {
    return runInQt("frames", parsed);
}
int runOpen(const ParsedArguments& parsed) {
    return runInQt("open", parsed);
}

const Command kCommands[] = {
    {"info", "info FILE", "the object's name, limb tree, channels and frames", kInfoUsage,
     infoOptions, runInfo},
    {"render", "render FILE", "a picture (.png, .svg) or the geometry (.obj) of the figure",
     kRenderUsage, renderOptions, runRender},
    {"frames", "frames FILE", "one PNG picture per frame of the figure's motion", kFramesUsage,
     framesOptions, runFrames},
    {"convert", "convert IN OUT", "save the figure as a .fig file (IN... -d DIR: many)",
     kConvertUsage, convertOptions, runConvert},
    {"open", "open [FILE...]", "a window with the scene, the module's commands and dialogs",
     kOpenUsage, openOptions, runOpen},
};

std::string mainUsage() {
    std::string text =
        "Usage: fighost COMMAND [OPTION]... FILE...\n"
        "Loads stick figures with the figure module, as the modelling host does, and shows them.\n"
        "\n"
        "Commands:\n";
    for (const Command& command : kCommands) {
        char line[160];
        std::snprintf(line, sizeof line, "  %-16s %s\n", command.synopsis, command.summary);
        text += line;
    }
    text += "\n'fighost COMMAND --help' describes a command and its options.\n";
    return text;
}

}  // namespace

int runFighost(int argc, char** argv) {
    guardStandardDescriptors();
    if (argc < 2)
        return fail("no command given (see 'fighost --help')");
    std::string word = argv[1];
    if (word == "--help" || word == "-h" || word == "help") {
        std::string text = mainUsage();
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::string error;
        return flushStandardOutput(&error) ? 0 : fail(error);
    }
    for (const Command& command : kCommands) {
        if (word != command.name)
            continue;
        ParsedArguments parsed;
        std::string error;
        if (!parseArguments(std::vector<std::string>(argv + 2, argv + argc), command.options(),
                            &parsed, &error))
            return usageFailure(error, command.name);
        if (parsed.help) {
            std::fputs(command.usage, stdout);
            std::fputs(kLoaderOptionsHelp, stdout);
            return flushStandardOutput(&error) ? 0 : fail(error);
        }
        return command.run(parsed);
    }
    return fail("unknown command '" + word + "' (see 'fighost --help')");
}

}  // namespace fighost
